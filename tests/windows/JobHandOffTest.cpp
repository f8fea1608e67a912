// The job hand-off on a sandbox machine, run in quorvane_job_runner.exe as a
// confirm page's Start would run it: the job file's bytes on the system
// partition, the boot flag of disk 0 as sfdisk reads it from the disk image,
// the restart in Sandbox\events.log, and the messages with the exit codes.
#include "support/SandboxMachine.h"

#include "job/JobContent.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;

std::wstring quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

std::wstring backupArguments(int compression, unsigned partitionId, int diskId, const std::wstring& imagePath,
                             const std::wstring& description)
{
    return L"backup " + std::to_wstring(compression) + L" " + std::to_wstring(partitionId) + L" "
           + std::to_wstring(diskId) + L" " + quoted(imagePath) + L" " + quoted(description);
}

std::wstring restoreArguments(long long imageSize, int diskId, unsigned partId, const std::wstring& imagePath,
                              const std::wstring& imageName)
{
    return L"restore " + std::to_wstring(imageSize) + L" " + std::to_wstring(diskId) + L" " + std::to_wstring(partId)
           + L" " + quoted(imagePath) + L" " + quoted(imageName);
}

// A hand-off that went through: restarted, partition 1 active, no script left.
void expectHandedOver(ProgramUnderTest& runner, const SandboxMachine& machine)
{
    ASSERT_TRUE(runner.waitForExit(30s)) << "a message box or a wait is holding the hand-off";
    EXPECT_EQ(runner.exitCode(), 0u);
    EXPECT_EQ(machine.eventsLog(), "restart\r\n");
    EXPECT_EQ(machine.bootablePartitions(), "1");
    EXPECT_FALSE(fs::exists(machine.leftScript()));
}

// A hand-off that was refused: text 93, exit code 1, nothing switched or restarted.
void expectRefused(ProgramUnderTest& runner, const SandboxMachine& machine)
{
    const MessageBoxInfo box = runner.waitForMessageBox(30s);
    ASSERT_TRUE(box.window) << "no message; exit code " << runner.exitCode();
    EXPECT_EQ(box.text, cannotHandOver);
    EXPECT_EQ(box.caption, L"Quorvane");
    EXPECT_TRUE(GetDlgItem(box.window, IDOK));
    EXPECT_FALSE(GetDlgItem(box.window, IDCANCEL));
    ProgramUnderTest::pressButton(box.window, IDOK);
    ASSERT_TRUE(runner.waitForExit());
    EXPECT_EQ(runner.exitCode(), 1u);
    EXPECT_EQ(machine.bootablePartitions(), "2");
    EXPECT_EQ(machine.eventsLog(), "");
}

// Each job lands as exactly its own lines, whatever an earlier job left there.
TEST(JobHandOff, EachJobFileHoldsExactlyItsJob)
{
    struct Case {
        std::wstring arguments;
        std::wstring lines;
    };
    const Case cases[] = {
        {backupArguments(2, 3, 0, L"E:\\Images\\Monday.QVX", L"Monday"),
         L"Type=Backup\r\nPath=E:\\Images\\Monday.QVX\r\nDesc=Monday\r\nPartID=3\r\nDiskID=0\r\nCompress=2\r\n"},
        // The time-stamp description ends in a blank, which Wine's profile writer drops.
        {backupArguments(3, 4294967295u, -1, L"d:\\2026-12-06.QVX", L"2026-12-06 20:31 "),
         L"Type=Backup\r\nPath=d:\\2026-12-06.QVX\r\nDesc=2026-12-06 20:31\r\nPartID=4294967295\r\nDiskID=-1\r\n"
         L"Compress=3\r\n"},
        {restoreArguments(0, 0, 1, factoryPath, factoryName),
         L"Type=Restore\r\nPath=z:\\FactoryImage.QVX\r\nPartID=1\r\nDiskID=0\r\n"},
        // Not the factory entry: its name differs in one letter's case.
        {restoreArguments(0, 0, 1, factoryPath, L"Factory Image"),
         L"Type=Restore\r\nPath=Recovery partition\r\nPartID=1\r\nDiskID=0\r\n"},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(std::string(each.arguments.begin(), each.arguments.end()));
        SandboxMachine machine;
        ASSERT_TRUE(machine.ready());
        std::ofstream(machine.jobFile(), std::ios::binary) << "[Config]\r\nType=Restore\r\nExtra=1\r\n[Other]\r\nA=1\r\n";
        ProgramUnderTest runner(machine.runner(), each.arguments);
        expectHandedOver(runner, machine);
        EXPECT_EQ(fileBytes(machine.jobFile()), utf16WithByteOrderMark(L"[Config]\r\n" + each.lines));
    }
}

TEST(JobHandOff, ImageOnAnotherDiskIsNoticedAfterTheSwitchAndBeforeTheRestart)
{
    struct Case {
        std::wstring arguments;
        bool notice;
    };
    const Case cases[] = {
        {backupArguments(2, 1, 1, L"e:\\Monday.QVX", L"Monday"), true},
        {restoreArguments(5000, 2, 1, L"f:\\a.QVX", L"a"), true},
        {backupArguments(2, 0, 1, L"e:\\Monday.QVX", L"Monday"), false},
        {restoreArguments(5000, 0, 3, L"d:\\a.QVX", L"a"), false},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(std::string(each.arguments.begin(), each.arguments.end()));
        SandboxMachine machine;
        ASSERT_TRUE(machine.ready());
        ProgramUnderTest runner(machine.runner(), each.arguments);
        if (each.notice) {
            const MessageBoxInfo box = runner.waitForMessageBox(30s);
            ASSERT_TRUE(box.window);
            EXPECT_EQ(box.text, imageOnOtherDisk);
            EXPECT_EQ(box.owner, FindWindowW(L"QuorvaneJobRunner", nullptr)) << "owned by the page";
            EXPECT_EQ(machine.bootablePartitions(), "1") << "diskpart has run";
            EXPECT_FALSE(fs::exists(machine.leftScript()));
            EXPECT_EQ(machine.eventsLog(), "") << "not yet restarted";
            ProgramUnderTest::pressButton(box.window, IDOK);
        }
        expectHandedOver(runner, machine);
    }
}

TEST(JobHandOff, WithoutDiskpartTheJobIsRefusedAndTheScriptStays)
{
    SandboxMachine machine;
    ASSERT_TRUE(machine.ready());
    fs::remove(machine.sandbox() / L"diskpart.exe");
    ProgramUnderTest runner(machine.runner(), backupArguments(2, 3, 0, L"d:\\Monday.QVX", L"Monday"));
    expectRefused(runner, machine);
    EXPECT_EQ(fileText(machine.leftScript()), diskpartScriptText);
    EXPECT_EQ(fs::file_size(machine.leftScript()), 49u);
}

TEST(JobHandOff, APlantedDiskpartInTheProgramFolderDoesNotRun)
{
    SandboxMachine machine;
    ASSERT_TRUE(machine.ready());
    // A copy beside the program whose machine has no disks: if it ran, the
    // script would fail and the job would be refused.
    fs::copy_file(machine.sandbox() / L"diskpart.exe", machine.folder() / L"diskpart.exe");
    ProgramUnderTest runner(machine.runner(), backupArguments(2, 3, 0, L"d:\\Monday.QVX", L"Monday"));
    expectHandedOver(runner, machine);
}

TEST(JobHandOff, AJobThatCannotBeWrittenOrCheckedSwitchesNothing)
{
    struct Case {
        const char* why;
        std::function<void(const SandboxMachine&)> prepare;
        std::wstring description = L"Monday";
    };
    const Case cases[] = {
        {"a folder with the job file's name", [](const SandboxMachine& m) { fs::create_directories(m.jobFile()); }},
        {"no lettered partition 2 on disk 0", [](const SandboxMachine& m) { m.writeMachine("[Volumes]\r\np=0,3\r\n"); }},
        {"a value that would start a new line", [](const SandboxMachine&) {},
         L"Monday\r\n[Config]\r\nType=Restore"},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.why);
        SandboxMachine machine;
        ASSERT_TRUE(machine.ready());
        each.prepare(machine);
        ProgramUnderTest runner(machine.runner(), backupArguments(2, 3, 0, L"d:\\Monday.QVX", each.description));
        expectRefused(runner, machine);
        EXPECT_FALSE(fs::is_regular_file(machine.jobFile()));
        EXPECT_FALSE(fs::exists(machine.leftScript())) << "diskpart was never asked";
    }
}

TEST(JobHandOff, ADiskpartThatFailsIsRefusedWithoutARestart)
{
    // A GPT disk (here with a hybrid table that also lists the system
    // partition) has no MBR partition that diskpart could make active.
    SandboxMachine machine("'size=1G, type=ee' 'size=2G, type=7, bootable'");
    ASSERT_TRUE(machine.ready());
    ProgramUnderTest runner(machine.runner(), backupArguments(2, 3, 0, L"d:\\Monday.QVX", L"Monday"));
    expectRefused(runner, machine);
    EXPECT_FALSE(fs::exists(machine.leftScript())) << "diskpart ran";
    EXPECT_TRUE(fs::is_regular_file(machine.jobFile()));
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
    ProgramUnderTest runner(machine.runner(), backupArguments(2, 3, 0, L"d:\\Monday.QVX", std::wstring(3000, L'x')));
    expectRefused(runner, machine);
}

TEST(JobHandOff, AFailedRestartLeavesTheProgramRunning)
{
    SandboxMachine machine;
    ASSERT_TRUE(machine.ready());
    machine.writeMachine("[Volumes]\r\np=0,2\r\n[Restart]\r\nFail=1\r\n");
    ProgramUnderTest runner(machine.runner(), restoreArguments(0, 0, 1, factoryPath, factoryName));
    HWND page = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        page = FindWindowW(L"QuorvaneJobRunner", nullptr);
        wchar_t title[256] = {};
        return page && GetWindowTextW(page, title, 256) && std::wstring(title).starts_with(L"returned ");
    }, 30s));
    wchar_t title[256] = {};
    GetWindowTextW(page, title, 256);
    EXPECT_STREQ(title, L"returned z:\\FactoryImage.QVX") << "the page's own job holds the factory path";
    EXPECT_EQ(runner.exitCode(), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(machine.eventsLog(), "");
    EXPECT_EQ(machine.bootablePartitions(), "1");
    PostMessageW(page, WM_CLOSE, 0, 0);
    ASSERT_TRUE(runner.waitForExit());
    EXPECT_EQ(runner.exitCode(), 0u);
}

} // namespace
} // namespace quorvane::testing
