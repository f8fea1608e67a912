// The disk map over a fake machine: which volumes are scanned, how layout
// entries meet volumes, and what the three questions answer.
#include "disk/DiskDevices.h"
#include "disk/DiskMap.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace quorvane;

namespace {

constexpr std::int64_t mebibyte = 1024 * 1024;

PartitionInformation partition(std::uint32_t number, std::int64_t startMiB, std::int64_t lengthMiB,
                               std::uint8_t type = 0x07)
{
    PartitionInformation info;
    info.startingOffset = startMiB * mebibyte;
    info.partitionLength = lengthMiB * mebibyte;
    info.hiddenSectors = static_cast<std::uint32_t>(startMiB * 2048);
    info.partitionNumber = number;
    info.partitionType = type;
    info.recognizedPartition = type == 0x07;
    return info;
}

class FakeDiskDevices : public DiskDevices {
public:
    // A fixed volume (or one of another drive type) standing on `info`.
    void addVolume(char letter, const PartitionInformation& info, bool fixed = true)
    {
        fixedLetters[letter] = fixed;
        volumeInfo[letter] = info;
    }

    bool isFixedDrive(char letter) override
    {
        askedForType.insert(letter);
        const auto found = fixedLetters.find(letter);
        return found != fixedLetters.end() && found->second;
    }
    std::optional<PartitionInformation> volumePartitionInformation(char letter) override
    {
        askedForInformation.insert(letter);
        const auto found = volumeInfo.find(letter);
        return found == volumeInfo.end() ? std::nullopt : std::optional(found->second);
    }
    std::optional<DriveLayout> driveLayout(int diskNumber) override
    {
        askedDisks.insert(diskNumber);
        const auto found = layouts.find(diskNumber);
        return found == layouts.end() ? std::nullopt : std::optional(found->second);
    }
    bool readFirstSectorOfDiskZero(FirstSector&) override { return false; }

    std::map<char, bool> fixedLetters;
    std::map<char, PartitionInformation> volumeInfo;
    std::map<int, DriveLayout> layouts;
    std::set<char> askedForType;
    std::set<char> askedForInformation;
    std::set<int> askedDisks;
};

// The usual PC: recovery, system (C) and data (D) on disk 0, one lettered
// partition (E) on disk 1.
class DiskMapOnUsualMachine : public ::testing::Test {
protected:
    void SetUp() override
    {
        devices.layouts[0] = {0x5ab0d000,
                              {partition(1, 1, 20480, 0x12), partition(2, 20481, 102400),
                               partition(3, 122881, 51200), PartitionInformation{}}};
        devices.layouts[1] = {0x5ab0d001, {partition(1, 1, 102399)}};
        devices.addVolume('c', devices.layouts[0].entries[1]);
        devices.addVolume('d', devices.layouts[0].entries[2]);
        devices.addVolume('e', devices.layouts[1].entries[0]);
        devices.addVolume('g', partition(1, 1, 64)); // a stick that no disk 0..9 holds
    }

    FakeDiskDevices devices;
};

} // namespace

TEST_F(DiskMapOnUsualMachine, LetteredPartitionsAreMatchedAndTheRestIsLeftOut)
{
    DiskMap map(devices);
    map.refresh();

    ASSERT_EQ(map.partitions().size(), 3u);
    EXPECT_EQ(map.driveLetterOf(2, 0), 'c');
    EXPECT_EQ(map.driveLetterOf(3, 0), 'd');
    EXPECT_EQ(map.driveLetterOf(1, 1), 'e');
    // The recovery partition has no letter.
    EXPECT_EQ(map.driveLetterOf(1, 0), 0);
    const PartitionRecord none = map.findPartition(0, 1);
    EXPECT_EQ(none.diskNumber, 0);
    EXPECT_EQ(none.diskSignature, 0u);
    EXPECT_EQ(none.driveLetter, 0);
    EXPECT_EQ(none.info, PartitionInformation{});

    const PartitionRecord data = map.findPartition(0, 3);
    EXPECT_EQ(data.diskSignature, 0x5ab0d000u);
    EXPECT_EQ(data.driveLetter, 'd');
    EXPECT_EQ(data.info, devices.layouts[0].entries[2]);
    EXPECT_EQ(map.findPartition(1, 1).diskSignature, 0x5ab0d001u);

    // Only the volume that no partition claimed stays among the volumes.
    ASSERT_EQ(map.volumes().size(), 1u);
    EXPECT_EQ(map.volumes()[0].driveLetter, 'g');
}

TEST_F(DiskMapOnUsualMachine, LetterQueriesIgnoreCaseAndLeaveTheDiskAloneWhenNothingMatches)
{
    DiskMap map(devices);
    map.refresh();

    std::int32_t disk = -7;
    EXPECT_EQ(map.partitionOfDriveLetter('D', disk), 3u);
    EXPECT_EQ(disk, 0);
    disk = -7;
    EXPECT_EQ(map.partitionOfDriveLetter('d', disk), 3u);
    EXPECT_EQ(disk, 0);
    EXPECT_EQ(map.partitionOfDriveLetter('E', disk), 1u);
    EXPECT_EQ(disk, 1);

    disk = 42;
    EXPECT_EQ(map.partitionOfDriveLetter('g', disk), 0u); // a volume, but on no scanned disk
    EXPECT_EQ(map.partitionOfDriveLetter('q', disk), 0u);
    EXPECT_EQ(map.partitionOfDriveLetter(0, disk), 0u);
    EXPECT_EQ(disk, 42);
    EXPECT_EQ(map.driveLetterOf(9, 0), 0);
    EXPECT_EQ(map.driveLetterOf(3, 1), 0);
}

TEST_F(DiskMapOnUsualMachine, RefreshStartsAgainFromTheDisksAsTheyAreNow)
{
    DiskMap map(devices);
    map.refresh();
    ASSERT_EQ(map.driveLetterOf(1, 1), 'e');

    devices.layouts.erase(1); // the second disk is gone
    devices.volumeInfo['f'] = devices.layouts[0].entries[1];
    devices.fixedLetters.erase('c');
    devices.fixedLetters['f'] = true; // and the system partition is now F
    map.refresh();

    EXPECT_EQ(map.driveLetterOf(1, 1), 0);
    EXPECT_EQ(map.driveLetterOf(2, 0), 'f');
    EXPECT_EQ(map.partitions().size(), 2u);
    EXPECT_EQ(map.volumes().size(), 2u); // e and g
}

TEST(DiskMap, OnlyFixedVolumesOtherThanXAreScanned)
{
    FakeDiskDevices devices;
    const PartitionInformation system = partition(1, 1, 1000);
    devices.layouts[0] = {1, {system}};
    devices.addVolume('x', system);
    devices.addVolume('r', system, false); // removable, optical, network or RAM drive

    DiskMap map(devices);
    map.refresh();

    EXPECT_TRUE(map.partitions().empty());
    EXPECT_TRUE(map.volumes().empty());
    EXPECT_EQ(devices.askedForType.count('x'), 0u);
    EXPECT_EQ(devices.askedForType.size(), 25u);
    EXPECT_EQ(devices.askedForInformation.count('r'), 0u);

    devices.fixedLetters['r'] = true;
    map.refresh();
    EXPECT_EQ(map.driveLetterOf(1, 0), 'r');
}

TEST(DiskMap, AnEmptyLayoutEntryNeverTakesALetter)
{
    FakeDiskDevices devices;
    // A volume that answers with all-zero information, and a layout whose
    // first slot is empty (all zero as well).
    devices.layouts[0] = {1, {PartitionInformation{}, partition(1, 1, 1000)}};
    devices.addVolume('c', PartitionInformation{});
    devices.addVolume('d', partition(1, 1, 1000));

    DiskMap map(devices);
    map.refresh();

    ASSERT_EQ(map.partitions().size(), 1u);
    EXPECT_EQ(map.partitions()[0].driveLetter, 'd');
    EXPECT_EQ(map.driveLetterOf(0, 0), 0);
    ASSERT_EQ(map.volumes().size(), 1u);
    EXPECT_EQ(map.volumes()[0].driveLetter, 'c');
}

TEST(DiskMap, IdenticalPartitionsTakeTheLowestLettersInDiskThenEntryOrder)
{
    FakeDiskDevices devices;
    const PartitionInformation same = partition(1, 1, 1000);
    PartitionInformation sameButSecond = same;
    sameButSecond.partitionNumber = 2;
    // Two cloned disks; disk 3 even holds the same entry twice.
    devices.layouts[3] = {3, {same, same}};
    devices.layouts[1] = {1, {same, sameButSecond}};
    devices.addVolume('k', same);
    devices.addVolume('f', same);
    devices.addVolume('m', same);
    devices.addVolume('h', sameButSecond);

    DiskMap map(devices);
    map.refresh();

    ASSERT_EQ(map.partitions().size(), 4u);
    EXPECT_EQ(map.partitions()[0].diskNumber, 1);
    EXPECT_EQ(map.partitions()[0].driveLetter, 'f');
    EXPECT_EQ(map.partitions()[1].driveLetter, 'h');
    EXPECT_EQ(map.partitions()[2].diskNumber, 3);
    EXPECT_EQ(map.partitions()[2].driveLetter, 'k');
    EXPECT_EQ(map.partitions()[3].driveLetter, 'm');
    // Both entries of disk 3 have number 1: the first record answers.
    EXPECT_EQ(map.driveLetterOf(1, 3), 'k');
    std::int32_t disk = -1;
    EXPECT_EQ(map.partitionOfDriveLetter('M', disk), 1u);
    EXPECT_EQ(disk, 3);
}

TEST(DiskMap, EveryFieldOfThePartitionInformationMustAgree)
{
    const PartitionInformation entry = [] {
        PartitionInformation info = partition(2, 20481, 102400);
        info.bootIndicator = 1;
        return info;
    }();
    const std::vector<void (*)(PartitionInformation&)> changes = {
        [](PartitionInformation& i) { i.startingOffset += 512; },
        [](PartitionInformation& i) { i.partitionLength -= 512; },
        [](PartitionInformation& i) { i.hiddenSectors += 1; },
        [](PartitionInformation& i) { i.partitionNumber = 3; },
        [](PartitionInformation& i) { i.partitionType = 0x0C; },
        [](PartitionInformation& i) { i.bootIndicator = 0; },
        [](PartitionInformation& i) { i.recognizedPartition = 0; },
        [](PartitionInformation& i) { i.rewritePartition = 1; },
    };
    for (std::size_t field = 0; field < changes.size(); ++field) {
        FakeDiskDevices devices;
        devices.layouts[0] = {1, {entry}};
        PartitionInformation volume = entry;
        changes[field](volume);
        devices.addVolume('c', volume);

        DiskMap map(devices);
        map.refresh();
        EXPECT_EQ(map.driveLetterOf(2, 0), 0) << "field " << field;

        devices.addVolume('c', entry);
        map.refresh();
        EXPECT_EQ(map.driveLetterOf(2, 0), 'c') << "field " << field;
    }
}

TEST(DiskMap, OnlyDisksZeroToNineAreScanned)
{
    FakeDiskDevices devices;
    const PartitionInformation entry = partition(1, 1, 1000);
    devices.layouts[10] = {10, {entry}};
    devices.layouts[9] = {9, {partition(2, 1, 1000)}};
    devices.addVolume('c', entry);
    devices.addVolume('d', devices.layouts[9].entries[0]);

    DiskMap map(devices);
    map.refresh();

    EXPECT_EQ(devices.askedDisks, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(map.driveLetterOf(2, 9), 'd');
    EXPECT_EQ(map.driveLetterOf(1, 10), 0);
}
