// Sandbox\diskpart.exe: run as "diskpart /s <script>", like the system's
// diskpart. The disks are the images that machine.ini beside it names.
#include "tools/diskpart/StandInDiskpart.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace quorvane::standin;

constexpr int highestDisk = 9;

fs::path ownFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

// [Disks] N=<image file>, relative to this folder.
ImageFileDisks machineDisks(const fs::path& folder)
{
    const std::wstring machine = (folder / L"machine.ini").wstring();
    ImageFileDisks disks;
    for (int disk = 0; disk <= highestDisk; ++disk) {
        wchar_t image[MAX_PATH] = {};
        GetPrivateProfileStringW(L"Disks", std::to_wstring(disk).c_str(), L"", image, MAX_PATH, machine.c_str());
        if (image[0] != L'\0')
            disks.add(disk, folder / image);
    }
    return disks;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    std::puts("\nDiskPart stand-in of the Quorvane sandbox machine\n");
    if (argc != 3 || _wcsicmp(argv[1], L"/s") != 0) {
        std::puts("Usage: diskpart /s <script>");
        return invalidArguments;
    }
    std::ifstream file(fs::path(argv[2]), std::ios::binary);
    if (!file) {
        std::puts("DiskPart was unable to open the script file.");
        return scriptUnreadable;
    }
    const std::string script{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ImageFileDisks disks = machineDisks(ownFolder());
    const ScriptRun run = runScript(script, disks);
    std::fputs(run.output.c_str(), stdout);
    return run.exitCode;
}
