#include "restore/WimHeader.h"

#include <array>

namespace quorvane {

namespace {

constexpr std::array<std::uint8_t, 8> wimMagic = {'M', 'S', 'W', 'I', 'M', 0, 0, 0};
constexpr std::size_t flagsOffset = 16;
constexpr std::size_t imageCountOffset = 44;
constexpr std::size_t lookupTableOffset = 48;
constexpr std::size_t xmlDataOffset = 72;
constexpr std::size_t bootMetadataOffset = 96;

std::uint64_t littleEndian(const std::uint8_t* bytes, std::size_t count)
{
    std::uint64_t value = 0;
    for (std::size_t i = count; i-- > 0;)
        value = (value << 8) | bytes[i];
    return value;
}

WimResource resourceAt(const std::uint8_t* bytes)
{
    return {littleEndian(bytes, 7), bytes[7], littleEndian(bytes + 8, 8), littleEndian(bytes + 16, 8)};
}

} // namespace

std::optional<WimHeader> readWimHeader(ByteSource& bytes)
{
    std::array<std::uint8_t, wimHeaderSize> header{};
    if (bytes.size() < wimHeaderSize || !bytes.read(0, header)
        || !std::equal(wimMagic.begin(), wimMagic.end(), header.begin()))
        return std::nullopt;
    WimHeader read;
    read.flags = static_cast<std::uint32_t>(littleEndian(&header[flagsOffset], 4));
    read.imageCount = static_cast<std::uint32_t>(littleEndian(&header[imageCountOffset], 4));
    read.lookupTable = resourceAt(&header[lookupTableOffset]);
    read.xmlData = resourceAt(&header[xmlDataOffset]);
    read.bootMetadata = resourceAt(&header[bootMetadataOffset]);
    return read;
}

bool isCompleteWimImage(ByteSource& bytes)
{
    const std::optional<WimHeader> header = readWimHeader(bytes);
    if (!header || (header->flags & wimWriteInProgressFlag) != 0)
        return false;
    const std::uint64_t size = bytes.size();
    return header->lookupTable.fitsIn(size) && header->xmlData.fitsIn(size) && header->bootMetadata.fitsIn(size);
}

} // namespace quorvane
