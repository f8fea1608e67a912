// What a job hand-off writes: the factory rule, the number formats, the
// diskpart command line, and the check of the job file's bytes. The keys of
// each job as they land in the file are seen by the Windows hand-off tests.
// Also the sandbox machine's stand-in diskpart: the script commands, the
// hand-off's own script among them, and what they do to the master boot
// records of disks in memory; its run on a disk image made by sfdisk is seen
// end to end by the Windows hand-off tests.
#include "job/JobContent.h"
#include "tools/diskpart/StandInDiskpart.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace quorvane {
namespace {

using quorvane::testing::utf16File;

std::wstring lines(const JobKeys& keys)
{
    std::wstring text;
    for (const JobKey& key : keys)
        text += key.name + L"=" + key.value + L"\r\n";
    return text;
}

const BackupJobParameters monday{.compression = 2, .description = L"Monday", .imagePath = L"E:\\Images\\Monday.QVX",
                                 .partitionId = 3, .diskId = 0};

TEST(JobContent, RestoreKeysWriteThePartitionUnsignedAndTheDiskSigned)
{
    const RestoreJobParameters job{.diskId = -2, .partId = 3000000000u, .imagePath = L"d:\\a.QVX", .imageName = L"a", .systemDriveText = {}};
    EXPECT_EQ(lines(restoreJobKeys(job)), L"Type=Restore\r\nPath=d:\\a.QVX\r\nPartID=3000000000\r\nDiskID=-2\r\n");
}

// Each of the five values on its own keeps the entry's own path; once
// replaced, the path no longer matches and stays the factory path.
TEST(JobContent, FactoryRuleReplacesOnlyTheExactFactoryEntry)
{
    const auto entry = [](std::int64_t size, std::int32_t disk, std::uint32_t part, std::wstring name, std::wstring path) {
        return RestoreJobParameters{size, disk, part, std::move(path), std::move(name), {}};
    };
    const RestoreJobParameters others[] = {
        entry(1, 0, 1, L"Factory image", L"Recovery partition"),  entry(0, 1, 1, L"Factory image", L"Recovery partition"),
        entry(0, 0, 2, L"Factory image", L"Recovery partition"),  entry(0, 0, 1, L"Factory Image", L"Recovery partition"),
        entry(0, 0, 1, L"Factory image ", L"Recovery partition"), entry(0, 0, 1, L"Factory image", L"recovery partition"),
    };
    for (RestoreJobParameters job : others) {
        const std::wstring before = job.imagePath;
        EXPECT_FALSE(applyFactoryRule(job, L"Factory image", L"Recovery partition")) << testing::narrow(job.imageName);
        EXPECT_EQ(job.imagePath, before);
    }
    RestoreJobParameters job = entry(0, 0, 1, L"Factory image", L"Recovery partition");
    EXPECT_TRUE(applyFactoryRule(job, L"Factory image", L"Recovery partition"));
    EXPECT_EQ(job.imagePath, L"z:\\FactoryImage.QVX");
    EXPECT_FALSE(applyFactoryRule(job, L"Factory image", L"Recovery partition"));
    EXPECT_EQ(job.imagePath, L"z:\\FactoryImage.QVX");
}

// A folder named in any script (here Chinese) stays as it is.
TEST(JobContent, CommandLineQuotesTheScriptBesideTheProgram)
{
    const auto launch = diskpartLaunch(L"C:\\\u7a0b\u5e8f\\Quorvane.exe", diskpartScriptName);
    ASSERT_TRUE(launch);
    EXPECT_EQ(launch->scriptPath, L"C:\\\u7a0b\u5e8f\\DiskpartScript.txt");
    EXPECT_EQ(launch->commandLine, L"diskpart /s \"C:\\\u7a0b\u5e8f\\DiskpartScript.txt\"");
    EXPECT_FALSE(diskpartLaunch(L"Quorvane.exe", diskpartScriptName));

    // The command line is the longest of the three: 14 characters around the script path.
    const auto folderOfLength = [](std::size_t length) { return L"C:\\" + std::wstring(length - 4, L'f') + L"\\"; };
    const std::size_t longestFolder = programPathLimit - 1 - 14 - std::wcslen(diskpartScriptName);
    EXPECT_TRUE(diskpartLaunch(folderOfLength(longestFolder) + L"Q.exe", diskpartScriptName));
    EXPECT_FALSE(diskpartLaunch(folderOfLength(longestFolder + 1) + L"Q.exe", diskpartScriptName));
}

// Partition 1 of disk 0 is made the boot partition only when it is a hidden
// recovery partition; a path the recovery environment cannot take is no job.
TEST(JobContent, OnlyARecoveryPartitionAndAPathShorterThan260Characters)
{
    for (int type = 0; type < 256; ++type)
        EXPECT_EQ(isRecoveryPartitionType(static_cast<std::uint8_t>(type)), type == 0x12 || type == 0x27) << type;
    EXPECT_TRUE(fitsRecoveryEnvironment(std::wstring(259, L'p')));
    EXPECT_FALSE(fitsRecoveryEnvironment(std::wstring(260, L'p')));
}

TEST(JobFileCheck, AcceptsTheFileAsTheProfileWriterLeavesItAndNothingElse)
{
    const JobKeys keys = backupJobKeys(monday);
    const std::wstring written = L"[Config]\r\n" + lines(keys);
    const auto holds = [&](std::wstring text, const std::wstring& from, const std::wstring& to) {
        text.replace(text.find(from), from.size(), to);
        return jobFileHolds(utf16File(text), keys);
    };
    EXPECT_TRUE(jobFileHolds(utf16File(written), keys));
    // Blanks and tabs around a value do not count, in the file or in the key:
    // the writer may drop them.
    EXPECT_TRUE(holds(written, L"=Monday", L"=\t Monday\t"));
    BackupJobParameters stamped = monday;
    stamped.description = L"Monday ";
    EXPECT_TRUE(jobFileHolds(utf16File(written), backupJobKeys(stamped)));

    EXPECT_FALSE(jobFileHolds(utf16File(written, false), keys)) << "no byte-order mark";
    EXPECT_FALSE(jobFileHolds({}, keys));
    const testing::Bytes withNul = utf16File(written + L'\0');
    EXPECT_FALSE(jobFileHolds(std::span(withNul).first(withNul.size() - 1), keys)) << "odd byte count";
    const std::pair<std::wstring, std::wstring> refused[] = {
        {L"DiskID=0\r\nCompress=2\r\n", L"DiskID=0\r\nCompress=2"}, // last line without CR LF
        {L"Compress=2\r\n", L""}, // cut off
        {L"[Config]", L"[config]"},
        {L"Compress=2\r\n", L"Compress=2\r\n[Other]\r\nA=1\r\n"}, // a second section
        {L"Compress=2\r\n", L"Compress=2\r\nExtra=1\r\n"},
        {L"[Config]", L"\r\n[Config]"},
        {L"Type=Backup\r\nPath=E:\\Images\\Monday.QVX", L"Path=E:\\Images\\Monday.QVX\r\nType=Backup"}, // order
        {L"Desc=", L"Desc ="},
        {L"Monday\r", L"monday\r"}, // a value's case
        {L"\r\nDesc", L"\nDesc"},
    };
    for (const auto& [from, to] : refused)
        EXPECT_FALSE(holds(written, from, to)) << testing::narrow(to);

    // A value that breaks the line never passes.
    BackupJobParameters injected = monday;
    injected.description = L"Monday\r\n[Config]\r\nType=Restore";
    const JobKeys injectedKeys = backupJobKeys(injected);
    EXPECT_TRUE(breaksLine(injectedKeys[2].value));
    EXPECT_FALSE(jobFileHolds(utf16File(L"[Config]\r\n" + lines(injectedKeys)), injectedKeys));
    EXPECT_TRUE(breaksLine(L"Monday\n"));
    EXPECT_FALSE(breaksLine(L"Monday \t"));
}

using namespace standin;

// An MBR with these partition types in its four slots, boot signature set.
Sector masterBootRecord(std::array<std::uint8_t, 4> types, int activeSlot = -1)
{
    Sector sector{};
    for (int slot = 0; slot < 4; ++slot) {
        sector[0x1BE + slot * 16] = slot == activeSlot ? 0x80 : 0;
        sector[0x1BE + slot * 16 + 4] = types[slot];
    }
    sector[510] = 0x55;
    sector[511] = 0xAA;
    return sector;
}

// Disk 0: recovery, an extended container (with a stale boot flag), an empty
// slot, the system partition; Windows numbers them 1, -, -, 2. Disk 1 is a GPT
// disk, disk 2 has no boot signature and so no table.
constexpr std::array<std::uint8_t, 4> diskZeroTypes{0x12, 0x05, 0, 0x07};

class DisksInMemory : public MachineDisks {
public:
    DisksInMemory()
    {
        sectors[0] = masterBootRecord(diskZeroTypes, 1);
        sectors[1] = masterBootRecord({0xEE, 0, 0, 0});
        sectors[2] = masterBootRecord({0x07, 0, 0, 0});
        sectors[2][511] = 0;
    }
    std::optional<Sector> readFirstSector(int disk) override
    {
        return sectors.contains(disk) ? std::optional(sectors[disk]) : std::nullopt;
    }
    bool writeFirstSector(int disk, const Sector& sector) override
    {
        if (!writable)
            return false;
        ++writes;
        sectors[disk] = sector;
        return true;
    }

    std::map<int, Sector> sectors;
    bool writable = true;
    int writes = 0;
};

TEST(StandInDiskpart, ScriptsWhatTheySayAndWhatTheyLeaveOnDiskZero)
{
    struct Case {
        const char* script;
        int exitCode;
        int activeSlot; // of disk 0 afterwards; 1 is the flag it started with
    };
    const Case cases[] = {
        {diskpartScriptText, success, 0},
        {"\r\n  SELECT   Disk 0\r\n\r\n\tSelect PARTITION 1 \r\nActive\r\nEXIT", success, 0},
        {"select disk 0\nselect partition 2\nactive\n", success, 3}, // the container and the empty slot skipped
        {"select disk 0\nselect partition 1\nexit\nactive\n", success, 1},
        {"select disk 0\nselect partition 1\nformat\nactive\n", syntaxError, 1},
        {"select disk 0\nselect partition 3\nactive\n", invalidArguments, 1},
        {"select disk 1\nselect partition 1\nactive\n", invalidArguments, 1}, // GPT
        {"select disk 2\nselect partition 1\nactive\n", invalidArguments, 1}, // no table
        {"select disk 0\nactive\n", syntaxError, 1}, {"select disk -1\n", syntaxError, 1},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.script);
        DisksInMemory disks;
        const ScriptRun run = runScript(each.script, disks);
        EXPECT_EQ(run.exitCode, each.exitCode) << run.output;
        // Only the flag bytes change, and only when the script succeeds.
        EXPECT_EQ(disks.sectors[0], masterBootRecord(diskZeroTypes, each.activeSlot));
        EXPECT_EQ(disks.writes, each.activeSlot == 1 ? 0 : 1);
    }

    // It says what it did, and fails when the disk cannot be written.
    DisksInMemory disks;
    const ScriptRun run = runScript(diskpartScriptText, disks);
    EXPECT_NE(run.output.find("marked the current partition as active"), std::string::npos);
    EXPECT_NE(run.output.find("Leaving DiskPart"), std::string::npos);
    disks.writable = false;
    EXPECT_EQ(runScript(diskpartScriptText, disks).exitCode, serviceFailure);
}

} // namespace
} // namespace quorvane
