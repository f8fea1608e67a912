// A sandbox machine in a scratch folder, for tests that run a program on it:
// the built programs, the stand-in diskpart, a language file, disk 0 as a
// sparse image partitioned by sfdisk (recovery, system with the boot flag,
// data), and the system partition lettered p.
#pragma once

#include "support/ProgramUnderTest.h"
#include "tests/support/TestFiles.h"

#include <cstdint>
#include <string>
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
std::string unixPath(const std::filesystem::path& path);
std::string fileText(const std::filesystem::path& file);

// Runs a shell command on the machine that runs Wine; true when it exited with
// status 0. Wine starts Unix programs but does not report their exit status,
// so the command writes it into a file.
bool runUnixCommand(const std::filesystem::path& workFolder, const std::string& command,
                    std::string* output = nullptr);

class SandboxMachine {
public:
    // `layout`: disk 0's partitions as sfdisk script lines; `bootable`: the
    // partition numbers sfdisk must then report bootable.
    explicit SandboxMachine(const std::string& layout = usualLayout, const std::string& bootable = "2");
    ~SandboxMachine();
    SandboxMachine(const SandboxMachine&) = delete;
    SandboxMachine& operator=(const SandboxMachine&) = delete;

    // Everything was made: the tests assert this first.
    bool ready() const { return ready_; }

    const std::filesystem::path& folder() const { return scratch_.path(); }
    std::filesystem::path sandbox() const { return folder() / L"Sandbox"; }
    std::filesystem::path runner() const { return folder() / L"quorvane_job_runner.exe"; }
    std::filesystem::path program() const { return folder() / L"QuorvaneSandbox.exe"; }
    std::filesystem::path systemFolder() const { return folder() / L"system"; }
    std::filesystem::path jobFile() const { return systemFolder() / L"Backup_Restore_Config.ini"; }
    std::filesystem::path leftScript() const { return folder() / L"DiskpartScript.txt"; }
    std::string eventsLog() const { return fileText(sandbox() / L"events.log"); }

    // A disk (0..9; the constructor makes disk 0) of `size` (as truncate takes it) with these
    // sfdisk lines; false when it could not be made.
    bool addDisk(int number, const std::string& size, const std::string& layout);

    // machine.ini: the disks and these further sections.
    void writeMachine(const std::string& sections) const;

    // The numbers of disk 0's partitions that sfdisk reports bootable, e.g. "1".
    std::string bootablePartitions() const;

private:
    ScratchFolder scratch_;
    std::vector<int> disks_;
    std::string driveLink_;
    bool ready_ = false;
};

} // namespace quorvane::testing
