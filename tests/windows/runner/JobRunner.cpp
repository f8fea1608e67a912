// quorvane_job_runner.exe: starts a job hand-off the way a confirm page's Start
// does, in a process of its own, so that tests can answer its message boxes
// and see how it ends. Its window stands in for the page.
//   quorvane_job_runner backup  <compression> <partitionId> <diskId> <imagePath> <description>
//   quorvane_job_runner restore <imageSize> <diskId> <partId> <imagePath> <imageName>
// When the hand-off returns (the restart did not happen) the window's title
// becomes "returned <imagePath>" and the program runs on until it is closed.
#include "app/RecoveryApp.h"
#include "job/JobHandOff.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

using namespace quorvane;

LRESULT CALLBACK runnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

// Runs the job the arguments name; answers its image path once the hand-off returns.
std::wstring runJob(HWND owner, const std::vector<std::wstring>& arguments)
{
    if (arguments.size() != 7)
        ExitProcess(2);
    const auto number = [&](std::size_t at) { return std::wcstoll(arguments[at].c_str(), nullptr, 10); };
    if (arguments[1] == L"backup") {
        const BackupJobParameters job{static_cast<std::int32_t>(number(2)), arguments[6], arguments[5],
                                      static_cast<std::uint32_t>(number(3)), static_cast<std::int32_t>(number(4))};
        startBackupJob(owner, job);
        return job.imagePath;
    }
    RestoreJobParameters job{number(2), static_cast<std::int32_t>(number(3)), static_cast<std::uint32_t>(number(4)),
                             arguments[5], arguments[6], {}};
    startRestoreJob(owner, job);
    return job.imagePath;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    int count = 0;
    wchar_t** raw = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::vector<std::wstring> arguments(raw, raw + count);
    LocalFree(raw);

    RecoveryApp app;
    if (!app.loadLanguage(L"409"))
        return 3;
    const WNDCLASSW windowClass{0, runnerProcedure, 0, 0, instance, nullptr, nullptr, nullptr, nullptr, L"QuorvaneJobRunner"};
    RegisterClassW(&windowClass);
    const HWND owner = CreateWindowW(L"QuorvaneJobRunner", L"job runner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320,
                                     200, nullptr, nullptr, instance, nullptr);
    const std::wstring imagePath = runJob(owner, arguments);
    SetWindowTextW(owner, (L"returned " + imagePath).c_str());
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
