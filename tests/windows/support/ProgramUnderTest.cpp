#include "support/ProgramUnderTest.h"

#include "app/StringCatalogue.h"

#include <fstream>
#include <thread>
#include <vector>

namespace quorvane::testing {

namespace fs = std::filesystem;

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

fs::path buildFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

ScratchFolder::ScratchFolder()
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    path_ = fs::path(temp) / (L"quorvane-test-" + std::to_wstring(GetCurrentProcessId()) + L"-"
                              + std::to_wstring(++counter));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void writeLanguageFile(const fs::path& file, const std::wstring& section, const std::wstring& lines)
{
    fs::create_directories(file.parent_path());
    const std::wstring text = L"[" + section + L"]\r\n" + lines;
    std::ofstream out(file, std::ios::binary);
    out.put(static_cast<char>(0xFF));
    out.put(static_cast<char>(0xFE));
    for (wchar_t c : text) {
        out.put(static_cast<char>(c & 0xFF));
        out.put(static_cast<char>((c >> 8) & 0xFF));
    }
}

std::wstring languageText(const fs::path& file, const std::wstring& section, int id)
{
    std::vector<wchar_t> buffer(100000, L'\0');
    const DWORD copied = GetPrivateProfileSectionW(section.c_str(), buffer.data(),
                                                   static_cast<DWORD>(buffer.size()), file.c_str());
    StringCatalogue catalogue;
    catalogue.fillFromSection(std::wstring_view(buffer.data(), copied));
    return catalogue.text(id);
}

fs::path copyProgram(const fs::path& folder)
{
    const fs::path target = folder / L"QuorvaneSandbox.exe";
    fs::copy_file(buildFolder() / L"QuorvaneSandbox.exe", target, fs::copy_options::overwrite_existing);
    return target;
}

ProgramUnderTest::ProgramUnderTest(const fs::path& program, const std::wstring& arguments)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       program.parent_path().c_str(), &startup, &info)) {
        process_.reset(info.hProcess);
        CloseHandle(info.hThread);
        processId_ = info.dwProcessId;
    }
}

ProgramUnderTest::~ProgramUnderTest()
{
    if (process_ && exitCode() == STILL_ACTIVE) {
        TerminateProcess(process_.get(), 99);
        WaitForSingleObject(process_.get(), 5000);
    }
}

namespace {

struct WindowSearch {
    DWORD processId;
    std::function<bool(HWND)> accept;
    HWND found = nullptr;
    int count = 0;
};

BOOL CALLBACK collectTopLevel(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !search->accept(window))
        return TRUE;
    ++search->count;
    if (!search->found)
        search->found = window;
    return TRUE;
}

std::wstring windowText(HWND window)
{
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

std::wstring className(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

bool isDialogCalledQuorvane(HWND window)
{
    return IsWindowVisible(window) && className(window) == L"#32770" && windowText(window) == L"Quorvane";
}

// Message boxes have a static text with this id; the shell has no controls of its own.
constexpr int messageBoxTextId = 0xFFFF;

} // namespace

HWND ProgramUnderTest::waitForShell(std::chrono::milliseconds timeout)
{
    HWND shell = nullptr;
    waitUntil([&] {
        WindowSearch search{processId_, [](HWND w) {
                                return isDialogCalledQuorvane(w) && !GetDlgItem(w, messageBoxTextId)
                                       && GetWindow(w, GW_OWNER) == nullptr;
                            }};
        EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
        shell = search.found;
        return shell != nullptr || exitCode() != STILL_ACTIVE;
    }, timeout);
    return shell;
}

MessageBoxInfo ProgramUnderTest::waitForMessageBox(std::chrono::milliseconds timeout)
{
    MessageBoxInfo info;
    waitUntil([&] {
        WindowSearch search{processId_,
                            [](HWND w) { return isDialogCalledQuorvane(w) && GetDlgItem(w, messageBoxTextId); }};
        EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
        info.window = search.found;
        return info.window != nullptr || exitCode() != STILL_ACTIVE;
    }, timeout);
    if (info.window) {
        info.caption = windowText(info.window);
        info.text = windowText(GetDlgItem(info.window, messageBoxTextId));
        info.owner = GetWindow(info.window, GW_OWNER);
    }
    return info;
}

void ProgramUnderTest::pressButton(HWND box, int buttonId)
{
    SendMessageW(GetDlgItem(box, buttonId), BM_CLICK, 0, 0);
}

bool ProgramUnderTest::waitForExit(std::chrono::milliseconds timeout)
{
    return process_ && WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

DWORD ProgramUnderTest::exitCode() const
{
    DWORD code = 0;
    if (!process_ || !GetExitCodeProcess(process_.get(), &code))
        return 0xFFFFFFFF;
    return code;
}

int ProgramUnderTest::visibleTopLevelWindows() const
{
    WindowSearch search{processId_, [](HWND w) { return IsWindowVisible(w) != FALSE; }};
    EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.count;
}

HWND visiblePageWindow(HWND shell)
{
    for (HWND child = GetWindow(shell, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child))
            return child;
    }
    return nullptr;
}

void clickControl(HWND control, std::optional<POINT> at)
{
    RECT client{};
    GetClientRect(control, &client);
    POINT point = at.value_or(POINT{client.right / 2, client.bottom / 2});
    POINT screen = point;
    ClientToScreen(control, &screen);
    SetCursorPos(screen.x, screen.y);
    waitUntil([&] {
        POINT now{};
        return GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
    }, 2s);
    const LPARAM position = MAKELPARAM(point.x, point.y);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, position);
    PostMessageW(control, WM_LBUTTONUP, 0, position);
}

std::wstring controlText(HWND control)
{
    wchar_t text[1024] = {};
    SendMessageW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string visiblePage(HWND shell)
{
    struct Page {
        int controlId;
        const char* name;
    };
    static constexpr Page pages[] = {{1000, "main menu"},      {1003, "backup options"},
                                     {1011, "backup confirm"}, {1013, "restore select"},
                                     {1017, "restore confirm"}, {1021, "tools"}};
    std::string shown;
    int visible = 0;
    for (HWND child = GetWindow(shell, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        ++visible;
        for (const Page& page : pages) {
            if (GetDlgItem(child, page.controlId))
                shown = page.name;
        }
    }
    return visible > 1 ? "several" : shown;
}

} // namespace quorvane::testing
