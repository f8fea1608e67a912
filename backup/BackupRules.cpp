#include "backup/BackupRules.h"

#include <cstdio>

namespace quorvane {

std::wstring withImageExtension(std::wstring path)
{
    constexpr std::wstring_view upper = L".QVX";
    constexpr std::wstring_view lower = L".qvx";
    const std::size_t dot = path.rfind(L'.');
    if (dot != std::wstring::npos) {
        const std::wstring_view extension = std::wstring_view(path).substr(dot);
        if (extension == upper)
            return path;
        if (extension == lower) {
            path.resize(dot);
            return path += upper;
        }
    }
    return path += upper;
}

bool hasForbiddenFileNameCharacter(std::wstring_view fileName)
{
    return fileName.find_first_of(L"\\/:*?\"<>|") != std::wstring_view::npos;
}

bool isBlankDescription(std::wstring_view description)
{
    return description.find_first_not_of(L" \t") == std::wstring_view::npos;
}

std::wstring descriptionTimeStamp(int year, int month, int day, int hour, int minute)
{
    char text[64] = {};
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d ", year, month, day, hour, minute);
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

Compression chosenCompression(bool noneDisabled, bool fastDisabled)
{
    if (noneDisabled)
        return Compression::none;
    if (fastDisabled)
        return Compression::fast;
    return Compression::maximum;
}

} // namespace quorvane
