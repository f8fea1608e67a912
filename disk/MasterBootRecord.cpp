#include "disk/MasterBootRecord.h"

namespace quorvane {

namespace {

constexpr std::size_t diskSignatureOffset = 0x1B8;
constexpr std::size_t partitionTableOffset = 0x1BE;
constexpr std::size_t tableEntrySize = 16;
constexpr std::size_t tableSlots = 4;
constexpr std::size_t bootSignatureOffset = 0x1FE;

std::uint32_t readUint32(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8
        | static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

bool isExtendedContainer(std::uint8_t type)
{
    return type == 0x05 || type == 0x0F || type == 0x85;
}

// The types Windows mounts itself: FAT12, FAT16, FAT16 huge, IFS (NTFS, exFAT),
// FAT32, FAT32 with LBA, FAT16 with LBA.
bool isRecognizedType(std::uint8_t type)
{
    switch (type) {
    case 0x01: case 0x04: case 0x06: case 0x07: case 0x0B: case 0x0C: case 0x0E:
        return true;
    default:
        return false;
    }
}

} // namespace

std::optional<DriveLayout> driveLayoutFromMasterBootRecord(std::span<const std::uint8_t> firstSector)
{
    if (firstSector.size() < sectorSize || firstSector[bootSignatureOffset] != 0x55
        || firstSector[bootSignatureOffset + 1] != 0xAA)
        return std::nullopt;

    DriveLayout layout;
    layout.signature = readUint32(&firstSector[diskSignatureOffset]);
    std::uint32_t nextNumber = 1;
    for (std::size_t slot = 0; slot < tableSlots; ++slot) {
        const std::uint8_t* entry = &firstSector[partitionTableOffset + slot * tableEntrySize];
        PartitionInformation info;
        const std::uint8_t type = entry[4];
        if (type != 0) {
            const std::uint32_t firstLba = readUint32(entry + 8);
            const std::uint32_t sectorCount = readUint32(entry + 12);
            info.startingOffset = static_cast<std::int64_t>(firstLba) * static_cast<std::int64_t>(sectorSize);
            info.partitionLength = static_cast<std::int64_t>(sectorCount) * static_cast<std::int64_t>(sectorSize);
            info.hiddenSectors = firstLba;
            info.partitionNumber = isExtendedContainer(type) ? 0 : nextNumber++;
            info.partitionType = type;
            info.bootIndicator = (entry[0] & 0x80) != 0;
            info.recognizedPartition = isRecognizedType(type);
            info.rewritePartition = 0;
        }
        layout.entries.push_back(info);
    }
    return layout;
}

} // namespace quorvane
