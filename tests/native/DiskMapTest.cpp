// The disk map over a fake machine: which volumes are scanned, how layout
// entries meet volumes, and what the three questions answer.
#include "native/support/FakeDiskDevices.h"

#include <gtest/gtest.h>

using namespace quorvane;
using quorvane::testing::FakeDiskDevices;
using quorvane::testing::partition;

namespace {

std::string volumeLetters(const DiskMap& map)
{
    std::string letters;
    for (const VolumeRecord& volume : map.volumes())
        letters += volume.driveLetter;
    return letters;
}

} // namespace

// The default machine's letters, signatures and lookups are seen by the
// Windows sandbox tests; here what an answer holds when nothing matches, and
// what is left among the volumes.
TEST(DiskMap, UsualMachineWithAStickThatNoDiskHolds)
{
    FakeDiskDevices devices = quorvane::testing::usualMachine();
    devices.addVolume('g', partition(1, 1, 64)); // no disk 0..9 holds it
    DiskMap map(devices);
    map.refresh();

    ASSERT_EQ(map.partitions().size(), 3u);
    EXPECT_EQ(map.driveLetterOf(3, 1), 0);
    const PartitionRecord none = map.findPartition(0, 1);
    EXPECT_TRUE(none.diskNumber == 0 && none.diskSignature == 0 && none.driveLetter == 0);
    const PartitionRecord data = map.findPartition(0, 3);
    EXPECT_EQ(data.driveLetter, 'd');
    EXPECT_EQ(data.info, devices.layouts[0].entries[2]);
    // Only the volume that no partition claimed stays among the volumes.
    EXPECT_EQ(volumeLetters(map), "g");

    // Letters in either case; the caller's disk number is left alone when nothing matches.
    std::int32_t disk = -7;
    EXPECT_EQ(map.partitionOfDriveLetter('D', disk), 3u);
    EXPECT_EQ(disk, 0);
    for (char letter : {'g', 'q', '\0'}) {
        disk = 42;
        EXPECT_EQ(map.partitionOfDriveLetter(letter, disk), 0u) << letter;
        EXPECT_EQ(disk, 42);
    }

    // A refresh starts again from the disks as they are now.
    devices.layouts.erase(1);
    devices.fixedLetters.erase('c');
    devices.addVolume('f', devices.layouts[0].entries[1]);
    map.refresh();
    EXPECT_EQ(map.driveLetterOf(1, 1), 0);
    EXPECT_EQ(map.driveLetterOf(2, 0), 'f');
    EXPECT_EQ(volumeLetters(map), "eg");
}

// An empty layout entry (all zero), as a volume may answer too, never takes a letter.
TEST(DiskMap, OnlyFixedVolumesOtherThanXAndOnlyDisksZeroToNineAreScanned)
{
    FakeDiskDevices devices;
    const PartitionInformation system = partition(1, 1, 1000);
    devices.layouts[0] = {1, {PartitionInformation{}, system}};
    devices.layouts[9] = {9, {partition(2, 1, 1000)}};
    devices.layouts[10] = {10, {partition(3, 1, 1000)}};
    devices.addVolume('c', PartitionInformation{});
    devices.addVolume('x', system);
    devices.addVolume('r', system, false); // removable, optical, network or RAM drive
    devices.addVolume('d', devices.layouts[9].entries[0]);
    devices.addVolume('k', devices.layouts[10].entries[0]);

    DiskMap map(devices);
    map.refresh();
    ASSERT_EQ(map.partitions().size(), 1u);
    EXPECT_EQ(map.driveLetterOf(2, 9), 'd');
    EXPECT_EQ(volumeLetters(map), "ck");
    EXPECT_EQ(devices.askedForType.count('x'), 0u);
    EXPECT_EQ(devices.askedForType.size(), 25u);
    EXPECT_EQ(devices.askedForInformation.count('r'), 0u);
    EXPECT_EQ(devices.askedDisks, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));

    devices.fixedLetters['r'] = true;
    map.refresh();
    EXPECT_EQ(map.driveLetterOf(1, 0), 'r');

    // A letter that does not exist is not asked about at all.
    devices.presentLetters = 1u << ('d' - 'a');
    devices.askedForType.clear();
    map.refresh();
    EXPECT_EQ(devices.askedForType, (std::set<char>{'d'}));
    EXPECT_EQ(map.driveLetterOf(2, 9), 'd');
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
    for (char letter : {'k', 'f', 'm'})
        devices.addVolume(letter, same);
    devices.addVolume('h', sameButSecond);

    DiskMap map(devices);
    map.refresh();
    std::string records;
    for (const PartitionRecord& record : map.partitions())
        records += record.driveLetter + std::to_string(record.diskNumber);
    EXPECT_EQ(records, "f1h1k3m3");
    // Both entries of disk 3 have number 1: the first record answers.
    EXPECT_EQ(map.driveLetterOf(1, 3), 'k');
    std::int32_t disk = -1;
    EXPECT_EQ(map.partitionOfDriveLetter('M', disk), 1u);
    EXPECT_EQ(disk, 3);
}

TEST(DiskMap, EveryFieldOfThePartitionInformationMustAgree)
{
    PartitionInformation entry = partition(2, 20481, 102400);
    entry.bootIndicator = 1;
    const std::vector<void (*)(PartitionInformation&)> changes = {
        [](auto& i) { i.startingOffset += 512; }, [](auto& i) { i.partitionLength -= 512; },
        [](auto& i) { i.hiddenSectors += 1; },    [](auto& i) { i.partitionNumber = 3; },
        [](auto& i) { i.partitionType = 0x0C; },  [](auto& i) { i.bootIndicator = 0; },
        [](auto& i) { i.recognizedPartition = 0; }, [](auto& i) { i.rewritePartition = 1; },
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
    }
}

// Disk 1 is a sector clone of disk 0: the records alone cannot tell the two
// data partitions apart, the volumes' device numbers can. A volume that does
// not say where it lies is matched by its record alone, as before.
TEST(DiskMap, VolumesOfAClonedDiskGoToTheDiskTheyLieOn)
{
    FakeDiskDevices devices = quorvane::testing::usualMachine();
    devices.layouts[1] = devices.layouts[0];
    devices.volumeInfo.erase('e');
    devices.fixedLetters.erase('e');
    devices.addVolume('d', devices.layouts[0].entries[2]);
    devices.deviceNumbers['d'] = {1, 3};
    devices.addVolume('f', devices.layouts[0].entries[2]);
    devices.deviceNumbers['f'] = {0, 3};
    devices.addVolume('g', devices.layouts[0].entries[1]); // says nothing: the first system partition met
    devices.deviceNumbers['c'] = {1, 2};

    DiskMap map(devices);
    map.refresh();
    EXPECT_EQ(map.driveLetterOf(3, 0), 'f');
    EXPECT_EQ(map.driveLetterOf(3, 1), 'd');
    EXPECT_EQ(map.driveLetterOf(2, 0), 'g');
    EXPECT_EQ(map.driveLetterOf(2, 1), 'c');
    std::int32_t disk = -1;
    EXPECT_EQ(map.partitionOfDriveLetter('F', disk), 3u);
    EXPECT_EQ(disk, 0);

    // A volume whose number names a partition no layout record of its disk
    // matches gets no letter.
    devices.deviceNumbers['f'] = {0, 2};
    map.refresh();
    EXPECT_EQ(map.driveLetterOf(3, 0), 0);
}
