// The sandbox machine's disks: raw disk image files and a description of its
// drive letters, in a folder (Sandbox\ beside the program):
//   machine.ini  [Disks]   N=<image file, relative to the folder>   (N = 0..9)
//                [Volumes] <letter>=<disk>,<partition>
// A disk's layout is read from the master boot record of its image; a volume's
// partition information is the layout entry it stands on, and its device
// number is the disk and partition it names. Whether a letter is
// a fixed drive is asked of the machine that runs the program, so each volume
// letter must also be a drive there.
#pragma once

#include "disk/DiskDevices.h"

#include <filesystem>

namespace quorvane {

class SandboxDiskDevices final : public DiskDevices {
public:
    explicit SandboxDiskDevices(std::filesystem::path folder);

    bool isFixedDrive(char letter) override;
    std::optional<PartitionInformation> volumePartitionInformation(char letter) override;
    std::optional<DeviceNumber> volumeDeviceNumber(char letter) override;
    std::optional<DriveLayout> driveLayout(int diskNumber) override;
    bool readFirstSectorOfDiskZero(FirstSector& sector) override;

    const std::filesystem::path& folder() const { return folder_; }

private:
    std::wstring machineValue(const wchar_t* section, const std::wstring& key) const;
    std::optional<DeviceNumber> volumePlace(char letter) const;
    bool readFirstSector(int diskNumber, FirstSector& sector) const;

    std::filesystem::path folder_;
};

} // namespace quorvane
