// Bytes read by position from somewhere: a file on the machine, or memory in
// the tests. The readers of image files take one of these, so that they need
// neither a Windows call nor the iostreams library.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

namespace quorvane {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Fills `into` from `offset`; false when those bytes cannot all be read.
    virtual bool read(std::uint64_t offset, std::span<std::uint8_t> into) = 0;
};

class MemoryBytes final : public ByteSource {
public:
    explicit MemoryBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::uint64_t size() const override { return bytes_.size(); }
    bool read(std::uint64_t offset, std::span<std::uint8_t> into) override
    {
        if (offset > bytes_.size() || into.size() > bytes_.size() - offset)
            return false;
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), into.size(), into.begin());
        return true;
    }

private:
    std::span<const std::uint8_t> bytes_;
};

} // namespace quorvane
