#include "support/ListView.h"

#include "platform/Win32Handles.h"
#include "support/ProgramUnderTest.h"

#include <commctrl.h>

namespace quorvane::testing {

namespace {

// A block of memory in another process, for messages that take pointers.
class RemoteMemory {
public:
    RemoteMemory(HWND window, std::size_t size)
    {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        process_.reset(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
        if (process_)
            address_ = VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteMemory()
    {
        if (address_)
            VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    bool ready() const { return address_ != nullptr; }
    LPARAM at(std::size_t offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset); }
    bool write(const void* data, std::size_t size, std::size_t offset = 0) const
    {
        return WriteProcessMemory(process_.get(), reinterpret_cast<void*>(at(offset)), data, size, nullptr);
    }
    bool read(void* data, std::size_t size, std::size_t offset = 0) const
    {
        return ReadProcessMemory(process_.get(), reinterpret_cast<void*>(at(offset)), data, size, nullptr);
    }

private:
    UniqueHandle process_;
    void* address_ = nullptr;
};

constexpr int cellCharacters = 1024;

// Where row `row` lies on the screen; empty when the list does not say.
RECT listRowRect(HWND list, int row)
{
    RemoteMemory remote(list, sizeof(RECT));
    RECT rect{LVIR_BOUNDS, 0, 0, 0};
    if (!remote.ready() || !remote.write(&rect, sizeof rect)
        || !SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), remote.at()) || !remote.read(&rect, sizeof rect))
        return {};
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

std::vector<std::vector<std::wstring>> listRows(HWND list, int columns)
{
    std::vector<std::vector<std::wstring>> rows;
    RemoteMemory remote(list, sizeof(LVITEMW) + cellCharacters * sizeof(wchar_t));
    if (!remote.ready())
        return rows;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::vector<std::wstring> cells;
        for (int column = 0; column < columns; ++column) {
            LVITEMW item{};
            item.iSubItem = column;
            item.cchTextMax = cellCharacters;
            item.pszText = reinterpret_cast<wchar_t*>(remote.at(sizeof(LVITEMW)));
            wchar_t text[cellCharacters] = {};
            remote.write(&item, sizeof item);
            remote.write(text, sizeof text, sizeof(LVITEMW));
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), remote.at());
            remote.read(text, sizeof text, sizeof(LVITEMW));
            text[cellCharacters - 1] = L'\0';
            cells.emplace_back(text);
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

bool clickListRow(HWND list, int row, bool rightButton)
{
    // A row below the list's bottom edge is scrolled into view first, as a user would.
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    const RECT rect = listRowRect(list, row);
    // The part of the row the list shows, clear of its scroll bars.
    RECT client{};
    GetClientRect(list, &client);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT shown{};
    if (!IntersectRect(&shown, &rect, &client))
        return false;
    // The click goes to the window in front: a window brought back after a
    // message box may take a moment to be that again.
    HWND window = GetAncestor(list, GA_ROOT);
    SetForegroundWindow(window);
    waitUntil([&] { return GetForegroundWindow() == window; }, 2s);
    // A point in the first column, where the row's own text is.
    const POINT point{shown.left + 20, (shown.top + shown.bottom) / 2};
    const auto taken = [&] { return SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0) == row; };
    clickAt(point, rightButton);
    if (waitUntil(taken, 3s))
        return true;
    // Clicked again, as a user would when the first click went unnoticed.
    clickAt(point, rightButton);
    return waitUntil(taken, 5s);
}

} // namespace quorvane::testing
