// The program's figures, each against a floor measured in the same run on the
// same machine, as a table: medians of RUNS runs with their spread.
//   quorvane_bench.exe RUNS LIST_FILE IMAGE_FOLDER
// LIST_FILE is the default sandbox machine's image list (on its data partition),
// written here with 20 and then with 1,000 of the images in IMAGE_FOLDER (real
// WIM files); it is removed at the end. The programs lie beside this one.
#include "disk/DiskDevices.h"
#include "disk/DiskMap.h"
#include "app/PageMessages.h"
#include "restore/FileBytes.h"
#include "restore/WimHeader.h"
#include "support/ProgramUnderTest.h"
#include "tests/support/TestFiles.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace quorvane;
using namespace quorvane::testing;
namespace fs = std::filesystem;

namespace {

struct Figure {
    double median = 0;
    double low = 0;
    double high = 0;
};

double now()
{
    LARGE_INTEGER frequency{}, counter{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The median of `runs` timings of `action` in milliseconds, with the fastest
// and slowest; an action that answers a time of its own (from a program it
// watched) gives that instead.
Figure measure(int runs, const std::function<double()>& action)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run)
        times.push_back(action());
    std::ranges::sort(times);
    return {times[times.size() / 2], times.front(), times.back()};
}

Figure timed(int runs, const std::function<void()>& action)
{
    return measure(runs, [&] {
        const double start = now();
        action();
        return now() - start;
    });
}

void row(const char* name, const Figure& figure, const Figure* floor, const char* target)
{
    char ratio[32] = "-";
    char floorText[48] = "-";
    if (floor) {
        std::snprintf(ratio, sizeof ratio, "%.2f x", figure.median / floor->median);
        std::snprintf(floorText, sizeof floorText, "%.2f (%.2f-%.2f)", floor->median, floor->low, floor->high);
    }
    std::printf("| %-44s | %9.2f (%.2f-%.2f) | %-22s | %-8s | %-7s |\n", name, figure.median, figure.low, figure.high,
                floorText, ratio, target);
    std::fflush(stdout);
}

struct VisibleWindow {
    DWORD processId;
    HWND found = nullptr;
};

BOOL CALLBACK findVisible(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<VisibleWindow*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

// From the process's start to its first window shown and painted (the
// program waits for input only once every paint is done).
double startToPaintedWindow(const fs::path& program)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    const double start = now();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        program.parent_path().c_str(), &startup, &info))
        return -1;
    const UniqueHandle process(info.hProcess);
    const UniqueHandle thread(info.hThread);
    VisibleWindow search{info.dwProcessId};
    while (!search.found && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) {
        WaitForInputIdle(process.get(), 10000);
        EnumWindows(findVisible, reinterpret_cast<LPARAM>(&search));
    }
    const double shown = now() - start;
    TerminateProcess(process.get(), 0);
    WaitForSingleObject(process.get(), 5000);
    return search.found ? shown : -1;
}

std::size_t peakWorkingSet(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    return GetProcessMemoryInfo(process, &counters, sizeof(counters)) ? counters.PeakWorkingSetSize : 0;
}

// The disk map's floor: what a refresh cannot do without, one volume query per
// letter that exists and one layout per disk that exists.
void diskMapFloor(DiskDevices& devices, DWORD letters, const std::vector<int>& disks)
{
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        if (letters & (1u << (letter - 'a')))
        {
            devices.volumePartitionInformation(letter);
            devices.volumeDeviceNumber(letter);
        }
    }
    for (int disk : disks)
        devices.driveLayout(disk);
}

// What the restore page must do fresh for each listed image, bare.
void imageFloor(const std::wstring& path)
{
    WIN32_FIND_DATAW found{};
    UniqueFind(FindFirstFileW(path.c_str(), &found));
    FileBytes file(path);
    const auto header = readWimHeader(file);
    if (header) {
        std::vector<std::uint8_t> xml(static_cast<std::size_t>(header->xmlData.storedSize));
        file.read(header->xmlData.offset, xml);
    }
}

void writeImageList(const fs::path& listFile, const std::vector<std::wstring>& images)
{
    std::wstring text = L"[BackupImage]\r\nTotalImageCount=" + std::to_wstring(images.size()) + L"\r\n";
    for (std::size_t i = 0; i < images.size(); ++i)
        text += L"[Image" + std::to_wstring(i) + L"]\r\nPath=" + images[i] + L"\r\nPartID=3\r\nDiskID=0\r\n";
    writeBytes(listFile, utf16File(text));
}

// The program's pages in the order of their messages.
const PageMessage pages[] = {UM_SHOW_MAIN_MENU, UM_SHOW_BACKUP_OPTIONS, UM_SHOW_BACKUP_CONFIRM,
                             UM_SHOW_RESTORE_SELECT, UM_SHOW_RESTORE_CONFIRM, UM_SHOW_TOOLS};
const char* const pageNames[] = {"main menu", "backup options", "backup confirm",
                                 "restore select", "restore confirm", "tools"};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: quorvane_bench RUNS LIST_FILE IMAGE_FOLDER\n");
        return 2;
    }
    const int runs = std::max(1, _wtoi(argv[1]));
    const fs::path listFile = argv[2];
    const fs::path imageFolder = argv[3];
    const fs::path program = buildFolder() / L"QuorvaneSandbox.exe";
    const fs::path minimal = buildFolder() / L"quorvane_minimal_dialog.exe";

    std::printf("| %-44s | %-22s | %-22s | %-8s | %-7s |\n", "figure (ms: median (fastest-slowest))", "Quorvane",
                "floor", "ratio", "target");
    std::printf("|%s|%s|%s|%s|%s|\n", std::string(46, '-').c_str(), std::string(24, '-').c_str(),
                std::string(24, '-').c_str(), std::string(10, '-').c_str(), std::string(9, '-').c_str());

    // The pointer rests in a corner of the screen, outside both windows: a
    // main menu that opens under the pointer also shows the description of the
    // tile below it, which is the answer to the mouse and not start-up.
    // Wine moves the display's pointer only for a move that changes the place
    // it has noted, and it notes (0, 0) before any move: hence two moves.
    SetCursorPos(1, 1);
    SetCursorPos(0, 0);
    const Figure startFloor = measure(runs, [&] { return startToPaintedWindow(minimal); });
    const Figure start = measure(runs, [&] { return startToPaintedWindow(program); });
    row("start to the first painted main window", start, &startFloor, "1.25 x");

    DiskDevices& devices = machineDiskDevices();
    std::vector<int> disks;
    for (int disk = 0; disk < 10; ++disk) {
        if (devices.driveLayout(disk))
            disks.push_back(disk);
    }
    // The machine's own drives: Wine's list of drives also holds its z: and
    // does not see a drive added while its server runs.
    const DWORD letters = devices.presentDriveLetters();
    const int mapRuns = runs * 20;
    const Figure mapFloor = timed(mapRuns, [&] { diskMapFloor(devices, letters, disks); });
    const Figure map = timed(mapRuns, [] {
        DiskMap fresh;
        fresh.refresh();
    });
    row("DiskMap::refresh, default sandbox machine", map, &mapFloor, "1.5 x");

    std::vector<std::wstring> images;
    for (const auto& entry : fs::directory_iterator(imageFolder))
        images.push_back(L"D:\\" + fs::relative(entry.path(), listFile.parent_path()).wstring());
    std::ranges::sort(images);
    const fs::path dataRoot = listFile.parent_path();

    ProgramUnderTest running(program);
    HWND shell = running.waitForShell();
    if (!shell) {
        std::fprintf(stderr, "bench: the program's window did not show\n");
        return 1;
    }
    for (std::size_t count : {std::size_t{20}, std::size_t{1000}}) {
        const std::vector<std::wstring> listed(images.begin(), images.begin() + static_cast<std::ptrdiff_t>(
                                                                                    std::min(count, images.size())));
        writeImageList(listFile, listed);
        const Figure floor = timed(runs, [&] {
            for (const std::wstring& image : listed)
                imageFloor((dataRoot / image.substr(3)).wstring());
            FirstSector sector{};
            devices.readFirstSectorOfDiskZero(sector);
            diskMapFloor(devices, letters, disks);
            diskMapFloor(devices, letters, disks);
        });
        // From a program that has painted all it had to, to the end of the
        // paint that the page's showing asked for, its list's included.
        const Figure shown = measure(runs, [&] {
            RedrawWindow(shell, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            const double start = now();
            SendMessageW(shell, UM_SHOW_RESTORE_SELECT, 0, 0);
            RedrawWindow(visiblePageWindow(shell), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            return now() - start;
        });
        SendMessageW(shell, UM_SHOW_MAIN_MENU, 0, 0);
        const std::string name = "restore page shown and painted, " + std::to_string(listed.size()) + " images";
        row(name.c_str(), shown, &floor, count == 20 ? "2 x" : "3 x");
    }

    for (std::size_t page = 0; page < std::size(pages); ++page) {
        SendMessageW(shell, pages[page], 0, 0);
        HWND window = visiblePageWindow(shell);
        // The page's own paint: its controls are windows of their own, which
        // would otherwise repaint in the program's time, on the bench's core,
        // in some runs and not in others.
        const Figure paint = timed(runs * 4, [&] {
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
        });
        const std::string name = std::string("one WM_PAINT: ") + pageNames[page];
        row(name.c_str(), paint, nullptr, "5 ms");
    }

    const UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, running.processId()));
    ProgramUnderTest minimalRunning(minimal);
    minimalRunning.waitForWindow([](HWND window) { return IsWindowVisible(window) != FALSE; });
    const UniqueHandle minimalProcess(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, minimalRunning.processId()));
    const double megabyte = 1024.0 * 1024.0;
    const Figure memory{peakWorkingSet(process.get()) / megabyte, 0, 0};
    const Figure memoryFloor{peakWorkingSet(minimalProcess.get()) / megabyte, 0, 0};
    row("peak working set after every page (MB)", memory, &memoryFloor, "2 x");

    fs::remove(listFile);
    return 0;
}
