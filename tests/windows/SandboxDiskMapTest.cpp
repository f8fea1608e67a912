// The sandbox edition's disks: the default machine beside the programs (made
// by tools/make-sandbox.sh with the real sfdisk) and machines of other shapes
// made in scratch folders.
#include "disk/DiskMap.h"
#include "platform/sandbox/SandboxDiskDevices.h"
#include "support/ProgramUnderTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t gibibyte = 1LL << 30;

void writeText(const fs::path& file, const std::string& text)
{
    std::ofstream(file, std::ios::binary) << text;
}

void writeBytes(const fs::path& file, const FirstSector& sector, std::size_t size = sectorSize)
{
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(sector.data()),
                                                static_cast<std::streamsize>(size));
}

// The master boot record of the default machine's disk `n`.
FirstSector defaultFirstSector(int n)
{
    FirstSector sector{};
    std::ifstream(buildFolder() / L"Sandbox" / (L"disk" + std::to_wstring(n) + L".img"), std::ios::binary)
        .read(reinterpret_cast<char*>(sector.data()), sectorSize);
    return sector;
}

TEST(SandboxDiskMap, DefaultMachineLettersSystemDataAndTheSecondDisk)
{
    DiskMap map; // the machine beside the program
    map.refresh();

    EXPECT_EQ(map.driveLetterOf(2, 0), 'c');
    EXPECT_EQ(map.driveLetterOf(3, 0), 'd');
    EXPECT_EQ(map.driveLetterOf(1, 1), 'e');
    // The recovery partition has no letter, so no record.
    EXPECT_EQ(map.driveLetterOf(1, 0), 0);
    EXPECT_EQ(map.findPartition(0, 1).info, PartitionInformation{});
    ASSERT_EQ(map.partitions().size(), 3u);

    const PartitionRecord system = map.findPartition(0, 2);
    EXPECT_EQ(system.diskSignature, 0x5ab0d000u);
    EXPECT_EQ(system.info.partitionLength, 100 * gibibyte);
    EXPECT_EQ(system.info.bootIndicator, 1);
    EXPECT_EQ(map.findPartition(0, 3).info.partitionLength, 50 * gibibyte);
    EXPECT_EQ(map.findPartition(1, 1).diskSignature, 0x5ab0d001u);

    std::int32_t disk = -1;
    EXPECT_EQ(map.partitionOfDriveLetter('E', disk), 1u);
    EXPECT_EQ(disk, 1);
    // Wine's own z: is a fixed drive too, but no sandbox volume.
    EXPECT_TRUE(map.volumes().empty());

    FirstSector sector{};
    ASSERT_TRUE(machineDiskDevices().readFirstSectorOfDiskZero(sector));
    EXPECT_EQ(sector[0x1C2], 0x12);
    EXPECT_EQ(sector[0x1FE], 0x55);
}

TEST(SandboxDiskMap, RefreshOnTheDefaultMachineTakesLittleTime)
{
    constexpr int runs = 201;
    std::vector<double> milliseconds;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        DiskMap map;
        map.refresh();
        milliseconds.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        ASSERT_EQ(map.partitions().size(), 3u);
    }
    std::ranges::sort(milliseconds);
    const double median = milliseconds[runs / 2];
    std::cout << "DiskMap::refresh on the default sandbox machine: median " << median << " ms, fastest "
              << milliseconds.front() << " ms, slowest " << milliseconds.back() << " ms over " << runs
              << " runs\n";
    RecordProperty("refresh_median_ms", std::to_string(median));
    // It runs on the window's thread several times per page visit.
    EXPECT_LT(median, 250.0);
}

TEST(SandboxDiskMap, MachineOfAnotherShapeIsReadFromItsOwnFolder)
{
    ScratchFolder folder;
    // The default disks' tables, swapped: the system partition now lies on
    // disk 1 as its partition 2, the one partition of the old disk 1 on disk 0.
    // Letters c and z are fixed drives under Wine.
    writeBytes(folder.path() / L"first.img", defaultFirstSector(1));
    writeBytes(folder.path() / L"second.img", defaultFirstSector(0));
    writeText(folder.path() / L"machine.ini",
              "[Disks]\r\n0=first.img\r\n1=second.img\r\n[Volumes]\r\nC=1,2\r\nz=0,1\r\n");
    SandboxDiskDevices devices(folder.path());

    DiskMap map(devices);
    map.refresh();
    EXPECT_EQ(map.driveLetterOf(2, 1), 'c');
    EXPECT_EQ(map.driveLetterOf(1, 0), 'z');
    EXPECT_EQ(map.findPartition(1, 2).diskSignature, 0x5ab0d000u);
    EXPECT_EQ(map.partitions().size(), 2u);

    const auto layout = devices.driveLayout(1);
    ASSERT_TRUE(layout);
    ASSERT_EQ(layout->entries.size(), 4u);
    EXPECT_EQ(layout->entries[0].partitionType, 0x12);
    EXPECT_EQ(layout->entries[0].startingOffset, 1LL << 20);
    EXPECT_EQ(layout->entries[0].hiddenSectors, 2048u);
}

TEST(SandboxDiskMap, MissingOrBrokenPiecesContributeNothing)
{
    ScratchFolder folder;
    SandboxDiskDevices devices(folder.path());
    FirstSector sector{};
    sector.fill(0xEE);

    // No machine.ini at all.
    EXPECT_FALSE(devices.driveLayout(0));
    EXPECT_FALSE(devices.volumePartitionInformation('c'));
    EXPECT_FALSE(devices.readFirstSectorOfDiskZero(sector));
    EXPECT_EQ(sector, FirstSector{});

    FirstSector unsigned_ = defaultFirstSector(0);
    unsigned_[0x1FE] = 0;
    writeBytes(folder.path() / L"short.img", defaultFirstSector(0), 300);
    writeBytes(folder.path() / L"unsigned.img", unsigned_);
    writeBytes(folder.path() / L"good.img", defaultFirstSector(1));
    writeText(folder.path() / L"machine.ini",
              "[Disks]\r\n0=short.img\r\n1=unsigned.img\r\n2=missing.img\r\n3=good.img\r\n10=good.img\r\n"
              "[Volumes]\r\nc=3,1\r\nd=3,2\r\ne=3;1\r\nf=2,1\r\nz=1,1\r\n");

    EXPECT_FALSE(devices.driveLayout(0)); // image shorter than a sector
    EXPECT_FALSE(devices.driveLayout(1)); // no boot signature
    EXPECT_FALSE(devices.driveLayout(2)); // no such file
    EXPECT_TRUE(devices.driveLayout(3));
    EXPECT_FALSE(devices.driveLayout(10)); // disks are 0..9
    EXPECT_TRUE(devices.volumePartitionInformation('c'));
    EXPECT_FALSE(devices.volumePartitionInformation('d')); // no partition 2 there
    EXPECT_FALSE(devices.volumePartitionInformation('e')); // not "disk,partition"
    EXPECT_FALSE(devices.volumePartitionInformation('f'));
    EXPECT_FALSE(devices.volumePartitionInformation('z'));

    DiskMap map(devices);
    map.refresh();
    ASSERT_EQ(map.partitions().size(), 1u);
    EXPECT_EQ(map.driveLetterOf(1, 3), 'c');

    // Disk 0's first sector is read as it stands, signature or not, but a
    // short image gives none.
    EXPECT_FALSE(devices.readFirstSectorOfDiskZero(sector));
    writeText(folder.path() / L"machine.ini", "[Disks]\r\n0=unsigned.img\r\n");
    ASSERT_TRUE(devices.readFirstSectorOfDiskZero(sector));
    EXPECT_EQ(sector, unsigned_);
}

} // namespace
} // namespace quorvane::testing
