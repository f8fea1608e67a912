// A file of the machine as a byte source, read with the file functions of
// Windows (shared for reading).
#pragma once

#include "platform/Win32Handles.h"
#include "restore/ByteSource.h"

#include <string>

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

} // namespace quorvane
