// The sandbox machine's disks: raw disk image files and a description of its
// drive letters, in a folder (Sandbox\ beside the program):
//   machine.ini  [Disks]   N=<image file, relative to the folder>   (N = 0..9)
//                [Volumes] <letter>=<disk>,<partition>
// A disk's layout is read from the master boot record of its image; a volume's
// partition information is the layout entry it stands on, and its device
// number is the disk and partition it names. Its drives are the letters of
// [Volumes], all fixed; each must also be a drive of the machine that runs
// the program, to hold files.
#pragma once

#include "disk/DiskDevices.h"

#include <filesystem>
#include <map>
#include <string>

namespace quorvane {

class SandboxDiskDevices final : public DiskDevices {
public:
    explicit SandboxDiskDevices(std::filesystem::path folder);

    std::uint32_t presentDriveLetters() override;
    bool isFixedDrive(char letter) override;
    std::optional<PartitionInformation> volumePartitionInformation(char letter) override;
    std::optional<DeviceNumber> volumeDeviceNumber(char letter) override;
    std::optional<DriveLayout> driveLayout(int diskNumber) override;
    bool readFirstSectorOfDiskZero(FirstSector& sector) override;

    const std::filesystem::path& folder() const { return folder_; }

private:
    // machine.ini's two sections, keys in lower case.
    struct MachineDescription {
        std::map<std::wstring, std::wstring> disks;
        std::map<std::wstring, std::wstring> volumes;
    };
    // As the file is now; read again only when it changed.
    const MachineDescription& machine() const;
    static std::wstring machineValue(const std::map<std::wstring, std::wstring>& section, const std::wstring& key);
    std::optional<DeviceNumber> volumePlace(char letter) const;
    bool readFirstSector(int diskNumber, FirstSector& sector) const;

    std::filesystem::path folder_;
    mutable std::uint64_t machineStamp_ = 0;
    mutable MachineDescription machine_;
};

} // namespace quorvane
