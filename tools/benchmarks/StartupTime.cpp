// Measures the time from process start to the first painted main window: the
// program is started, and the clock stops when its message loop first goes
// idle (every paint done) with its window visible. Prints the median of N runs.
//   quorvane_startup_time.exe PROGRAM.exe [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct TopWindow {
    DWORD processId;
    HWND found = nullptr;
};

BOOL CALLBACK findVisible(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<TopWindow*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

double runOnce(const std::wstring& program)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + program + L"\"";
    LARGE_INTEGER frequency{}, begin{}, end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return -1;
    TopWindow search{info.dwProcessId};
    for (;;) {
        WaitForInputIdle(info.hProcess, 10000);
        EnumWindows(findVisible, reinterpret_cast<LPARAM>(&search));
        if (search.found || WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0)
            break;
        Sleep(1);
    }
    QueryPerformanceCounter(&end);
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return search.found ? 1000.0 * (end.QuadPart - begin.QuadPart) / frequency.QuadPart : -1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    const int runs = argc > 2 ? _wtoi(argv[2]) : 5;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(runOnce(argv[1]));
    std::sort(times.begin(), times.end());
    std::printf("median %.1f ms over %d runs (min %.1f, max %.1f)\n", times[times.size() / 2], runs, times.front(),
                times.back());
    return 0;
}
