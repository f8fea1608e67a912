// The fixed 208-byte header at the start of a WIM file (a backup image): where
// its resources lie, and whether the file was written to the end.
#pragma once

#include "restore/ByteSource.h"

#include <cstdint>
#include <optional>

namespace quorvane {

inline constexpr std::size_t wimHeaderSize = 208;
// Set while an image is being written and cleared when the writer finished.
inline constexpr std::uint32_t wimWriteInProgressFlag = 0x40;
// The resource is stored compressed.
inline constexpr std::uint8_t wimCompressedResourceFlag = 0x04;

// Where a resource is stored: 7 bytes of stored size, a flags byte, the offset
// and the size once unpacked.
struct WimResource {
    std::uint64_t storedSize = 0;
    std::uint8_t flags = 0;
    std::uint64_t offset = 0;
    std::uint64_t originalSize = 0;

    // Whether the resource lies wholly within a file of `fileSize` bytes.
    bool fitsIn(std::uint64_t fileSize) const { return offset <= fileSize && storedSize <= fileSize - offset; }
};

struct WimHeader {
    std::uint32_t flags = 0;
    std::uint32_t imageCount = 0;
    WimResource lookupTable;
    WimResource xmlData; // the description, UTF-16LE
    WimResource bootMetadata;
};

// The header of the bytes, or nothing when they are shorter than a header or
// lack the "MSWIM" magic.
std::optional<WimHeader> readWimHeader(ByteSource& bytes);

// A WIM file whose writer finished: the write-in-progress flag is clear, and
// the lookup table, the description and the boot metadata all lie within the
// file. A backup cut off by a power failure fails one of these.
bool isCompleteWimImage(ByteSource& bytes);

} // namespace quorvane
