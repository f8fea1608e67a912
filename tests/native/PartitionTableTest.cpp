// Reading partition tables: the raw DRIVE_LAYOUT_INFORMATION that a layout
// request returns, and master boot records that cannot be read.
#include "disk/DriveLayout.h"
#include "disk/MasterBootRecord.h"

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quorvane;
using namespace quorvane::testing;

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

// A master boot record is read only whole and signed: cut short inside the
// table or before the boot signature, a damaged boot signature, never
// partitioned. The default sandbox machine's disks, made by sfdisk, are read by
// the Windows sandbox disk map test.
TEST(MasterBootRecord, AnUnreadableTableGivesNoLayout)
{
    Bytes sector(sectorSize, 0);
    sector[0x1BE + 4] = 0x07;
    sector[510] = 0x55;
    sector[511] = 0xAA;
    ASSERT_TRUE(driveLayoutFromMasterBootRecord(sector));
    EXPECT_FALSE(driveLayoutFromMasterBootRecord(std::span(sector).first(300)));
    EXPECT_FALSE(driveLayoutFromMasterBootRecord(std::span(sector).first(511)));
    EXPECT_FALSE(driveLayoutFromMasterBootRecord({}));
    sector[511] = 0x00;
    EXPECT_FALSE(driveLayoutFromMasterBootRecord(sector));
    EXPECT_FALSE(driveLayoutFromMasterBootRecord(std::vector<std::uint8_t>(512, 0)));
}

} // namespace
