// What a job hand-off writes: the factory rule, the number formats, the
// diskpart command line, and the check of the job file's bytes. The keys of
// each job as they land in the file are seen by the Windows hand-off tests.
#include "job/JobContent.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>

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

TEST(JobContent, FactoryRuleReplacesOnlyTheExactFactoryEntry)
{
    const RestoreJobParameters factory{.partId = 1, .imagePath = L"Recovery partition", .imageName = L"Factory image",
                                       .systemDriveText = {}};
    RestoreJobParameters job = factory;
    EXPECT_TRUE(applyFactoryRule(job, L"Factory image", L"Recovery partition"));
    EXPECT_EQ(job.imagePath, L"z:\\FactoryImage.QVX");
    // Once replaced the path no longer matches, and it stays the factory path.
    EXPECT_FALSE(applyFactoryRule(job, L"Factory image", L"Recovery partition"));
    EXPECT_EQ(job.imagePath, L"z:\\FactoryImage.QVX");

    // Each of the five values on its own keeps the entry's own path.
    const std::vector<void (*)(RestoreJobParameters&)> changes = {
        [](RestoreJobParameters& j) { j.imageSize = 1; },
        [](RestoreJobParameters& j) { j.diskId = 1; },
        [](RestoreJobParameters& j) { j.partId = 2; },
        [](RestoreJobParameters& j) { j.imageName = L"Factory image "; },
        [](RestoreJobParameters& j) { j.imagePath = L"recovery partition"; },
    };
    for (std::size_t change = 0; change < changes.size(); ++change) {
        job = factory;
        changes[change](job);
        const std::wstring before = job.imagePath;
        EXPECT_FALSE(applyFactoryRule(job, L"Factory image", L"Recovery partition")) << change;
        EXPECT_EQ(job.imagePath, before) << change;
    }
}

TEST(JobContent, CommandLineQuotesTheScriptBesideTheProgram)
{
    const auto launch = diskpartLaunch("C:\\Program Files\\Quorvane\\Quorvane.exe", diskpartScriptName);
    ASSERT_TRUE(launch);
    EXPECT_EQ(launch->scriptPath, "C:\\Program Files\\Quorvane\\DiskpartScript.txt");
    EXPECT_EQ(launch->commandLine, "diskpart /s \"C:\\Program Files\\Quorvane\\DiskpartScript.txt\"");
    EXPECT_FALSE(diskpartLaunch("Quorvane.exe", diskpartScriptName));

    // The command line is the longest of the three: 14 bytes around the script path.
    const auto folderOfLength = [](std::size_t length) { return "C:\\" + std::string(length - 4, 'f') + "\\"; };
    const std::size_t longestFolder = narrowPathLimit - 1 - 14 - std::strlen(diskpartScriptName);
    EXPECT_TRUE(diskpartLaunch(folderOfLength(longestFolder) + "Q.exe", diskpartScriptName));
    EXPECT_FALSE(diskpartLaunch(folderOfLength(longestFolder + 1) + "Q.exe", diskpartScriptName));
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
    // Blanks and tabs around a value do not count: the writer may drop them.
    EXPECT_TRUE(holds(written, L"=Monday", L"=\t Monday\t"));
    BackupJobParameters stamped = monday;
    stamped.description = L"2026-12-06 20:31 ";
    std::wstring trimmed = L"[Config]\r\n" + lines(backupJobKeys(stamped));
    trimmed.replace(trimmed.find(L"20:31 "), 6, L"20:31");
    EXPECT_TRUE(jobFileHolds(utf16File(trimmed), backupJobKeys(stamped)));

    EXPECT_FALSE(jobFileHolds(utf16File(written, false), keys)) << "no byte-order mark";
    EXPECT_FALSE(jobFileHolds({}, keys));
    std::vector<std::uint8_t> odd = utf16File(written);
    odd.push_back(0);
    EXPECT_FALSE(jobFileHolds(odd, keys)) << "odd byte count";
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

} // namespace
} // namespace quorvane
