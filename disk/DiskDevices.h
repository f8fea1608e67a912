// The disk devices of the machine the program runs on, as the disk map and the
// image catalogue need them. The real PC answers through device requests; the
// sandbox machine answers from disk image files beside the program.
#pragma once

#include "disk/DriveLayout.h"

#include <array>
#include <cstdint>
#include <optional>

namespace quorvane {

using FirstSector = std::array<std::uint8_t, sectorSize>;

class DiskDevices {
public:
    virtual ~DiskDevices() = default;

    // Whether "%c:\" is a fixed drive (DRIVE_FIXED).
    virtual bool isFixedDrive(char letter) = 0;
    // The partition information of the volume "\\.\%c:", or nothing when the
    // volume cannot be opened or does not answer.
    virtual std::optional<PartitionInformation> volumePartitionInformation(char letter) = 0;
    // The disk and partition numbers of the volume "\\.\%c:", or nothing when
    // it cannot be opened or does not answer.
    virtual std::optional<DeviceNumber> volumeDeviceNumber(char letter) = 0;
    // The drive layout of "\\.\PHYSICALDRIVE%d", or nothing when the disk
    // cannot be opened or its layout cannot be read.
    virtual std::optional<DriveLayout> driveLayout(int diskNumber) = 0;
    // The first 512 bytes of disk 0; false when they cannot be read.
    virtual bool readFirstSectorOfDiskZero(FirstSector& sector) = 0;
};

// The devices of this edition's machine: defined once for Quorvane.exe and once
// for QuorvaneSandbox.exe.
DiskDevices& machineDiskDevices();

} // namespace quorvane
