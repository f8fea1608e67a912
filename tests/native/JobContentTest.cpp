// What a job hand-off writes: the keys of the two jobs, the factory rule, the
// diskpart script and command line, and the check of the job file's bytes.
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

BackupJobParameters mondayBackup()
{
    BackupJobParameters job;
    job.compression = 2;
    job.description = L"Monday";
    job.imagePath = L"E:\\Images\\Monday.QVX";
    job.partitionId = 3;
    job.diskId = 0;
    return job;
}

RestoreJobParameters factoryEntry()
{
    RestoreJobParameters job;
    job.imageSize = 0;
    job.diskId = 0;
    job.partId = 1;
    job.imageName = L"Factory image";
    job.imagePath = L"Recovery partition";
    return job;
}

TEST(JobContent, KeysInOrderWithTheirNumberFormats)
{
    EXPECT_EQ(lines(backupJobKeys(mondayBackup())), L"Type=Backup\r\nPath=E:\\Images\\Monday.QVX\r\nDesc=Monday\r\n"
                                                    L"PartID=3\r\nDiskID=0\r\nCompress=2\r\n");
    RestoreJobParameters job;
    job.imagePath = L"d:\\Backups\\a.QVX";
    job.partId = 3000000000u; // written unsigned
    job.diskId = -2;          // written signed
    job.imageName = L"a";
    EXPECT_EQ(lines(restoreJobKeys(job)), L"Type=Restore\r\nPath=d:\\Backups\\a.QVX\r\nPartID=3000000000\r\nDiskID=-2\r\n");
}

TEST(JobContent, FactoryRuleReplacesOnlyTheExactFactoryEntry)
{
    RestoreJobParameters factory = factoryEntry();
    EXPECT_TRUE(applyFactoryRule(factory, L"Factory image", L"Recovery partition"));
    EXPECT_EQ(factory.imagePath, L"z:\\FactoryImage.QVX");
    EXPECT_EQ(factory.imageName, L"Factory image");
    // Once replaced the path no longer matches, and it stays the factory path.
    EXPECT_FALSE(applyFactoryRule(factory, L"Factory image", L"Recovery partition"));
    EXPECT_EQ(factory.imagePath, L"z:\\FactoryImage.QVX");

    // Each of the five values on its own keeps the entry's own path.
    const auto kept = [](void (*change)(RestoreJobParameters&)) {
        RestoreJobParameters job = factoryEntry();
        change(job);
        const std::wstring before = job.imagePath;
        return !applyFactoryRule(job, L"Factory image", L"Recovery partition") && job.imagePath == before;
    };
    EXPECT_TRUE(kept([](RestoreJobParameters& j) { j.imageSize = 1; }));
    EXPECT_TRUE(kept([](RestoreJobParameters& j) { j.diskId = 1; }));
    EXPECT_TRUE(kept([](RestoreJobParameters& j) { j.partId = 2; }));
    EXPECT_TRUE(kept([](RestoreJobParameters& j) { j.imageName = L"Factory Image"; }));
    EXPECT_TRUE(kept([](RestoreJobParameters& j) { j.imageName = L"Factory image "; }));
    EXPECT_TRUE(kept([](RestoreJobParameters& j) { j.imagePath = L"recovery partition"; }));
}

TEST(JobContent, ScriptIsFortyNineBytesOfFourCommands)
{
    EXPECT_EQ(std::strlen(diskpartScriptText), 49u);
    EXPECT_STREQ(diskpartScriptText, "select disk 0\r\nselect partition 1\r\nactive\r\nexit\r\n");
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

class JobFileCheck : public ::testing::Test {
protected:
    const JobKeys keys = backupJobKeys(mondayBackup());
    const std::wstring written = L"[Config]\r\n" + lines(keys);
};

TEST_F(JobFileCheck, AcceptsTheFileAsTheProfileWriterLeavesIt)
{
    EXPECT_TRUE(jobFileHolds(utf16File(written), keys));

    // Blanks and tabs around a value do not count: the writer may drop them.
    BackupJobParameters stamped = mondayBackup();
    stamped.description = L"2026-12-06 20:31 ";
    const JobKeys stampedKeys = backupJobKeys(stamped);
    std::wstring trimmed = L"[Config]\r\n" + lines(stampedKeys);
    trimmed.replace(trimmed.find(L"20:31 "), 6, L"20:31");
    EXPECT_TRUE(jobFileHolds(utf16File(trimmed), stampedKeys));
    std::wstring tabbed = written;
    tabbed.replace(tabbed.find(L"=Monday"), 7, L"=\t Monday\t");
    EXPECT_TRUE(jobFileHolds(utf16File(tabbed), keys));
}

TEST_F(JobFileCheck, RefusesAnythingElse)
{
    EXPECT_FALSE(jobFileHolds(utf16File(written, false), keys)) << "no byte-order mark";
    EXPECT_FALSE(jobFileHolds({}, keys));
    std::vector<std::uint8_t> odd = utf16File(written);
    odd.push_back(0);
    EXPECT_FALSE(jobFileHolds(odd, keys)) << "odd byte count";

    const auto refuses = [&](const std::wstring& text) { return !jobFileHolds(utf16File(text), keys); };
    EXPECT_TRUE(refuses(written.substr(0, written.size() - 2))) << "last line without CR LF";
    EXPECT_TRUE(refuses(written.substr(0, written.size() - 12))) << "cut off";
    EXPECT_TRUE(refuses(L"[config]\r\n" + lines(keys))) << "section name";
    EXPECT_TRUE(refuses(written + L"[Other]\r\nA=1\r\n")) << "a second section";
    EXPECT_TRUE(refuses(written + L"Extra=1\r\n")) << "a key too many";
    EXPECT_TRUE(refuses(L"\r\n" + written)) << "a blank line";
    EXPECT_TRUE(refuses(L"[Config]\r\n" + lines({keys[1], keys[0], keys[2], keys[3], keys[4], keys[5]})))
        << "order";
    std::wstring spacedKey = written;
    spacedKey.replace(spacedKey.find(L"Desc="), 5, L"Desc =");
    EXPECT_TRUE(refuses(spacedKey));
    std::wstring changed = written;
    changed.replace(changed.find(L"Monday\r"), 6, L"monday");
    EXPECT_TRUE(refuses(changed)) << "a value's case";
    std::wstring loneLineFeed = written;
    loneLineFeed.replace(loneLineFeed.find(L"\r\nDesc"), 2, L"\n");
    EXPECT_TRUE(refuses(loneLineFeed));
}

TEST_F(JobFileCheck, AValueThatBreaksTheLineNeverPasses)
{
    BackupJobParameters injected = mondayBackup();
    injected.description = L"Monday\r\n[Config]\r\nType=Restore";
    const JobKeys injectedKeys = backupJobKeys(injected);
    EXPECT_TRUE(breaksLine(injectedKeys[2].value));
    EXPECT_FALSE(jobFileHolds(utf16File(L"[Config]\r\n" + lines(injectedKeys)), injectedKeys));
    injected.description = L"Monday\n";
    EXPECT_TRUE(breaksLine(backupJobKeys(injected)[2].value));
    EXPECT_FALSE(breaksLine(L"Monday \t"));
}

} // namespace
} // namespace quorvane
