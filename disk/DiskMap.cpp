#include "disk/DiskMap.h"

#include "disk/DiskDevices.h"

#include <algorithm>

namespace quorvane {

namespace {

// Disks 0..9: the numbers the job file and the image list can hold.
constexpr int diskCount = 10;

char lowerCaseLetter(char letter)
{
    return letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter;
}

} // namespace

DiskMap::DiskMap(DiskDevices& devices) : devices_(devices) {}

void DiskMap::scanVolumes()
{
    volumes_.clear();
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        // x is left out: it is the letter the recovery environment gives its own
        // RAM drive.
        if (letter == 'x' || !devices_.isFixedDrive(letter))
            continue;
        if (const auto info = devices_.volumePartitionInformation(letter))
            volumes_.push_back({letter, *info, devices_.volumeDeviceNumber(letter)});
    }
}

void DiskMap::refresh()
{
    scanVolumes();
    partitions_.clear();
    for (int disk = 0; disk < diskCount; ++disk) {
        const auto layout = devices_.driveLayout(disk);
        if (!layout)
            continue;
        for (const PartitionInformation& entry : layout->entries) {
            if (entry.partitionType == 0)
                continue;
            // Identical records (a cloned disk) are told apart by the number
            // of the disk the volume lies on, where the volume says it.
            const auto volume = std::ranges::find_if(volumes_, [&](const VolumeRecord& candidate) {
                return candidate.info == entry
                    && (!candidate.device || *candidate.device == DeviceNumber{disk, entry.partitionNumber});
            });
            if (volume == volumes_.end())
                continue;
            partitions_.push_back({disk, layout->signature, volume->driveLetter, entry});
            volumes_.erase(volume);
        }
    }
}

std::uint32_t DiskMap::partitionOfDriveLetter(char letter, std::int32_t& diskNumber) const
{
    const char wanted = lowerCaseLetter(letter);
    const auto found = std::ranges::find(partitions_, wanted, &PartitionRecord::driveLetter);
    if (found == partitions_.end())
        return 0;
    diskNumber = found->diskNumber;
    return found->info.partitionNumber;
}

char DiskMap::driveLetterOf(std::uint32_t partitionNumber, std::int32_t diskNumber) const
{
    return findPartition(diskNumber, partitionNumber).driveLetter;
}

PartitionRecord DiskMap::findPartition(std::int32_t diskNumber, std::uint32_t partitionNumber) const
{
    const auto found = std::ranges::find_if(partitions_, [&](const PartitionRecord& record) {
        return record.diskNumber == diskNumber && record.info.partitionNumber == partitionNumber;
    });
    return found == partitions_.end() ? PartitionRecord{} : *found;
}

} // namespace quorvane
