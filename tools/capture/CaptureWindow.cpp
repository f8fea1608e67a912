// Saves a picture of the running program's main window, and closes the program
// on request the way a user does (close, then Yes).
//   quorvane_capture.exe OUT.bmp [--close]
#include "WindowPicture.h"
#include "support/ProgramUnderTest.h"

#include <windows.h>

#include <cstdio>
#include <string>

using namespace quorvane::testing;

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: quorvane_capture OUT.bmp [--close]\n");
        return 2;
    }
    HWND shell = quorvane::capture::waitForProgramWindow();
    if (!shell) {
        std::fprintf(stderr, "no Quorvane window appeared\n");
        return 1;
    }
    quorvane::capture::settle(shell);
    if (!quorvane::capture::saveWindow(shell, argv[1]))
        return 1;
    if (argc > 2 && std::wstring(argv[2]) == L"--close") {
        PostMessageW(shell, WM_CLOSE, 0, 0);
        HWND box = nullptr;
        waitUntil([&] {
            box = FindWindowW(L"#32770", L"Quorvane");
            return box && GetDlgItem(box, 0xFFFF);
        }, 10s);
        if (box)
            SendMessageW(GetDlgItem(box, IDYES), BM_CLICK, 0, 0);
    }
    return 0;
}
