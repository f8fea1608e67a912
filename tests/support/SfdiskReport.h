// Reads what `sfdisk --json` reports of a disk image, for the tests that check
// our own reading and writing of partition tables against sfdisk's.
#pragma once

#include "disk/DiskMap.h"

#include <array>
#include <regex>
#include <string>

namespace quorvane::testing {

// The primary partitions of the report, by table slot.
inline std::array<PartitionInformation, 4> sfdiskSlots(const std::string& json)
{
    std::array<PartitionInformation, 4> slots{};
    const std::regex partition(
        R"re(\{\s*"node":\s*"[^"]*?(\d+)",\s*"start":\s*(\d+),\s*"size":\s*(\d+),\s*"type":\s*"([0-9a-fA-F]+)"(,\s*"bootable":\s*true)?)re");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), partition); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        const int node = std::stoi(m[1]);
        if (node > 4)
            continue; // a logical partition
        PartitionInformation& slot = slots[static_cast<std::size_t>(node - 1)];
        slot.startingOffset = static_cast<std::int64_t>(std::stoull(m[2]) * 512);
        slot.partitionLength = static_cast<std::int64_t>(std::stoull(m[3]) * 512);
        slot.hiddenSectors = static_cast<std::uint32_t>(std::stoull(m[2]));
        slot.partitionType = static_cast<std::uint8_t>(std::stoi(m[4], nullptr, 16));
        slot.bootIndicator = m[5].matched ? 1 : 0;
    }
    return slots;
}

} // namespace quorvane::testing
