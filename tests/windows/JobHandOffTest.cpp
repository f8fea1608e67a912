// The job hand-off on a sandbox machine, run in quorvane_job_runner.exe as a
// confirm page's Start would run it: the job file's bytes on the system
// partition, the boot flag of disk 0 as sfdisk reads it from the disk image,
// the restart in Sandbox\events.log, and the messages with the exit codes.
#include "support/ProgramUnderTest.h"

#include "job/JobContent.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t factoryName[] = L"Factory image";
constexpr wchar_t factoryPath[] = L"Recovery partition";
constexpr wchar_t cannotHandOver[] = L"The job could not be handed over.";
constexpr wchar_t imageOnOtherDisk[] = L"The image lies on another disk.";
// The drive letter of the sandbox's system partition, a folder of the test.
constexpr char systemLetter = 'p';

std::string unixPath(const fs::path& path)
{
    using UnixFileName = char*(CDECL*)(const wchar_t*);
    static const auto convert = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = convert ? convert(path.c_str()) : nullptr;
    if (!name)
        return {};
    std::string result(name);
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

std::vector<std::uint8_t> fileBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string fileText(const fs::path& file)
{
    const std::vector<std::uint8_t> bytes = fileBytes(file);
    return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> utf16WithByteOrderMark(const std::wstring& text)
{
    std::vector<std::uint8_t> bytes{0xFF, 0xFE};
    for (wchar_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

// Runs a shell command on the machine that runs Wine; true when it exited with
// status 0. Wine starts Unix programs but does not report their exit status,
// so the command writes it into a file.
bool runUnixCommand(const fs::path& workFolder, const std::string& command, std::string* output = nullptr)
{
    static int counter = 0;
    const std::string name = "command" + std::to_string(++counter);
    const fs::path script = workFolder / (name + ".sh");
    const fs::path out = workFolder / (name + ".out");
    const fs::path status = workFolder / (name + ".status");
    {
        std::ofstream file(script, std::ios::binary);
        file << "export PATH=$PATH:/usr/sbin:/sbin\n"
             << "( " << command << " ) > '" << unixPath(out) << "' 2>&1\n"
             << "echo $? > '" << unixPath(status) << ".part' && mv '" << unixPath(status) << ".part' '"
             << unixPath(status) << "'\n";
    }
    std::wstring commandLine = L"Z:\\bin\\sh " + fs::path(unixPath(script)).wstring();
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return false;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    if (!waitUntil([&] { return fs::exists(status); }, 60s))
        return false;
    if (output)
        *output = fileText(out);
    return fileText(status) == "0\n";
}

// A sandbox machine in a scratch folder: the runner and the stand-in diskpart,
// a language file, disk 0 as a sparse image partitioned by sfdisk (recovery,
// system with the boot flag, data), and the system partition lettered p.
class SandboxMachine {
public:
    explicit SandboxMachine(const std::string& layout = "'size=20G, type=12' 'size=100G, type=7, bootable' 'type=7'",
                            const std::string& bootable = "2")
    {
        fs::create_directories(sandbox());
        fs::create_directories(systemFolder());
        fs::copy_file(buildFolder() / L"quorvane_job_runner.exe", runner());
        fs::copy_file(buildFolder() / L"Sandbox/diskpart.exe", sandbox() / L"diskpart.exe");
        std::wstring lines = L"font=Tahoma\r\n";
        for (int id = 1; id < 100; ++id) {
            const std::wstring text = id == 59 ? factoryName
                                      : id == 60 ? factoryPath
                                      : id == 93 ? cannotHandOver
                                      : id == 95 ? imageOnOtherDisk
                                                 : L"text " + std::to_wstring(id);
            lines += L"t" + std::to_wstring(id) + L"=" + text + L"\r\n";
        }
        writeLanguageFile(folder() / L"Lang/Quorvane/409.ini", L"409", lines);
        const std::string image = unixPath(sandbox() / L"disk0.img");
        ready_ = runUnixCommand(folder(), "truncate -s 200G '" + image + "' && printf '%s\\n' " + layout
                                              + " | sfdisk --quiet '" + image + "'");
        writeMachine("[Volumes]\r\np=0,2\r\n");
        const char* prefix = std::getenv("WINEPREFIX");
        if (prefix) {
            driveLink_ = std::string(prefix) + "/dosdevices/" + systemLetter + ":";
            ready_ = ready_ && runUnixCommand(folder(), "ln -sfn '" + unixPath(systemFolder()) + "' '" + driveLink_ + "'");
        }
        ready_ = ready_ && bootablePartitions() == bootable;
    }

    ~SandboxMachine()
    {
        if (!driveLink_.empty())
            runUnixCommand(folder(), "rm -f '" + driveLink_ + "'");
    }

    // Everything was made: the tests assert this first.
    bool ready() const { return ready_; }

    const fs::path& folder() const { return scratch_.path(); }
    fs::path sandbox() const { return folder() / L"Sandbox"; }
    fs::path runner() const { return folder() / L"quorvane_job_runner.exe"; }
    fs::path systemFolder() const { return folder() / L"system"; }
    fs::path jobFile() const { return systemFolder() / L"Backup_Restore_Config.ini"; }
    fs::path leftScript() const { return folder() / L"DiskpartScript.txt"; }
    std::string eventsLog() const { return fileText(sandbox() / L"events.log"); }

    // machine.ini: disk 0 and these further sections.
    void writeMachine(const std::string& sections) const
    {
        std::ofstream(sandbox() / L"machine.ini", std::ios::binary) << "[Disks]\r\n0=disk0.img\r\n" << sections;
    }

    // The numbers of disk 0's partitions that sfdisk reports bootable, e.g. "1".
    std::string bootablePartitions() const
    {
        std::string json;
        if (!runUnixCommand(folder(), "sfdisk --json '" + unixPath(sandbox() / L"disk0.img") + "'", &json))
            return "sfdisk failed";
        std::string numbers;
        const std::string node = "\"node\": \"" + unixPath(sandbox() / L"disk0.img");
        for (std::size_t at = json.find(node); at != std::string::npos;) {
            const std::size_t next = json.find(node, at + 1);
            const std::string partition = json.substr(at, next == std::string::npos ? std::string::npos : next - at);
            if (partition.find("\"bootable\": true") != std::string::npos)
                numbers += partition.substr(node.size(), partition.find('"', node.size()) - node.size());
            at = next;
        }
        return numbers;
    }

private:
    ScratchFolder scratch_;
    std::string driveLink_;
    bool ready_ = false;
};

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
