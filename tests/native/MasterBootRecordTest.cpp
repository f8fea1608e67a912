// The layout of MBR disk images made with the real sfdisk, compared with what
// `sfdisk --json` reports for the same image.
#include "disk/MasterBootRecord.h"

#include "native/support/RunCommand.h"
#include "tests/support/SfdiskReport.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

using namespace quorvane;
namespace fs = std::filesystem;

namespace {

std::string runCommand(const std::string& command)
{
    return quorvane::testing::runCommand("PATH=\"$PATH:/usr/sbin:/sbin\" " + command);
}

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

    // Partitions a sparse image of `size` by the sfdisk script; answers the first sector.
    quorvane::testing::Bytes partition(const std::string& size, const std::string& script)
    {
        std::ofstream(folder / "layout.sfdisk") << "label: dos\nlabel-id: 0x1234abcd\n" << script;
        runCommand("truncate -s " + size + " '" + image.string() + "' && sfdisk --quiet --no-reread --no-tell-kernel '"
                   + image.string() + "' < '" + (folder / "layout.sfdisk").string() + "' 2>&1");
        quorvane::testing::Bytes sector(sectorSize);
        std::ifstream(image, std::ios::binary).read(reinterpret_cast<char*>(sector.data()), sectorSize);
        return sector;
    }

    fs::path folder;
    fs::path image;
};

} // namespace

TEST_F(SfdiskImage, LayoutIsWhatSfdiskReportsNumberedAsWindowsNumbers)
{
    struct Case {
        const char* why;
        std::string size;
        std::string script;
        std::array<std::uint32_t, 4> numbers;
        std::array<std::uint8_t, 4> recognized;
    };
    const Case cases[] = {
        {"three primaries as on the usual disk 0", "200G",
         "size=20G, type=12\nsize=100G, type=7, bootable\nsize=50G, type=7\n", {1, 2, 3, 0}, {0, 1, 1, 0}},
        {"an empty slot between used ones", "4G",
         "disk.img1 : start=2048, size=1G, type=7\ndisk.img3 : start=4196352, size=1G, type=c\n", {1, 0, 2, 0},
         {1, 0, 1, 0}},
        {"an extended container with two logicals", "8G",
         "size=1G, type=7\nsize=4G, type=5\nsize=1G, type=7\ndisk.img5 : size=1G, type=b\n"
         "disk.img6 : size=1G, type=83\n",
         {1, 0, 2, 0}, {1, 0, 1, 0}},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.why);
        const auto layout = driveLayoutFromMasterBootRecord(partition(each.size, each.script));
        ASSERT_TRUE(layout);
        EXPECT_EQ(layout->signature, 0x1234abcdu);
        std::array<PartitionInformation, 4> expected = quorvane::testing::sfdiskSlots(runCommand("sfdisk --json '" + image.string() + "'"));
        ASSERT_NE(expected[0], PartitionInformation{}) << "sfdisk made no partition";
        for (std::size_t slot = 0; slot < 4; ++slot) {
            if (expected[slot].partitionType) {
                expected[slot].partitionNumber = each.numbers[slot];
                expected[slot].recognizedPartition = each.recognized[slot];
            }
        }
        EXPECT_EQ(layout->entries, std::vector<PartitionInformation>(expected.begin(), expected.end()));
    }
}

TEST_F(SfdiskImage, AnUnreadableTableGivesNoLayout)
{
    quorvane::testing::Bytes sector = partition("1G", "size=100M, type=7\n");
    ASSERT_TRUE(driveLayoutFromMasterBootRecord(sector));
    // Cut short inside the table or before the boot signature.
    EXPECT_FALSE(driveLayoutFromMasterBootRecord(std::span(sector).first(300)));
    EXPECT_FALSE(driveLayoutFromMasterBootRecord(std::span(sector).first(511)));
    EXPECT_FALSE(driveLayoutFromMasterBootRecord({}));
    sector[511] = 0x00; // a damaged boot signature
    EXPECT_FALSE(driveLayoutFromMasterBootRecord(sector));
    EXPECT_FALSE(driveLayoutFromMasterBootRecord(std::vector<std::uint8_t>(512, 0))); // never partitioned
}
