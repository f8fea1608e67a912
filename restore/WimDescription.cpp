#include "restore/WimDescription.h"

#include <array>
#include <fstream>
#include <vector>

namespace quorvane {

namespace {

constexpr std::size_t headerSize = 208;
constexpr std::array<std::uint8_t, 8> wimMagic = {'M', 'S', 'W', 'I', 'M', 0, 0, 0};
// The XML resource's header: a 7-byte size and a flags byte, then the offset.
constexpr std::size_t xmlResourceOffset = 72;
constexpr std::uint8_t compressedResourceFlag = 0x04;

std::uint64_t readLittleEndian(const std::uint8_t* bytes, std::size_t count)
{
    std::uint64_t value = 0;
    for (std::size_t i = count; i-- > 0;)
        value = (value << 8) | bytes[i];
    return value;
}

} // namespace

bool readWimDescription(const std::filesystem::path& file, std::wstring& description)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    in.seekg(0, std::ios::end);
    const std::streamoff fileSize = in.tellg();
    if (fileSize < static_cast<std::streamoff>(headerSize))
        return false;
    in.seekg(0);
    std::array<std::uint8_t, headerSize> header{};
    if (!in.read(reinterpret_cast<char*>(header.data()), headerSize))
        return false;
    if (!std::equal(wimMagic.begin(), wimMagic.end(), header.begin()))
        return false;

    const std::uint8_t* resource = header.data() + xmlResourceOffset;
    const std::uint64_t size = readLittleEndian(resource, 7);
    const std::uint8_t flags = resource[7];
    const std::uint64_t offset = readLittleEndian(resource + 8, 8);
    const auto available = static_cast<std::uint64_t>(fileSize);
    if ((flags & compressedResourceFlag) != 0 || size > maxWimDescriptionBytes || offset > available
        || size > available - offset)
        return false;

    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.seekg(static_cast<std::streamoff>(offset));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        return false;

    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<wchar_t>(bytes[i] | bytes[i + 1] << 8);
        if (unit == 0)
            break;
        text.push_back(unit);
    }
    description = std::move(text);
    return true;
}

} // namespace quorvane
