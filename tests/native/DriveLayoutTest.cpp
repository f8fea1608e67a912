// Reading the raw DRIVE_LAYOUT_INFORMATION that a layout request returns.
#include "disk/DriveLayout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quorvane;

namespace {

void putLittleEndian(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A returned buffer of exactly `entries` records; PartitionCount says `claimedCount`.
std::vector<std::uint8_t> layoutBytes(std::uint32_t claimedCount, std::size_t entries, std::size_t extraBytes = 0)
{
    std::vector<std::uint8_t> bytes(driveLayoutHeaderSize + entries * partitionInformationSize + extraBytes, 0);
    putLittleEndian(bytes, 0, claimedCount, 4);
    putLittleEndian(bytes, 4, 0xA1B2C3D4, 4);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t at = driveLayoutHeaderSize + i * partitionInformationSize;
        putLittleEndian(bytes, at, 0x0000'0123'4567'8000ULL + i, 8); // StartingOffset
        putLittleEndian(bytes, at + 8, 0x0000'00FF'0000'0000ULL, 8);  // PartitionLength
        putLittleEndian(bytes, at + 16, 0x89ABCDEF, 4);               // HiddenSectors
        putLittleEndian(bytes, at + 20, i + 1, 4);                    // PartitionNumber
        bytes[at + 24] = 0x07;
        bytes[at + 25] = 1;
        bytes[at + 26] = 1;
        bytes[at + 27] = 0;
        putLittleEndian(bytes, at + 28, 0xFFFFFFFF, 4); // alignment: never read
    }
    return bytes;
}

} // namespace

TEST(DriveLayout, ReadsHeaderAndEveryFieldOfEachEntry)
{
    const std::vector<std::uint8_t> bytes = layoutBytes(2, 2);
    const auto layout = readDriveLayout(bytes);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->signature, 0xA1B2C3D4u);
    ASSERT_EQ(layout->entries.size(), 2u);
    const PartitionInformation& second = layout->entries[1];
    EXPECT_EQ(second.startingOffset, 0x0000'0123'4567'8001LL);
    EXPECT_EQ(second.partitionLength, 0x0000'00FF'0000'0000LL);
    EXPECT_EQ(second.hiddenSectors, 0x89ABCDEFu);
    EXPECT_EQ(second.partitionNumber, 2u);
    EXPECT_EQ(second.partitionType, 0x07);
    EXPECT_EQ(second.bootIndicator, 1);
    EXPECT_EQ(second.recognizedPartition, 1);
    EXPECT_EQ(second.rewritePartition, 0);
}

// The buffers below are exactly as long as the bytes returned, so a read past
// them is caught by AddressSanitizer.
TEST(DriveLayout, ACountBeyondTheReturnedBytesReadsOnlyTheWholeEntriesThere)
{
    for (std::uint32_t claimed : {3u, 4u, 2032u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        const auto layout = readDriveLayout(layoutBytes(claimed, 2, 31));
        ASSERT_TRUE(layout) << claimed;
        EXPECT_EQ(layout->entries.size(), 2u) << claimed;
    }
    // A full 65000-byte buffer holds 2031 whole entries.
    std::vector<std::uint8_t> full(65000, 0);
    putLittleEndian(full, 0, 5000, 4);
    EXPECT_EQ(readDriveLayout(full)->entries.size(), 2031u);
}

TEST(DriveLayout, AFewerCountThanEntriesAndShortAnswers)
{
    EXPECT_EQ(readDriveLayout(layoutBytes(1, 3))->entries.size(), 1u);
    EXPECT_TRUE(readDriveLayout(layoutBytes(0, 0))->entries.empty());
    const std::vector<std::uint8_t> shortHeader(7, 0xFF);
    EXPECT_FALSE(readDriveLayout(shortHeader));
    EXPECT_FALSE(readDriveLayout({}));
}
