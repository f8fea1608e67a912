// A machine's disks and volumes as the tests describe them; records what the
// disk map asked for.
#pragma once

#include "disk/DiskDevices.h"
#include "disk/DiskMap.h"

#include <map>
#include <set>

namespace quorvane::testing {

// A partition starting and ending on whole MiB.
inline PartitionInformation partition(std::uint32_t number, std::int64_t startMiB, std::int64_t lengthMiB,
                                      std::uint8_t type = 0x07)
{
    PartitionInformation info;
    info.startingOffset = startMiB << 20;
    info.partitionLength = lengthMiB << 20;
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

    std::uint32_t presentDriveLetters() override { return presentLetters; }
    bool isFixedDrive(char letter) override
    {
        askedForType.insert(letter);
        return fixedLetters.contains(letter) && fixedLetters[letter];
    }
    std::optional<PartitionInformation> volumePartitionInformation(char letter) override
    {
        askedForInformation.insert(letter);
        return volumeInfo.contains(letter) ? std::optional(volumeInfo[letter]) : std::nullopt;
    }
    std::optional<DeviceNumber> volumeDeviceNumber(char letter) override
    {
        return deviceNumbers.contains(letter) ? std::optional(deviceNumbers[letter]) : std::nullopt;
    }
    std::optional<DriveLayout> driveLayout(int diskNumber) override
    {
        askedDisks.insert(diskNumber);
        return layouts.contains(diskNumber) ? std::optional(layouts[diskNumber]) : std::nullopt;
    }
    bool readFirstSectorOfDiskZero(FirstSector& sector) override
    {
        sector = firstSector.value_or(sector);
        return firstSector.has_value();
    }

    std::uint32_t presentLetters = (1u << 26) - 1; // every letter exists
    std::map<char, bool> fixedLetters;
    std::map<char, PartitionInformation> volumeInfo;
    std::map<char, DeviceNumber> deviceNumbers; // none: the volume does not say
    std::map<int, DriveLayout> layouts;
    std::optional<FirstSector> firstSector; // none: disk 0 cannot be read
    std::set<char> askedForType;
    std::set<char> askedForInformation;
    std::set<int> askedDisks;
};

// The usual PC: recovery (no letter), system C and data D on disk 0, one
// partition E on disk 1.
inline FakeDiskDevices usualMachine()
{
    FakeDiskDevices devices;
    devices.layouts[0] = {0x5ab0d000,
                          {partition(1, 1, 20480, 0x12), partition(2, 20481, 102400), partition(3, 122881, 51200),
                           PartitionInformation{}}};
    devices.layouts[1] = {0x5ab0d001, {partition(1, 1, 102399)}};
    devices.addVolume('c', devices.layouts[0].entries[1]);
    devices.addVolume('d', devices.layouts[0].entries[2]);
    devices.addVolume('e', devices.layouts[1].entries[0]);
    return devices;
}

} // namespace quorvane::testing
