// The job hand-off on a sandbox machine, run in quorvane_job_runner.exe as a
// confirm page's Start would run it: the job file's bytes on the system
// partition, the boot flag of disk 0 as sfdisk reads it from the disk image,
// the restart in Sandbox\events.log, and the messages with the exit codes.
// The wizard tests hand jobs over through the real pages: an ordinary or an
// NTFS recovery partition 1, and image paths of 259 and 260 characters.
#include "support/WizardDriver.h"

#include "job/JobContent.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;

// The runner's command lines: backup <compression> <partitionId> <diskId>
// <imagePath> <description>, restore <imageSize> <diskId> <partId> <imagePath>
// <imageName>.
constexpr wchar_t mondayBackup[] = L"backup 2 3 0 d:\\Monday.QVX Monday";
constexpr wchar_t factoryRestore[] = L"restore 0 0 1 \"Recovery partition\" \"Factory image\"";

// A hand-off that was refused: text 93, exit code 1, nothing switched or restarted.
void expectRefused(ProgramUnderTest& runner, const SandboxMachine& machine)
{
    ASSERT_TRUE(runner.waitForMessageBox(30s).window) << "no message; exit code " << runner.exitCode();
    ASSERT_NO_FATAL_FAILURE(answerMessage(runner, cannotHandOver, FindWindowW(L"QuorvaneJobRunner", nullptr)));
    ASSERT_TRUE(runner.waitForExit());
    EXPECT_EQ(runner.exitCode(), 1u);
    EXPECT_EQ(machine.bootablePartitions(), "2");
    EXPECT_EQ(machine.eventsLog(), "");
}

// Each job lands as exactly its own lines, whatever an earlier job left there;
// an image on another disk than 0 is noticed after the switch and before the
// restart. A diskpart planted beside the program must not be the one that
// runs: its machine has no disks, so the job would be refused.
TEST(JobHandOff, EachJobFileHoldsExactlyItsJobAndAnotherDiskIsNoticed)
{
    const std::pair<std::wstring, std::wstring> jobs[] = {
        // The time-stamp description ends in a blank, which Wine's profile writer drops.
        {L"backup 3 4294967295 -1 d:\\2026-12-06.QVX \"2026-12-06 20:31 \"",
         L"Type=Backup\r\nPath=d:\\2026-12-06.QVX\r\nDesc=2026-12-06 20:31\r\nPartID=4294967295\r\nDiskID=-1\r\n"
         L"Compress=3\r\n"},
        {L"restore 5000 2 1 f:\\a.QVX a", L"Type=Restore\r\nPath=f:\\a.QVX\r\nPartID=1\r\nDiskID=2\r\n"},
    };
    for (const auto& [arguments, lines] : jobs) {
        SCOPED_TRACE(narrow(arguments));
        SandboxMachine machine;
        ASSERT_TRUE(machine.ready());
        std::ofstream(machine.jobFile(), std::ios::binary) << "[Config]\r\nType=Restore\r\nExtra=1\r\n[Other]\r\nA=1\r\n";
        fs::copy_file(machine.sandbox() / L"diskpart.exe", machine.folder() / L"diskpart.exe");
        ProgramUnderTest runner(machine.runner(), arguments);
        if (arguments.starts_with(L"restore")) {
            ASSERT_TRUE(runner.waitForMessageBox(30s).window);
            EXPECT_EQ(machine.bootablePartitions(), "1") << "diskpart has run";
            EXPECT_EQ(machine.eventsLog(), "") << "not yet restarted";
            answerMessage(runner, imageOnOtherDisk, FindWindowW(L"QuorvaneJobRunner", nullptr)); // owned by the page
        }
        ASSERT_TRUE(runner.waitForExit(30s)) << "a message box or a wait is holding the hand-off";
        EXPECT_EQ(runner.exitCode(), 0u);
        EXPECT_EQ(machine.eventsLog(), "restart\r\n");
        EXPECT_EQ(machine.bootablePartitions(), "1");
        EXPECT_FALSE(fs::exists(machine.leftScript()));
        EXPECT_EQ(fileBytes(machine.jobFile()), utf16File(L"[Config]\r\n" + lines));
    }
}

// A job that cannot be written, checked or switched is refused before
// anything is switched.
TEST(JobHandOff, AJobThatCannotBeWrittenCheckedOrSwitchedIsRefused)
{
    const auto nothing = [](const SandboxMachine&) {};
    struct Case {
        const char* why;
        std::function<void(const SandboxMachine&)> prepare;
        std::wstring arguments;
        bool jobWritten = false;
        bool scriptLeft = false; // diskpart could not be started
        std::string layout = usualLayout;
    };
    const Case cases[] = {
        {"a folder with the job file's name", [](const SandboxMachine& m) { fs::create_directories(m.jobFile()); }, mondayBackup},
        {"no lettered partition 2 on disk 0", [](const SandboxMachine& m) { m.writeMachine("[Volumes]\r\np=0,3\r\n"); }, mondayBackup},
        {"a value that would start a new line", nothing, L"backup 2 3 0 d:\\Monday.QVX \"Monday\r\n[Config]\r\nType=Restore\""},
        {"no diskpart", [](const SandboxMachine& m) { fs::remove(m.sandbox() / L"diskpart.exe"); }, mondayBackup, true, true},
        // A GPT disk (here with a hybrid table that also lists the recovery
        // and system partitions) has no MBR partition diskpart could make active.
        {"a diskpart that fails", nothing, mondayBackup, true, false,
         "'size=1G, type=12' 'size=2G, type=7, bootable' 'size=1G, type=ee'"},
        {"a restore path of 260 characters", nothing, L"restore 5 0 3 xd:\\" + std::wstring(252, L'n') + L".QVX a"},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.why);
        SandboxMachine machine(each.layout);
        ASSERT_TRUE(machine.ready());
        each.prepare(machine);
        ProgramUnderTest runner(machine.runner(), each.arguments);
        expectRefused(runner, machine);
        EXPECT_EQ(fs::is_regular_file(machine.jobFile()), each.jobWritten);
        EXPECT_EQ(fileText(machine.leftScript()), each.scriptLeft ? diskpartScriptText : "");
    }
}

TEST(JobHandOff, AJobFileCutOffByAFullDiskSwitchesNothing)
{
    SandboxMachine machine;
    ASSERT_TRUE(machine.ready());
    const std::string system = unixPath(machine.systemFolder());
    std::string why;
    if (!runUnixCommand(machine.folder(), "mount -t tmpfs -o size=4k tmpfs '" + system + "'", &why))
        GTEST_SKIP() << "this machine does not let the test mount a small file system: " << why;
    struct Unmount {
        const SandboxMachine& machine;
        std::string system;
        ~Unmount() { runUnixCommand(machine.folder(), "umount '" + system + "'"); }
    } unmount{machine, system};
    if (GetDriveTypeW(L"p:\\") != DRIVE_FIXED)
        GTEST_SKIP() << "Wine does not show the small file system as a fixed drive";

    // A job larger than the file system holds.
    ProgramUnderTest runner(machine.runner(), mondayBackup + std::wstring(3000, L'x'));
    expectRefused(runner, machine);
}

TEST(JobHandOff, AFailedRestartLeavesTheProgramRunning)
{
    SandboxMachine machine;
    ASSERT_TRUE(machine.ready());
    machine.writeMachine("[Volumes]\r\np=0,2\r\n[Restart]\r\nFail=1\r\n");
    ProgramUnderTest runner(machine.runner(), factoryRestore);
    // The runner's title names the image path of the page's own job once the hand-off returns.
    HWND page = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        page = FindWindowW(L"QuorvaneJobRunner", nullptr);
        return page && controlText(page).starts_with(L"returned ");
    }, 30s));
    EXPECT_EQ(controlText(page), L"returned z:\\FactoryImage.QVX") << "the page's own job holds the factory path";
    EXPECT_EQ(runner.exitCode(), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(machine.eventsLog(), "");
    EXPECT_EQ(machine.bootablePartitions(), "1");
    PostMessageW(page, WM_CLOSE, 0, 0);
    ASSERT_TRUE(runner.waitForExit());
    EXPECT_EQ(runner.exitCode(), 0u);
}

} // namespace
} // namespace quorvane::testing
