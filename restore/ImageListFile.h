// The image list file (Backup_Image_List.ini), read once: the values the
// catalogue asks for, found exactly as the platform's profile reader
// (GetPrivateProfileStringW with a buffer of 4096 characters and "" as the
// default) finds them. Asking the profile reader once per value scans the
// whole file each time, which a list of many sections turns into minutes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// The buffer the catalogue reads each value into, terminator included.
inline constexpr std::size_t profileValueSize = 4096;

// Turns bytes in the system's ANSI code page into characters.
using AnsiDecoder = std::function<std::wstring(std::span<const std::uint8_t>)>;

// The characters of a profile file: UTF-16LE after the mark FF FE, UTF-16BE
// after FE FF (an odd last byte is dropped), otherwise ANSI bytes, which
// `decodeAnsi` converts as the profile reader does.
std::wstring profileFileText(std::span<const std::uint8_t> bytes, const AnsiDecoder& decodeAnsi);

enum class ImageKey { path, partId, diskId };

class ImageListFile {
public:
    explicit ImageListFile(std::wstring text);

    // "TotalImageCount" of section "BackupImage".
    std::wstring imageCount() const;
    // A value of section "Image<number>"; "" where the profile reader gives "".
    std::wstring imageValue(std::int32_t number, ImageKey key) const;
    // The n of the sections "Image<n>" (as "%d" writes n) with n below
    // `count`, ascending, each once.
    std::vector<std::int32_t> imageNumbersBelow(std::int32_t count) const;

private:
    // A value as the file holds it, found by offset into text_.
    struct Value {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    // The first line of each wanted key in one section; nothing while the key
    // has not been met. A key line without '=' holds an empty value.
    struct Section {
        std::int64_t number = 0; // backupImageSection, or the n of "Image<n>"
        std::uint32_t offset = 0; // of its line in text_, which orders sections of one name
        std::optional<Value> values[4];
    };
    static constexpr std::int64_t backupImageSection = -1;

    void readLines();
    const Section* findSection(std::int64_t number) const;
    std::wstring valueOf(std::int64_t section, std::size_t key) const;

    std::wstring text_;
    // Sorted by number; only the first section of each name counts, as for
    // the profile reader.
    std::vector<Section> sections_;
};

} // namespace quorvane
