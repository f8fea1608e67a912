// Walks one backup or one restore through the running program's real windows,
// as a user would, and saves a picture of each page it passes:
//   quorvane_walkthrough.exe backup  OUT_FOLDER
//       main menu, Backup, Next, Start: main-menu.bmp, backup-options.bmp,
//       backup-confirm.bmp
//   quorvane_walkthrough.exe restore OUT_FOLDER FILE_NAME
//       main menu, Restore, the row of FILE_NAME clicked, Next, Start:
//       restore-select.bmp (the clicked image described), restore-confirm.bmp
// It prints what the restore list shows and waits until the program has ended.
#include "WindowPicture.h"
#include "app/ResourceIds.h"
#include "support/ListView.h"
#include "support/ProgramUnderTest.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>

using namespace quorvane::testing;
namespace capture = quorvane::capture;

namespace {

std::string utf8(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

bool picture(HWND shell, const std::filesystem::path& folder, const char* name)
{
    capture::settle(shell);
    const std::filesystem::path file = folder / (std::string(name) + ".bmp");
    const bool saved = capture::saveWindow(shell, file.wstring());
    if (!saved)
        std::fprintf(stderr, "could not save the picture %s\n", name);
    return saved;
}

// Clicks the visible page's button and waits for the page it leads to.
bool press(HWND shell, int buttonId, const char* nextPage)
{
    HWND button = GetDlgItem(visiblePageWindow(shell), buttonId);
    if (!button) {
        std::fprintf(stderr, "button %d is not on the page '%s'\n", buttonId, visiblePage(shell).c_str());
        return false;
    }
    clickButton(button);
    if (!nextPage)
        return true;
    if (!waitUntil([&] { return visiblePage(shell) == nextPage; })) {
        std::fprintf(stderr, "the page '%s' did not show (showing '%s')\n", nextPage, visiblePage(shell).c_str());
        return false;
    }
    return true;
}

bool walkBackup(HWND shell, const std::filesystem::path& folder)
{
    // The pointer on its way to Backup, as a user's would be.
    RECT backup{};
    GetWindowRect(GetDlgItem(visiblePageWindow(shell), IDC_MENU_BACKUP), &backup);
    SetCursorPos((backup.left + backup.right) / 2, (backup.top + backup.bottom) / 2);
    return picture(shell, folder, "main-menu") && press(shell, IDC_MENU_BACKUP, "backup options")
           && picture(shell, folder, "backup-options") && press(shell, IDC_BACKUP_NEXT, "backup confirm")
           && picture(shell, folder, "backup-confirm") && press(shell, IDC_BACKUP_CONFIRM_START, nullptr);
}

bool walkRestore(HWND shell, const std::filesystem::path& folder, const std::wstring& fileName)
{
    if (!press(shell, IDC_MENU_RESTORE, "restore select"))
        return false;
    HWND list = GetDlgItem(visiblePageWindow(shell), IDC_RESTORE_LIST);
    int row = -1;
    waitUntil([&] {
        const auto rows = listRows(list);
        for (std::size_t i = 0; i < rows.size() && row < 0; ++i)
            row = rows[i][0] == fileName ? static_cast<int>(i) : -1;
        return row >= 0;
    });
    std::printf("The restore list shows:\n");
    for (const auto& cells : listRows(list))
        std::printf("  %-24s %-30s %s\n", utf8(cells[0]).c_str(), utf8(cells[1]).c_str(), utf8(cells[2]).c_str());
    if (row < 0) {
        std::fprintf(stderr, "no row of the list names %s\n", utf8(fileName).c_str());
        return false;
    }
    SetForegroundWindow(shell);
    if (!clickListRow(list, row)) {
        std::fprintf(stderr, "the click on row %d was not taken\n", row);
        return false;
    }
    return picture(shell, folder, "restore-select") && press(shell, IDC_RESTORE_NEXT, "restore confirm")
           && picture(shell, folder, "restore-confirm") && press(shell, IDC_RESTORE_CONFIRM_START, nullptr);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring mode = argc > 2 ? argv[1] : L"";
    if ((mode != L"backup" || argc != 3) && (mode != L"restore" || argc != 4)) {
        std::fprintf(stderr, "usage: quorvane_walkthrough backup OUT_FOLDER | restore OUT_FOLDER FILE_NAME\n");
        return 2;
    }
    const std::filesystem::path folder = argv[2];
    HWND shell = capture::waitForProgramWindow();
    if (!shell) {
        std::fprintf(stderr, "no Quorvane window appeared\n");
        return 1;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(shell, &processId);
    quorvane::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));

    const bool walked = mode == L"backup" ? walkBackup(shell, folder) : walkRestore(shell, folder, argv[3]);
    if (!walked)
        return 1;
    if (!process || WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "the program did not end after Start\n");
        return 1;
    }
    return 0;
}
