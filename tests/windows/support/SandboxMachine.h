// A sandbox machine in a scratch folder, for tests that run a program on it:
// the built programs, the stand-in diskpart, a language file, disk 0 as a
// sparse image partitioned by sfdisk (recovery, system with the boot flag,
// data), and the system partition lettered p.
#pragma once

#include "support/ProgramUnderTest.h"
#include "tests/support/TestFiles.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

namespace quorvane::testing {

// Texts of the machine's language file that the tests look for; every other
// id n has the text "text n".
inline constexpr wchar_t factoryName[] = L"Factory image";
inline constexpr wchar_t factoryPath[] = L"Recovery partition";
inline constexpr wchar_t cannotHandOver[] = L"The job could not be handed over.";
inline constexpr wchar_t imageOnOtherDisk[] = L"The image lies on another disk.";
// Disk 0 as sfdisk partitions it: recovery, system with the boot flag, data.
inline constexpr char usualLayout[] = "'size=20G, type=12' 'size=100G, type=7, bootable' 'type=7'";
// The drive letter of the sandbox's system partition, a folder of the test.
inline constexpr char systemLetter = 'p';

// The path as the machine that runs Wine sees it.
inline std::string unixPath(const std::filesystem::path& path)
{
    using UnixFileName = char*(CDECL*)(const wchar_t*);
    static const auto convert = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = convert ? convert(path.c_str()) : nullptr;
    if (!name)
        return {};
    const std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// A real image made by make-test-files.sh.
inline std::filesystem::path testImage(const wchar_t* name)
{
    return buildFolder().parent_path() / L"test-files/images" / name;
}

// An image list of this count with a section for each (number, path, partition, disk).
inline void writeImageList(const std::filesystem::path& file, int count,
                           const std::vector<std::tuple<int, std::wstring, int, int>>& images)
{
    std::wstring text = L"[BackupImage]\r\nTotalImageCount=" + std::to_wstring(count) + L"\r\n";
    for (const auto& [number, path, partId, diskId] : images)
        text += L"[Image" + std::to_wstring(number) + L"]\r\nPath=" + path + L"\r\nPartID=" + std::to_wstring(partId)
                + L"\r\nDiskID=" + std::to_wstring(diskId) + L"\r\n";
    writeBytes(file, utf16File(text));
}

inline std::string fileText(const std::filesystem::path& file)
{
    const Bytes bytes = fileBytes(file);
    return {bytes.begin(), bytes.end()};
}

// Runs a shell command on the machine that runs Wine; true when it exited with
// status 0. Wine starts Unix programs but does not report their exit status,
// so the command writes it into a file.
inline bool runUnixCommand(const std::filesystem::path& workFolder, const std::string& command, std::string* output = nullptr)
{
    static int counter = 0;
    const std::string name = "command" + std::to_string(++counter);
    const std::filesystem::path script = workFolder / (name + ".sh"), out = workFolder / (name + ".out");
    const std::string status = unixPath(workFolder / (name + ".status"));
    std::ofstream(script, std::ios::binary) << "export PATH=$PATH:/usr/sbin:/sbin\n( " << command << " ) > '"
                                            << unixPath(out) << "' 2>&1\necho $? > '" << status << ".part' && mv '"
                                            << status << ".part' '" << status << "'\n";
    std::wstring commandLine = L"Z:\\bin\\sh " + std::filesystem::path(unixPath(script)).wstring();
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return false;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    if (!waitUntil([&] { return std::filesystem::exists(workFolder / (name + ".status")); }, 60s))
        return false;
    if (output)
        *output = fileText(out);
    return fileText(workFolder / (name + ".status")) == "0\n";
}

class SandboxMachine {
public:
    // `layout`: disk 0's partitions as sfdisk script lines, partition 2
    // bootable; `programFolder`: a folder of the scratch folder that holds the
    // programs, when not the scratch folder itself.
    explicit SandboxMachine(const std::string& layout = usualLayout, const std::wstring& programFolder = {})
        : folder_(programFolder.empty() ? scratch_.path() : scratch_.path() / programFolder)
    {
        std::filesystem::create_directories(sandbox());
        std::filesystem::create_directories(systemFolder());
        std::filesystem::copy_file(buildFolder() / L"quorvane_job_runner.exe", runner());
        std::filesystem::copy_file(buildFolder() / L"QuorvaneSandbox.exe", program());
        std::filesystem::copy_file(buildFolder() / L"Sandbox/diskpart.exe", sandbox() / L"diskpart.exe");
        writeLanguageFile(folder() / L"Lang/Quorvane/409.ini", L"409",
                          languageLines({{59, factoryName}, {60, factoryPath}, {93, cannotHandOver}, {95, imageOnOtherDisk}}));
        ready_ = addDisk(0, "200G", layout);
        writeMachine("[Volumes]\r\np=0,2\r\n");
        ready_ = ready_ && addDrive(systemLetter, systemFolder()) && bootablePartitions() == "2";
    }
    ~SandboxMachine()
    {
        for (const std::string& link : driveLinks_)
            runUnixCommand(root(), "rm -f '" + link + "'");
    }

    // Makes `letter` a drive of the Wine prefix that shows `driveFolder`
    // (made when missing); machine.ini's [Volumes] says which partition it is.
    bool addDrive(char letter, const std::filesystem::path& driveFolder)
    {
        const char* prefix = std::getenv("WINEPREFIX");
        if (!prefix)
            return false;
        std::filesystem::create_directories(driveFolder);
        driveLinks_.push_back(std::string(prefix) + "/dosdevices/" + letter + ":");
        return runUnixCommand(root(), "ln -sfn '" + unixPath(driveFolder) + "' '" + driveLinks_.back() + "'");
    }
    SandboxMachine(const SandboxMachine&) = delete;
    SandboxMachine& operator=(const SandboxMachine&) = delete;

    // Everything was made: the tests assert this first.
    bool ready() const { return ready_; }

    // The programs' folder.
    const std::filesystem::path& folder() const { return folder_; }
    // The scratch folder, whose name is plain ASCII: Unix commands run there.
    const std::filesystem::path& root() const { return scratch_.path(); }
    std::filesystem::path sandbox() const { return folder() / L"Sandbox"; }
    std::filesystem::path runner() const { return folder() / L"quorvane_job_runner.exe"; }
    std::filesystem::path program() const { return folder() / L"QuorvaneSandbox.exe"; }
    std::filesystem::path systemFolder() const { return folder() / L"system"; }
    std::filesystem::path jobFile() const { return systemFolder() / L"Backup_Restore_Config.ini"; }
    std::filesystem::path leftScript() const { return folder() / L"DiskpartScript.txt"; }
    std::string eventsLog() const { return fileText(sandbox() / L"events.log"); }

    // Disk `number` (the constructor makes disk 0) of `size` (as truncate takes
    // it) with these sfdisk lines; false when it could not be made.
    bool addDisk(int number, const std::string& size, const std::string& layout)
    {
        const std::string image = unixPath(sandbox() / (L"disk" + std::to_wstring(number) + L".img"));
        disks_.push_back(number);
        return runUnixCommand(root(), "truncate -s " + size + " '" + image + "' && printf '%s\\n' " + layout
                                            + " | sfdisk --quiet '" + image + "'");
    }

    // machine.ini: the disks and these further sections.
    void writeMachine(const std::string& sections) const
    {
        std::ofstream machine(sandbox() / L"machine.ini", std::ios::binary);
        machine << "[Disks]\r\n";
        for (int number : disks_)
            machine << number << "=disk" << number << ".img\r\n";
        machine << sections;
    }

    // Runs `sfdisk <options> <disk 0's image> <partitions>`.
    bool sfdiskOnDiskZero(const std::string& options, const std::string& partitions = {}, std::string* output = nullptr) const
    {
        return runUnixCommand(root(), "sfdisk " + options + " '" + unixPath(sandbox() / L"disk0.img") + "' " + partitions,
                              output);
    }

    // The numbers of disk 0's partitions that sfdisk reports bootable, e.g. "1".
    std::string bootablePartitions() const
    {
        std::string numbers;
        sfdiskOnDiskZero("--dump", "| sed -n 's/^.*img\\([0-9]*\\) :.*bootable.*$/\\1/p' | tr -d '\\n'", &numbers);
        return numbers;
    }

private:
    ScratchFolder scratch_;
    std::filesystem::path folder_;
    std::vector<int> disks_;
    std::vector<std::string> driveLinks_;
    bool ready_ = false;
};

} // namespace quorvane::testing
