// Turns a fuzzer's bytes into the inputs of the portable parsers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

namespace quorvane::fuzz {

// Pairs of bytes as UTF-16LE code units, one per wchar_t; an odd last byte is dropped.
inline std::wstring utf16Units(std::span<const std::uint8_t> bytes)
{
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<wchar_t>(bytes[i] | bytes[i + 1] << 8));
    return text;
}

// Bytes as ISO 8859-1 characters: the decoder of a list file without a byte-order mark.
inline std::wstring latin1(std::span<const std::uint8_t> bytes)
{
    return std::wstring(bytes.begin(), bytes.end());
}

// A property that must hold; a finding when it does not.
inline void require(bool holds)
{
    if (!holds)
        std::abort();
}

} // namespace quorvane::fuzz
