// A file of the machine as a byte source, read with the file functions of
// Windows (shared for reading).
#pragma once

#include "platform/Win32Handles.h"
#include "restore/ByteSource.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvane {

class FileBytes final : public ByteSource {
public:
    explicit FileBytes(const std::wstring& path);

    // Whether the file could be opened and measured.
    bool opened() const { return static_cast<bool>(file_); }
    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, std::span<std::uint8_t> into) override;

private:
    UniqueFile file_;
    std::uint64_t size_ = 0;
};

// A small file's bytes, read whole; nothing when it cannot be opened or read,
// or is larger than `limit` bytes.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::wstring& path, std::uint64_t limit);

} // namespace quorvane
