#include "restore/ImageCatalogue.h"

#include "app/StringCatalogue.h"
#include "disk/DiskDevices.h"
#include "disk/DiskMap.h"

#include <algorithm>
#include <limits>

namespace quorvane {

namespace {

constexpr wchar_t listFileName[] = L":\\Backup_Image_List.ini";
constexpr std::uint32_t dataPartition = 3;
constexpr std::size_t recoveryTypeOffset = 0x1C2;
constexpr std::uint8_t recoveryPartitionType = 0x12;

bool isDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

// The i of a section that a lookup of "Image%d" with i below `count` finds:
// the profile functions compare section names without regard to case, and
// "%d" writes no sign and no leading zero.
bool imageSectionNumber(std::wstring_view name, std::int32_t count, std::int32_t& number)
{
    constexpr std::wstring_view prefix = L"image";
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 10)
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const wchar_t c = name[i];
        if ((c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c) != prefix[i])
            return false;
    }
    const std::wstring_view digits = name.substr(prefix.size());
    if (!std::ranges::all_of(digits, isDigit) || (digits.size() > 1 && digits[0] == L'0'))
        return false;
    std::int64_t value = 0;
    for (wchar_t c : digits)
        value = value * 10 + (c - L'0');
    if (value >= count)
        return false;
    number = static_cast<std::int32_t>(value);
    return true;
}

std::vector<std::int32_t> imageSectionsBelow(const std::vector<std::wstring>& sectionNames, std::int32_t count)
{
    std::vector<std::int32_t> numbers;
    for (const std::wstring& name : sectionNames) {
        std::int32_t number = 0;
        if (imageSectionNumber(name, count, number))
            numbers.push_back(number);
    }
    std::ranges::sort(numbers);
    const auto duplicates = std::ranges::unique(numbers);
    numbers.erase(duplicates.begin(), duplicates.end());
    return numbers;
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
    if (tag == std::wstring_view::npos)
        return std::wstring(description);
    const std::size_t start = tag + 5;
    if (start >= description.size())
        return {};
    const std::size_t end = description.find(L"</NAME>", start);
    return std::wstring(description.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start));
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
    const std::int32_t count = readDecimalNumber(services.profileString(listFile, L"BackupImage", L"TotalImageCount"));
    if (count <= 0)
        return;

    for (const std::int32_t number : imageSectionsBelow(services.profileSectionNames(listFile), count)) {
        const std::wstring section = L"Image" + std::to_wstring(number);
        std::wstring path = services.profileString(listFile, section, L"Path");
        const std::int32_t partId = readDecimalNumber(services.profileString(listFile, section, L"PartID"));
        const std::int32_t diskId = readDecimalNumber(services.profileString(listFile, section, L"DiskID"));
        const char letter = map.driveLetterOf(static_cast<std::uint32_t>(partId), diskId);
        if (letter == 0 || path.empty())
            continue;
        // The letter stored with the path may be stale; (PartID, DiskID) is not.
        path[0] = static_cast<wchar_t>(letter);
        if (!services.fileExists(path))
            continue;
        ImageEntry entry{services.fileSize(path), diskId, partId, path, {}};
        services.readImageName(path, entry.imageName);
        catalogue.push_back(std::move(entry));
    }
}

bool hasRecoveryPartition(DiskDevices& devices)
{
    FirstSector sector{};
    return devices.readFirstSectorOfDiskZero(sector) && sector[recoveryTypeOffset] == recoveryPartitionType;
}

ImageEntry factoryImageEntry(const StringCatalogue& catalogue)
{
    return ImageEntry{0, 0, 1, catalogue.text(60), catalogue.text(59)};
}

} // namespace quorvane
