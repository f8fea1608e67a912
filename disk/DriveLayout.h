// A disk's drive layout as the platform reports it (DRIVE_LAYOUT_INFORMATION),
// and the reading of the raw records that the device requests return.
#pragma once

#include "disk/DiskMap.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quorvane {

inline constexpr std::size_t sectorSize = 512;
// PARTITION_INFORMATION as the platform lays it out, alignment included.
inline constexpr std::size_t partitionInformationSize = 32;
// PartitionCount and Signature before the entries.
inline constexpr std::size_t driveLayoutHeaderSize = 8;

struct DriveLayout {
    std::uint32_t signature = 0;
    std::vector<PartitionInformation> entries;
};

// One PARTITION_INFORMATION from its 32 raw bytes (little-endian).
PartitionInformation readPartitionInformation(std::span<const std::uint8_t, partitionInformationSize> bytes);

// A DRIVE_LAYOUT_INFORMATION from the bytes a layout request returned. Only the
// entries that lie wholly within those bytes are read, whatever PartitionCount
// claims; fewer bytes than the header give nothing.
std::optional<DriveLayout> readDriveLayout(std::span<const std::uint8_t> returnedBytes);

} // namespace quorvane
