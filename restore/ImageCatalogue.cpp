#include "restore/ImageCatalogue.h"

#include "app/StringCatalogue.h"
#include "disk/DiskDevices.h"
#include "disk/DiskMap.h"
#include "disk/MasterBootRecord.h"
#include "restore/ImageListFile.h"

#include <algorithm>
#include <limits>
#include <map>
#include <utility>

namespace quorvane {

namespace {

constexpr wchar_t listFileName[] = L":\\Backup_Image_List.ini";
constexpr std::uint32_t dataPartition = 3;
constexpr std::uint8_t recoveryPartitionType = 0x12;

bool isDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

bool isHighSurrogate(wchar_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

} // namespace

std::int32_t readDecimalNumber(std::wstring_view text)
{
    std::size_t at = 0;
    while (at < text.size() && (text[at] == L' ' || text[at] == L'\t'))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == L'+' || text[at] == L'-'))
        negative = text[at++] == L'-';
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; at < text.size() && isDigit(text[at]); ++at)
        magnitude = std::min(limit, magnitude * 10 + (text[at] - L'0'));
    if (negative)
        return static_cast<std::int32_t>(-magnitude);
    return static_cast<std::int32_t>(std::min(magnitude, limit - 1));
}

std::wstring imageNameFromDescription(std::wstring_view description)
{
    const std::size_t tag = description.find(L"NAME");
    const std::size_t start = tag == std::wstring_view::npos ? 0 : tag + 5;
    if (start >= description.size())
        return {};
    const std::size_t end = description.find(L"</NAME>", start);
    std::wstring_view name = description.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start);
    if (name.size() > maxImageNameLength)
        name = name.substr(0, isHighSurrogate(name[maxImageNameLength - 1]) ? maxImageNameLength - 1 : maxImageNameLength);
    return std::wstring(name);
}

void loadImageList(ImageCatalogue& catalogue, const DiskMap& map, ImageListServices& services)
{
    catalogue.clear();
    const char dataLetter = map.driveLetterOf(dataPartition, 0);
    if (dataLetter == 0)
        return;
    const std::wstring listFile = static_cast<wchar_t>(dataLetter) + std::wstring(listFileName);
    if (!services.fileExists(listFile))
        return;
    std::optional<std::wstring> text = services.profileText(listFile);
    if (!text)
        return;
    const ImageListFile list(std::move(*text));
    const std::int32_t count = readDecimalNumber(list.imageCount());
    if (count <= 0)
        return;

    // Size and name of each image file opened so far.
    std::map<std::wstring, std::pair<std::int64_t, std::wstring>> opened;
    for (const std::int32_t number : list.imageNumbersBelow(count)) {
        std::wstring path = list.imageValue(number, ImageKey::path);
        const std::int32_t partId = readDecimalNumber(list.imageValue(number, ImageKey::partId));
        const std::int32_t diskId = readDecimalNumber(list.imageValue(number, ImageKey::diskId));
        const char letter = map.driveLetterOf(static_cast<std::uint32_t>(partId), diskId);
        if (letter == 0 || path.empty())
            continue;
        // The letter stored with the path may be stale; (PartID, DiskID) is not.
        path[0] = static_cast<wchar_t>(letter);
        if (!services.fileExists(path))
            continue;
        auto [image, isNew] = opened.try_emplace(path);
        if (isNew) {
            image->second.first = services.fileSize(path);
            services.readImageName(path, image->second.second);
        }
        catalogue.push_back(ImageEntry{image->second.first, diskId, partId, path, image->second.second});
    }
}

bool hasRecoveryPartition(DiskDevices& devices)
{
    FirstSector sector{};
    return devices.readFirstSectorOfDiskZero(sector) && sector[firstPartitionTypeOffset] == recoveryPartitionType;
}

ImageEntry factoryImageEntry(const StringCatalogue& catalogue)
{
    return ImageEntry{0, 0, 1, catalogue.text(60), catalogue.text(59)};
}

} // namespace quorvane
