// The sandbox machine's stand-in diskpart: the script commands and what they do
// to a master boot record, on disks in memory and on an image made by sfdisk.
#include "tools/diskpart/StandInDiskpart.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace quorvane::standin {
namespace {

constexpr std::size_t tableOffset = 0x1BE;

// An MBR with these partition types in its four slots, boot signature set.
Sector masterBootRecord(std::array<std::uint8_t, 4> types, int activeSlot = -1)
{
    Sector sector{};
    for (int slot = 0; slot < 4; ++slot) {
        sector[tableOffset + slot * 16] = slot == activeSlot ? 0x80 : 0;
        sector[tableOffset + slot * 16 + 4] = types[slot];
    }
    sector[510] = 0x55;
    sector[511] = 0xAA;
    return sector;
}

std::array<std::uint8_t, 4> bootFlags(const Sector& sector)
{
    return {sector[0x1BE], sector[0x1CE], sector[0x1DE], sector[0x1EE]};
}

class DisksInMemory : public MachineDisks {
public:
    std::map<int, Sector> sectors;
    bool writable = true;
    int writes = 0;

    std::optional<Sector> readFirstSector(int disk) override
    {
        const auto found = sectors.find(disk);
        return found == sectors.end() ? std::nullopt : std::optional<Sector>(found->second);
    }
    bool writeFirstSector(int disk, const Sector& sector) override
    {
        if (!writable)
            return false;
        ++writes;
        sectors[disk] = sector;
        return true;
    }
};

constexpr char handOffScript[] = "select disk 0\r\nselect partition 1\r\nactive\r\nexit\r\n";

TEST(StandInDiskpart, MarksTheSelectedPartitionActiveAndClearsTheOthers)
{
    DisksInMemory disks;
    disks.sectors[0] = masterBootRecord({0x12, 0x07, 0x07, 0}, 1);
    disks.sectors[1] = masterBootRecord({0x07, 0, 0, 0}, 0);
    const ScriptRun run = runScript(handOffScript, disks);
    EXPECT_EQ(run.exitCode, success) << run.output;
    EXPECT_EQ(bootFlags(disks.sectors[0]), (std::array<std::uint8_t, 4>{0x80, 0, 0, 0}));
    EXPECT_EQ(bootFlags(disks.sectors[1]), (std::array<std::uint8_t, 4>{0x80, 0, 0, 0})) << "another disk";
    EXPECT_NE(run.output.find("marked the current partition as active"), std::string::npos);

    // Only the flag bytes change.
    Sector expected = masterBootRecord({0x12, 0x07, 0x07, 0}, 0);
    EXPECT_EQ(disks.sectors[0], expected);
}

TEST(StandInDiskpart, NumbersPartitionsAsWindowsDoesOnAnMbrDisk)
{
    // An empty slot and an extended container get no number.
    DisksInMemory disks;
    disks.sectors[2] = masterBootRecord({0, 0x05, 0x12, 0x07});
    EXPECT_EQ(runScript("select disk 2\nselect partition 2\nactive\n", disks).exitCode, success);
    EXPECT_EQ(bootFlags(disks.sectors[2]), (std::array<std::uint8_t, 4>{0, 0, 0, 0x80}));
    EXPECT_EQ(runScript("select disk 2\nselect partition 3\nactive\n", disks).exitCode, invalidArguments);
    EXPECT_EQ(bootFlags(disks.sectors[2]), (std::array<std::uint8_t, 4>{0, 0, 0, 0x80}));
}

TEST(StandInDiskpart, ReadsScriptsTheWayDiskpartDoes)
{
    DisksInMemory disks;
    disks.sectors[0] = masterBootRecord({0x12, 0x07, 0, 0}, 1);
    const ScriptRun run = runScript("\r\n  SELECT   Disk 0\r\n\r\n\tSelect PARTITION 1 \r\nActive\r\nEXIT", disks);
    EXPECT_EQ(run.exitCode, success) << run.output;
    EXPECT_EQ(bootFlags(disks.sectors[0])[0], 0x80);
    EXPECT_NE(run.output.find("Leaving DiskPart"), std::string::npos);
}

TEST(StandInDiskpart, StopsAtExitAndAtTheFirstError)
{
    DisksInMemory disks;
    disks.sectors[0] = masterBootRecord({0x12, 0x07, 0, 0}, 1);
    const Sector before = disks.sectors[0];
    EXPECT_EQ(runScript("select disk 0\nselect partition 1\nexit\nactive\n", disks).exitCode, success);
    EXPECT_EQ(runScript("select disk 0\nselect partition 1\nformat\nactive\n", disks).exitCode, syntaxError);
    EXPECT_EQ(disks.sectors[0], before);
    EXPECT_EQ(disks.writes, 0);
}

TEST(StandInDiskpart, ErrorsLeaveEveryDiskAsItWas)
{
    struct Case {
        const char* script;
        int exitCode;
    };
    const Case cases[] = {
        {"select disk 3\nselect partition 1\nactive\n", invalidArguments},      // no such disk
        {"select disk 0\nselect partition 4\nactive\n", invalidArguments},      // no such partition
        {"select disk 0\nselect partition 0\nactive\n", invalidArguments},
        {"active\n", syntaxError},                                               // nothing selected
        {"select disk 0\nactive\n", syntaxError},                                // no partition
        {"select partition 1\nactive\n", syntaxError},                           // no disk
        {"select disk 0\nselect partition 1\nselect disk 9\nactive\n", invalidArguments},
        {"select disk x\n", syntaxError},
        {"select disk -1\n", syntaxError},
        {"select disk 0 1\n", syntaxError},
        {"select disk\n", syntaxError},
        {"clean\n", syntaxError},
    };
    for (const Case& each : cases) {
        DisksInMemory disks;
        disks.sectors[0] = masterBootRecord({0x12, 0x07, 0x07, 0}, 1);
        const Sector before = disks.sectors[0];
        const ScriptRun run = runScript(each.script, disks);
        EXPECT_EQ(run.exitCode, each.exitCode) << each.script;
        EXPECT_EQ(disks.sectors[0], before) << each.script;
        EXPECT_EQ(disks.writes, 0) << each.script;
    }
}

TEST(StandInDiskpart, RefusesDisksWithoutAnMbrPartitionTable)
{
    DisksInMemory disks;
    disks.sectors[0] = masterBootRecord({0xEE, 0, 0, 0}); // GPT's protective record
    disks.sectors[1] = masterBootRecord({0x12, 0x07, 0, 0});
    disks.sectors[1][511] = 0; // no boot signature: no table
    EXPECT_EQ(runScript(handOffScript, disks).exitCode, invalidArguments);
    EXPECT_EQ(runScript("select disk 1\nselect partition 1\nactive\n", disks).exitCode, invalidArguments);
    EXPECT_EQ(disks.writes, 0);
}

TEST(StandInDiskpart, AFailedWriteIsAnError)
{
    DisksInMemory disks;
    disks.sectors[0] = masterBootRecord({0x12, 0x07, 0, 0}, 1);
    disks.writable = false;
    EXPECT_EQ(runScript(handOffScript, disks).exitCode, serviceFailure);
}

// The stand-in on a real image: partitioned by sfdisk, read back by sfdisk.
class StandInOnImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!run("command -v sfdisk >/dev/null 2>&1"))
            GTEST_SKIP() << "sfdisk is not installed (package fdisk)";
        char folder[] = "/tmp/quorvane-standin-XXXXXX";
        ASSERT_TRUE(mkdtemp(folder));
        folder_ = folder;
        image_ = folder_ / "disk0.img";
    }
    void TearDown() override
    {
        if (!folder_.empty())
            std::filesystem::remove_all(folder_);
    }

    // sfdisk lives in sbin, which a user's PATH may lack.
    static bool run(const std::string& command)
    {
        return std::system(("PATH=$PATH:/usr/sbin:/sbin; " + command).c_str()) == 0;
    }

    std::string sfdiskJson()
    {
        const auto out = folder_ / "layout.json";
        EXPECT_TRUE(run("sfdisk --json '" + image_.string() + "' > '" + out.string() + "'"));
        std::ifstream in(out);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // The partition numbers (the digits after the image's name) that sfdisk
    // reports bootable.
    std::vector<std::string> bootablePartitions(const std::string& json)
    {
        std::vector<std::string> numbers;
        const std::string node = "\"node\": \"" + image_.string();
        for (std::size_t at = json.find(node); at != std::string::npos;) {
            const std::size_t next = json.find(node, at + 1);
            const std::string partition = json.substr(at, next == std::string::npos ? std::string::npos : next - at);
            if (partition.find("\"bootable\": true") != std::string::npos)
                numbers.push_back(partition.substr(node.size(), partition.find('"', node.size()) - node.size()));
            at = next;
        }
        return numbers;
    }

    Sector firstSector()
    {
        Sector sector{};
        std::ifstream in(image_, std::ios::binary);
        in.read(reinterpret_cast<char*>(sector.data()), sector.size());
        return sector;
    }

    std::filesystem::path folder_;
    std::filesystem::path image_;
};

TEST_F(StandInOnImage, SfdiskSeesPartitionOneBootable)
{
    ASSERT_TRUE(run("truncate -s 200G '" + image_.string() + "' && printf '%s\\n' "
                    "'size=20G, type=12' 'size=100G, type=7, bootable' 'type=7' "
                    "| sfdisk --quiet '" + image_.string() + "'"));
    ASSERT_EQ(bootablePartitions(sfdiskJson()), std::vector<std::string>{"2"});
    const auto sizeBefore = std::filesystem::file_size(image_);
    const Sector before = firstSector();

    ImageFileDisks disks;
    disks.add(0, image_);
    const ScriptRun result = runScript(handOffScript, disks);
    EXPECT_EQ(result.exitCode, success) << result.output;

    EXPECT_EQ(bootablePartitions(sfdiskJson()), std::vector<std::string>{"1"});
    EXPECT_EQ(std::filesystem::file_size(image_), sizeBefore);
    Sector expected = before;
    expected[0x1BE] = 0x80;
    expected[0x1CE] = 0;
    EXPECT_EQ(firstSector(), expected) << "only the boot flags change";
}

} // namespace
} // namespace quorvane::standin
