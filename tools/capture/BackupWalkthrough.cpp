// Walks one backup through the running program's real windows, as a user
// would: main menu, Backup, Next, Start. Saves a picture of each page it
// passes into OUT_FOLDER (main-menu.bmp, backup-options.bmp,
// backup-confirm.bmp) and waits until the program has ended.
//   quorvane_walkthrough.exe OUT_FOLDER
#include "WindowPicture.h"
#include "app/ResourceIds.h"
#include "support/ProgramUnderTest.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>

using namespace quorvane::testing;
namespace capture = quorvane::capture;

namespace {

bool picture(HWND shell, const std::filesystem::path& folder, const char* name)
{
    capture::settle(shell);
    const std::filesystem::path file = folder / (std::string(name) + ".bmp");
    const bool saved = capture::saveWindow(shell, file.wstring());
    std::printf("%s %s\n", saved ? "picture of" : "FAILED to save", name);
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

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: quorvane_walkthrough OUT_FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    HWND shell = capture::waitForProgramWindow();
    if (!shell) {
        std::fprintf(stderr, "no Quorvane window appeared\n");
        return 1;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(shell, &processId);
    quorvane::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));

    // The pointer on its way to Backup, as a user's would be.
    RECT backup{};
    GetWindowRect(GetDlgItem(visiblePageWindow(shell), IDC_MENU_BACKUP), &backup);
    SetCursorPos((backup.left + backup.right) / 2, (backup.top + backup.bottom) / 2);
    const bool walked = picture(shell, folder, "main-menu") && press(shell, IDC_MENU_BACKUP, "backup options")
                        && picture(shell, folder, "backup-options") && press(shell, IDC_BACKUP_NEXT, "backup confirm")
                        && picture(shell, folder, "backup-confirm") && press(shell, IDC_BACKUP_CONFIRM_START, nullptr);
    if (!walked)
        return 1;
    std::printf("pressed Start\n");
    if (!process || WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "the program did not end after Start\n");
        return 1;
    }
    return 0;
}
