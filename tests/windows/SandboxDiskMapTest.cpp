// The sandbox edition's disks: the default machine beside the programs (made
// by tools/make-sandbox.sh with the real sfdisk) and a machine of broken
// pieces made in a scratch folder.
#include "disk/DiskMap.h"
#include "platform/sandbox/SandboxDiskDevices.h"
#include "support/ProgramUnderTest.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t gibibyte = 1LL << 30;

void writeSector(const fs::path& file, const FirstSector& sector, std::size_t size = sectorSize)
{
    writeBytes(file, Bytes(sector.begin(), sector.begin() + static_cast<std::ptrdiff_t>(size)));
}

// The master boot record of the default machine's disk `n`.
FirstSector defaultFirstSector(int n)
{
    FirstSector sector{};
    std::ifstream(buildFolder() / L"Sandbox" / (L"disk" + std::to_wstring(n) + L".img"), std::ios::binary)
        .read(reinterpret_cast<char*>(sector.data()), sectorSize);
    return sector;
}

// The machine beside the program, as make-sandbox.sh made it with sfdisk. The
// map is made several times per page visit, on the window's thread: it must
// be quick.
TEST(SandboxDiskMap, DefaultMachineLettersSystemDataAndTheSecondDiskQuickly)
{
    DiskMap map;
    const double median = medianMilliseconds(101, [&] { map.refresh(); });
    std::cout << "DiskMap::refresh on the default sandbox machine: median " << median << " ms over 101 runs\n";
    EXPECT_LT(median, 250.0);

    // The recovery partition has no letter.
    std::string records;
    for (const PartitionRecord& record : map.partitions())
        records += record.driveLetter + std::to_string(record.diskNumber) + std::to_string(record.info.partitionNumber);
    EXPECT_EQ(records, "c02d03e11");
    const PartitionRecord system = map.findPartition(0, 2);
    EXPECT_EQ(system.diskSignature, 0x5ab0d000u);
    EXPECT_EQ(system.info.partitionLength, 100 * gibibyte);
    EXPECT_EQ(system.info.bootIndicator, 1);
    EXPECT_EQ(map.findPartition(1, 1).diskSignature, 0x5ab0d001u);
    // Wine's own z: is a fixed drive too, but no sandbox volume.
    EXPECT_TRUE(map.volumes().empty());
}

// Disk 0's image is shorter than a sector, 1's has no boot signature, 2's is
// missing, 10 is beyond disks 0..9; volume d names no partition there, e is
// not "disk,partition", f lies on a disk without a table.
TEST(SandboxDiskMap, MissingOrBrokenPiecesContributeNothing)
{
    ScratchFolder folder;
    SandboxDiskDevices devices(folder.path());
    EXPECT_FALSE(devices.driveLayout(0)) << "no machine.ini at all";
    FirstSector unsigned_ = defaultFirstSector(0);
    unsigned_[0x1FE] = 0;
    writeSector(folder.path() / L"short.img", defaultFirstSector(0), 300);
    writeSector(folder.path() / L"unsigned.img", unsigned_);
    writeSector(folder.path() / L"good.img", defaultFirstSector(1));
    std::ofstream(folder.path() / L"machine.ini", std::ios::binary)
        << "[Disks]\r\n0=short.img\r\n1=unsigned.img\r\n2=missing.img\r\n3=good.img\r\n10=good.img\r\n"
           "[Volumes]\r\nC=3,1\r\nd=3,2\r\ne=3;1\r\nf=2,1\r\n";
    std::string disks, volumes;
    for (int disk : {0, 1, 2, 3, 10})
        disks += devices.driveLayout(disk) ? '+' : '-';
    for (char letter : {'c', 'd', 'e', 'f'})
        volumes += devices.volumePartitionInformation(letter) ? '+' : '-';
    EXPECT_EQ(disks, "---+-");
    EXPECT_EQ(volumes, "+---");
    FirstSector sector{};
    EXPECT_FALSE(devices.readFirstSectorOfDiskZero(sector)) << "a short image gives no first sector";
}

} // namespace
} // namespace quorvane::testing
