// Which drive letter belongs to partition p of disk d, and the other way round.
// A map is made, refreshed, asked once or twice and dropped: nothing is cached.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvane {

// The platform's 32-byte PARTITION_INFORMATION, field by field.
struct PartitionInformation {
    std::int64_t startingOffset = 0;  // bytes
    std::int64_t partitionLength = 0; // bytes
    std::uint32_t hiddenSectors = 0;
    std::uint32_t partitionNumber = 0;
    std::uint8_t partitionType = 0;
    std::uint8_t bootIndicator = 0;
    std::uint8_t recognizedPartition = 0;
    std::uint8_t rewritePartition = 0;
    // 4 bytes of alignment follow in the platform's record; they never count.

    friend bool operator==(const PartitionInformation&, const PartitionInformation&) = default;
};

// Where a volume says it lies (IOCTL_STORAGE_GET_DEVICE_NUMBER).
struct DeviceNumber {
    std::int32_t diskNumber = 0;
    std::uint32_t partitionNumber = 0;

    friend bool operator==(const DeviceNumber&, const DeviceNumber&) = default;
};

struct VolumeRecord {
    char driveLetter = 0; // lower case
    PartitionInformation info;
    std::optional<DeviceNumber> device; // nothing when the volume did not say
};

struct PartitionRecord {
    std::int32_t diskNumber = 0;
    std::uint32_t diskSignature = 0;
    char driveLetter = 0; // lower case
    PartitionInformation info;
};

class DiskDevices;

class DiskMap {
public:
    // Uses the machine's own devices (the real PC or the sandbox machine).
    DiskMap();
    explicit DiskMap(DiskDevices& devices);

    void refresh();

    // PartitionNumber of the partition with this letter (either case), or 0;
    // diskNumber is written only when a partition is found.
    std::uint32_t partitionOfDriveLetter(char letter, std::int32_t& diskNumber) const;
    // Lower-case letter of (partition, disk), or 0.
    char driveLetterOf(std::uint32_t partitionNumber, std::int32_t diskNumber) const;
    // The record of (disk, partition), or a record with every field zero.
    PartitionRecord findPartition(std::int32_t diskNumber, std::uint32_t partitionNumber) const;

    const std::vector<VolumeRecord>& volumes() const { return volumes_; }
    const std::vector<PartitionRecord>& partitions() const { return partitions_; }

private:
    void scanVolumes();

    DiskDevices& devices_;
    std::vector<VolumeRecord> volumes_;
    std::vector<PartitionRecord> partitions_;
};

// The drive letter of a path as the user chose it: its first character in the
// system's ANSI code page (0 for an empty path). Defined for the programs only
// (MachineDiskMap.cpp).
char ansiDriveLetter(const std::wstring& path);

} // namespace quorvane
