#include "disk/DriveLayout.h"

#include <algorithm>

namespace quorvane {

namespace {

template <typename Unsigned>
Unsigned readLittleEndian(const std::uint8_t* bytes)
{
    Unsigned value = 0;
    for (std::size_t i = sizeof(Unsigned); i-- > 0;)
        value = static_cast<Unsigned>((value << 8) | bytes[i]);
    return value;
}

} // namespace

PartitionInformation readPartitionInformation(std::span<const std::uint8_t, partitionInformationSize> bytes)
{
    const std::uint8_t* b = bytes.data();
    PartitionInformation info;
    info.startingOffset = static_cast<std::int64_t>(readLittleEndian<std::uint64_t>(b));
    info.partitionLength = static_cast<std::int64_t>(readLittleEndian<std::uint64_t>(b + 8));
    info.hiddenSectors = readLittleEndian<std::uint32_t>(b + 16);
    info.partitionNumber = readLittleEndian<std::uint32_t>(b + 20);
    info.partitionType = b[24];
    info.bootIndicator = b[25];
    info.recognizedPartition = b[26];
    info.rewritePartition = b[27];
    return info;
}

std::optional<DriveLayout> readDriveLayout(std::span<const std::uint8_t> returnedBytes)
{
    if (returnedBytes.size() < driveLayoutHeaderSize)
        return std::nullopt;
    const std::uint32_t claimedCount = readLittleEndian<std::uint32_t>(returnedBytes.data());
    const std::size_t entriesPresent = (returnedBytes.size() - driveLayoutHeaderSize) / partitionInformationSize;
    const std::size_t count = std::min<std::size_t>(claimedCount, entriesPresent);

    DriveLayout layout;
    layout.signature = readLittleEndian<std::uint32_t>(returnedBytes.data() + 4);
    layout.entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto entry = returnedBytes.subspan(driveLayoutHeaderSize + i * partitionInformationSize)
                               .first<partitionInformationSize>();
        layout.entries.push_back(readPartitionInformation(entry));
    }
    return layout;
}

} // namespace quorvane
