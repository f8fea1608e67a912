// The layout of MBR disk images made with the real sfdisk, compared with what
// `sfdisk --json` reports for the same image.
#include "disk/MasterBootRecord.h"

#include "native/support/RunCommand.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

using namespace quorvane;
namespace fs = std::filesystem;

namespace {

std::string runCommand(const std::string& command)
{
    return quorvane::testing::runCommand("PATH=\"$PATH:/usr/sbin:/sbin\" " + command);
}

// One partition as `sfdisk --json` reports it.
struct ReportedPartition {
    int node = 0; // the number at the end of the node name: 1..4 primary, 5.. logical
    std::uint64_t start = 0;
    std::uint64_t size = 0;
    int type = 0;
    bool bootable = false;
};

struct ReportedTable {
    std::uint32_t id = 0;
    std::vector<ReportedPartition> partitions;
};

ReportedTable readSfdiskJson(const std::string& json)
{
    ReportedTable table;
    std::smatch match;
    if (std::regex_search(json, match, std::regex(R"re("id":\s*"0x([0-9a-fA-F]+)")re")))
        table.id = static_cast<std::uint32_t>(std::stoul(match[1], nullptr, 16));
    const std::regex partition(
        R"re(\{\s*"node":\s*"[^"]*?(\d+)",\s*"start":\s*(\d+),\s*"size":\s*(\d+),\s*"type":\s*"([0-9a-fA-F]+)"(,\s*"bootable":\s*true)?)re");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), partition); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        table.partitions.push_back({std::stoi(m[1]), std::stoull(m[2]), std::stoull(m[3]),
                                    std::stoi(m[4], nullptr, 16), m[5].matched});
    }
    return table;
}

// A sparse image partitioned by sfdisk from `script`, in a folder of its own.
class SfdiskImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path()
            / ("quorvane-mbr-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-"
               + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
        image = folder / "disk.img";
    }
    void TearDown() override { fs::remove_all(folder); }

    void partition(const std::string& size, const std::string& script)
    {
        ASSERT_EQ(std::system(("truncate -s " + size + " '" + image.string() + "'").c_str()), 0);
        const fs::path scriptFile = folder / "layout.sfdisk";
        std::ofstream(scriptFile) << "label: dos\nlabel-id: 0x1234abcd\n" << script;
        runCommand("sfdisk --quiet --no-reread --no-tell-kernel '" + image.string() + "' < '" + scriptFile.string()
                   + "' 2>&1");
        reported = readSfdiskJson(runCommand("sfdisk --json '" + image.string() + "'"));
        ASSERT_FALSE(reported.partitions.empty()) << "sfdisk made no partition";
    }

    std::vector<std::uint8_t> firstSector(std::size_t size = sectorSize) const
    {
        std::vector<std::uint8_t> bytes(size);
        std::ifstream(image, std::ios::binary).read(reinterpret_cast<char*>(bytes.data()),
                                                     static_cast<std::streamsize>(size));
        return bytes;
    }

    // The entry of table slot `slot` against sfdisk's report of that slot.
    static void expectSameAs(const PartitionInformation& entry, const ReportedPartition& reported)
    {
        SCOPED_TRACE("sfdisk node " + std::to_string(reported.node));
        EXPECT_EQ(entry.startingOffset, static_cast<std::int64_t>(reported.start * 512));
        EXPECT_EQ(entry.partitionLength, static_cast<std::int64_t>(reported.size * 512));
        EXPECT_EQ(entry.hiddenSectors, reported.start);
        EXPECT_EQ(entry.partitionType, reported.type);
        EXPECT_EQ(entry.bootIndicator, reported.bootable ? 1 : 0);
        EXPECT_EQ(entry.rewritePartition, 0);
    }

    fs::path folder;
    fs::path image;
    ReportedTable reported;
};

} // namespace

TEST_F(SfdiskImage, ThreePrimaryPartitionsAsOnTheUsualDiskZero)
{
    partition("200G", "size=20G, type=12\nsize=100G, type=7, bootable\nsize=50G, type=7\n");
    const auto layout = driveLayoutFromMasterBootRecord(firstSector());
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->signature, reported.id);
    EXPECT_EQ(layout->signature, 0x1234abcdu);
    ASSERT_EQ(layout->entries.size(), 4u);
    ASSERT_EQ(reported.partitions.size(), 3u);
    for (std::size_t slot = 0; slot < 3; ++slot) {
        expectSameAs(layout->entries[slot], reported.partitions[slot]);
        EXPECT_EQ(layout->entries[slot].partitionNumber, slot + 1);
    }
    EXPECT_EQ(layout->entries[0].partitionLength, 20LL << 30);
    EXPECT_EQ(layout->entries[0].recognizedPartition, 0); // the recovery type 0x12
    EXPECT_EQ(layout->entries[1].recognizedPartition, 1);
    EXPECT_EQ(layout->entries[3], PartitionInformation{});
}

TEST_F(SfdiskImage, AnEmptySlotBetweenUsedOnesIsReportedAndNotNumbered)
{
    partition("4G", "disk.img1 : start=2048, size=1G, type=7\n"
                    "disk.img3 : start=4196352, size=1G, type=c\n");
    const auto layout = driveLayoutFromMasterBootRecord(firstSector());
    ASSERT_TRUE(layout);
    ASSERT_EQ(reported.partitions.size(), 2u);
    ASSERT_EQ(reported.partitions[1].node, 3);
    ASSERT_EQ(layout->entries.size(), 4u);
    expectSameAs(layout->entries[0], reported.partitions[0]);
    EXPECT_EQ(layout->entries[1], PartitionInformation{});
    expectSameAs(layout->entries[2], reported.partitions[1]);
    // Windows numbers the used entries, not the slots: slot 3 is partition 2.
    EXPECT_EQ(layout->entries[0].partitionNumber, 1u);
    EXPECT_EQ(layout->entries[2].partitionNumber, 2u);
    EXPECT_EQ(layout->entries[2].recognizedPartition, 1); // FAT32 with LBA
}

TEST_F(SfdiskImage, AnExtendedPartitionIsAnUnnumberedContainerWithoutItsLogicals)
{
    partition("8G", "size=1G, type=7\n"
                    "size=4G, type=5\n"
                    "size=1G, type=7\n"
                    "disk.img5 : size=1G, type=b\n"
                    "disk.img6 : size=1G, type=83\n");
    const auto layout = driveLayoutFromMasterBootRecord(firstSector());
    ASSERT_TRUE(layout);
    // sfdisk: primaries 1..3 with the container as 2, logicals 5 and 6.
    ASSERT_EQ(reported.partitions.size(), 5u);
    ASSERT_EQ(reported.partitions[1].type, 0x05);
    ASSERT_EQ(reported.partitions[3].node, 5);

    ASSERT_EQ(layout->entries.size(), 4u);
    for (std::size_t slot = 0; slot < 3; ++slot)
        expectSameAs(layout->entries[slot], reported.partitions[slot]);
    EXPECT_EQ(layout->entries[0].partitionNumber, 1u);
    EXPECT_EQ(layout->entries[1].partitionNumber, 0u);
    EXPECT_EQ(layout->entries[1].recognizedPartition, 0);
    EXPECT_EQ(layout->entries[2].partitionNumber, 2u);
    EXPECT_EQ(layout->entries[3], PartitionInformation{});
}

TEST_F(SfdiskImage, AnUnreadableTableGivesNoLayout)
{
    partition("1G", "size=100M, type=7\n");
    ASSERT_TRUE(driveLayoutFromMasterBootRecord(firstSector()));

    // Cut short: the image ends inside the table or before the boot signature.
    EXPECT_FALSE(driveLayoutFromMasterBootRecord(firstSector(300)));
    EXPECT_FALSE(driveLayoutFromMasterBootRecord(firstSector(511)));
    EXPECT_FALSE(driveLayoutFromMasterBootRecord({}));

    // A damaged boot signature: sfdisk too finds no table any more.
    std::vector<std::uint8_t> sector = firstSector();
    sector[511] = 0x00;
    EXPECT_FALSE(driveLayoutFromMasterBootRecord(sector));
    {
        std::fstream file(image, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(511);
        file.put(0);
    }
    EXPECT_EQ(runCommand("sfdisk --json '" + image.string() + "' 2>/dev/null").find("partitions"), std::string::npos);

    // A disk that was never partitioned.
    EXPECT_FALSE(driveLayoutFromMasterBootRecord(std::vector<std::uint8_t>(512, 0)));
}
