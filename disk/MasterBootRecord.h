// Reads a master boot record's partition table the way Windows reports an MBR
// disk through its drive layout request. The sandbox machine's disks are image
// files whose layout is read this way.
#pragma once

#include "disk/DriveLayout.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace quorvane {

// The partition-type byte of the first of the four table entries.
inline constexpr std::size_t firstPartitionTypeOffset = 0x1C2;

// The layout of a disk whose first sector is `firstSector`: one entry per slot
// of the four-slot table, an empty slot as an all-zero entry. Used entries other
// than extended-partition containers are numbered 1, 2, 3... in table order; a
// container keeps number 0 and its logical partitions are not listed. Nothing
// when the sector is short or lacks the 55 AA boot signature.
std::optional<DriveLayout> driveLayoutFromMasterBootRecord(std::span<const std::uint8_t> firstSector);

} // namespace quorvane
