#include "restore/ImageListFile.h"

#include <algorithm>
#include <array>

namespace quorvane {

namespace {

// The keys asked for, in the order of Section::values.
constexpr std::array<std::wstring_view, 4> wantedKeys = {L"totalimagecount", L"path", L"partid", L"diskid"};
constexpr std::size_t countKey = 0;

// What the profile reader trims around lines, names and values; ^Z is an old
// end-of-file mark.
bool isProfileBlank(wchar_t c)
{
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20;
}

bool isLineEnd(wchar_t c)
{
    return c == L'\r' || c == L'\n';
}

wchar_t lowerAscii(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Names count up to their first NUL and without regard to the case of A..Z.
bool sameName(std::wstring_view name, std::wstring_view lowerCaseWanted)
{
    name = name.substr(0, name.find(L'\0'));
    return std::ranges::equal(name, lowerCaseWanted, {}, lowerAscii);
}

std::wstring_view trimmed(std::wstring_view text)
{
    while (!text.empty() && isProfileBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isProfileBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// backupImageSection for "BackupImage", n for "Image<n>" as "%d" writes a
// number from 0 to 2147483647, nothing for any other name.
std::optional<std::int64_t> sectionNumber(std::wstring_view name, std::int64_t backupImageSection)
{
    name = name.substr(0, name.find(L'\0'));
    if (sameName(name, L"backupimage"))
        return backupImageSection;
    constexpr std::wstring_view prefix = L"image";
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 10
        || !sameName(name.substr(0, prefix.size()), prefix))
        return std::nullopt;
    const std::wstring_view digits = name.substr(prefix.size());
    if (digits.size() > 1 && digits[0] == L'0')
        return std::nullopt;
    std::int64_t value = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    if (value > 2147483647)
        return std::nullopt;
    return value;
}

wchar_t utf16Unit(std::uint8_t first, std::uint8_t second)
{
    return static_cast<wchar_t>(first | second << 8);
}

} // namespace

std::wstring profileFileText(std::span<const std::uint8_t> bytes, const AnsiDecoder& decodeAnsi)
{
    const bool littleEndian = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    const bool bigEndian = bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF;
    if (!littleEndian && !bigEndian)
        return decodeAnsi(bytes);
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text.push_back(littleEndian ? utf16Unit(bytes[i], bytes[i + 1]) : utf16Unit(bytes[i + 1], bytes[i]));
    return text;
}

ImageListFile::ImageListFile(std::wstring text) : text_(std::move(text))
{
    readLines();
    // The first section of each number stays; a later one of the same name
    // is never read.
    std::ranges::sort(sections_, [](const Section& a, const Section& b) {
        return a.number != b.number ? a.number < b.number : a.offset < b.offset;
    });
    const auto repeated = std::ranges::unique(sections_, {}, &Section::number);
    sections_.erase(repeated.begin(), repeated.end());
}

void ImageListFile::readLines()
{
    const std::wstring_view text = text_;
    Section* current = nullptr; // null in sections nobody asks for
    std::size_t next = 0;
    while (next < text.size()) {
        const std::size_t start = next;
        while (next < text.size() && !isLineEnd(text[next]))
            ++next;
        const std::wstring_view line = trimmed(text.substr(start, next - start));
        while (next < text.size() && isLineEnd(text[next]))
            ++next;
        if (line.empty())
            continue;

        // A section line runs from '[' to the last ']', and its name is trimmed;
        // a '[' line without ']' is a key line.
        if (line.front() == L'[') {
            const std::size_t close = line.rfind(L']');
            if (close != std::wstring_view::npos) {
                current = nullptr;
                if (const auto number = sectionNumber(trimmed(line.substr(1, close - 1)), backupImageSection)) {
                    sections_.push_back({*number, static_cast<std::uint32_t>(start), {}});
                    current = &sections_.back();
                }
                continue;
            }
        }
        if (!current)
            continue;

        const std::size_t equals = line.find(L'=');
        const std::wstring_view name = trimmed(line.substr(0, equals));
        const std::wstring_view value =
            equals == std::wstring_view::npos ? line.substr(line.size()) : trimmed(line.substr(equals + 1));
        for (std::size_t key = 0; key < wantedKeys.size(); ++key) {
            if (!current->values[key] && sameName(name, wantedKeys[key])) {
                current->values[key] = Value{static_cast<std::uint32_t>(value.data() - text.data()),
                                             static_cast<std::uint32_t>(value.size())};
            }
        }
    }
}

const ImageListFile::Section* ImageListFile::findSection(std::int64_t number) const
{
    const auto found = std::ranges::lower_bound(sections_, number, {}, &Section::number);
    return found != sections_.end() && found->number == number ? &*found : nullptr;
}

// The value as the profile reader copies it into the caller's buffer: up to
// its first NUL; one pair of enclosing quotes (' or ") removed when the value
// fits the buffer; at most profileValueSize - 1 characters.
std::wstring ImageListFile::valueOf(std::int64_t number, std::size_t key) const
{
    const Section* section = findSection(number);
    if (!section || !section->values[key])
        return {};
    std::wstring_view value = std::wstring_view(text_).substr(section->values[key]->offset,
                                                              section->values[key]->length);
    value = value.substr(0, value.find(L'\0'));
    const bool quoted = value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'')
                        && value.back() == value.front();
    if (quoted)
        value.remove_prefix(1);
    std::wstring copied(value.substr(0, profileValueSize - 1));
    // The closing quote goes only when the rest fits the buffer; otherwise
    // the reader drops the last character it copied.
    if (quoted && value.size() <= profileValueSize)
        copied.pop_back();
    return copied;
}

std::wstring ImageListFile::imageCount() const
{
    return valueOf(backupImageSection, countKey);
}

std::wstring ImageListFile::imageValue(std::int32_t number, ImageKey key) const
{
    return number < 0 ? std::wstring{} : valueOf(number, static_cast<std::size_t>(key) + 1);
}

std::vector<std::int32_t> ImageListFile::imageNumbersBelow(std::int32_t count) const
{
    std::vector<std::int32_t> numbers;
    for (const Section& section : sections_) {
        if (section.number >= 0 && section.number < count)
            numbers.push_back(static_cast<std::int32_t>(section.number));
    }
    return numbers;
}

} // namespace quorvane
