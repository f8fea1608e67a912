// Reading partition tables: the raw DRIVE_LAYOUT_INFORMATION that a layout
// request returns, and the master boot records of disk images made with the
// real sfdisk, compared with what `sfdisk --json` reports for the same image.
#include "disk/DriveLayout.h"
#include "disk/MasterBootRecord.h"

#include "native/support/ShellCommand.h"
#include "tests/support/SfdiskReport.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

using namespace quorvane;
using namespace quorvane::testing;
namespace fs = std::filesystem;

namespace {

// A returned buffer of exactly `entries` records and `extraBytes`; PartitionCount says `claimedCount`.
Bytes layoutBytes(std::uint32_t claimedCount, std::size_t entries, std::size_t extraBytes = 0)
{
    Bytes bytes(driveLayoutHeaderSize + entries * partitionInformationSize + extraBytes, 0);
    putLittleEndian(bytes, 0, claimedCount, 4);
    putLittleEndian(bytes, 4, 0xA1B2C3D4, 4);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t at = driveLayoutHeaderSize + i * partitionInformationSize;
        putLittleEndian(bytes, at, 0x0000'0123'4567'8000ULL + i, 8); // StartingOffset
        putLittleEndian(bytes, at + 8, 0x0000'00FF'0000'0000ULL, 8);  // PartitionLength
        putLittleEndian(bytes, at + 16, 0x89ABCDEF, 4);               // HiddenSectors
        putLittleEndian(bytes, at + 20, i + 1, 4);                    // PartitionNumber
        putLittleEndian(bytes, at + 24, 0xFFFFFFFF'00010107ULL, 8);   // type, boot, recognized, rewrite, alignment
    }
    return bytes;
}

TEST(DriveLayout, ReadsHeaderAndEveryFieldOfEachEntry)
{
    const auto layout = readDriveLayout(layoutBytes(2, 2));
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->signature, 0xA1B2C3D4u);
    ASSERT_EQ(layout->entries.size(), 2u);
    const PartitionInformation second{0x0000'0123'4567'8001LL, 0x0000'00FF'0000'0000LL, 0x89ABCDEF, 2, 0x07, 1, 1, 0};
    EXPECT_EQ(layout->entries[1], second);
}

// The buffers are exactly as long as the bytes returned, so a read past them
// is caught by AddressSanitizer.
TEST(DriveLayout, ReadsOnlyTheWholeEntriesThatBothTheCountAndTheBytesHold)
{
    for (std::uint32_t claimed : {3u, 4u, 2032u, 0x7FFFFFFFu, 0xFFFFFFFFu})
        EXPECT_EQ(readDriveLayout(layoutBytes(claimed, 2, 31))->entries.size(), 2u) << claimed;
    // A full 65000-byte buffer holds 2031 whole entries.
    Bytes full(65000, 0);
    putLittleEndian(full, 0, 5000, 4);
    EXPECT_EQ(readDriveLayout(full)->entries.size(), 2031u);
    EXPECT_EQ(readDriveLayout(layoutBytes(1, 3))->entries.size(), 1u);
    EXPECT_TRUE(readDriveLayout(layoutBytes(0, 0))->entries.empty());
    EXPECT_FALSE(readDriveLayout(std::vector<std::uint8_t>(7, 0xFF)));
    EXPECT_FALSE(readDriveLayout({}));
}

TEST(SfdiskImage, LayoutIsWhatSfdiskReportsNumberedAsWindowsNumbers)
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
    const fs::path folder = fs::temp_directory_path()
        / ("quorvane-mbr-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::create_directories(folder);
    const std::string image = (folder / "disk.img").string();
    quorvane::testing::Bytes sector(sectorSize);
    for (const Case& each : cases) {
        SCOPED_TRACE(each.why);
        std::ofstream(folder / "layout.sfdisk") << "label: dos\nlabel-id: 0x1234abcd\n" << each.script;
        runCommand("rm -f '" + image + "' && truncate -s " + each.size + " '" + image
                   + "' && sfdisk --quiet --no-reread --no-tell-kernel '" + image + "' < '"
                   + (folder / "layout.sfdisk").string() + "' 2>&1");
        std::ifstream(image, std::ios::binary).read(reinterpret_cast<char*>(sector.data()), sectorSize);
        const auto layout = driveLayoutFromMasterBootRecord(sector);
        ASSERT_TRUE(layout);
        EXPECT_EQ(layout->signature, 0x1234abcdu);
        std::array<PartitionInformation, 4> expected = quorvane::testing::sfdiskSlots(runCommand("sfdisk --json '" + image + "'"));
        ASSERT_NE(expected[0], PartitionInformation{}) << "sfdisk made no partition";
        for (std::size_t slot = 0; slot < 4; ++slot) {
            if (expected[slot].partitionType) {
                expected[slot].partitionNumber = each.numbers[slot];
                expected[slot].recognizedPartition = each.recognized[slot];
            }
        }
        EXPECT_EQ(layout->entries, std::vector<PartitionInformation>(expected.begin(), expected.end()));
    }
    fs::remove_all(folder);

    // An unreadable table gives no layout: cut short inside the table or
    // before the boot signature, a damaged boot signature, never partitioned.
    EXPECT_FALSE(driveLayoutFromMasterBootRecord(std::span(sector).first(300)));
    EXPECT_FALSE(driveLayoutFromMasterBootRecord(std::span(sector).first(511)));
    EXPECT_FALSE(driveLayoutFromMasterBootRecord({}));
    sector[511] = 0x00;
    EXPECT_FALSE(driveLayoutFromMasterBootRecord(sector));
    EXPECT_FALSE(driveLayoutFromMasterBootRecord(std::vector<std::uint8_t>(512, 0)));
}

} // namespace
