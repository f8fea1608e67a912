// A small file read whole into memory, for the files the program reads byte
// for byte (the job file it wrote, the image list).
#pragma once

#include "platform/Win32Handles.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvane {

// The file's bytes; nothing when it cannot be opened or read, or is larger
// than `limit` bytes.
inline std::optional<std::vector<std::uint8_t>> readWholeFile(const std::wstring& path, DWORD limit)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > limit)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty()
        && (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)
            || read != bytes.size()))
        return std::nullopt;
    return bytes;
}

} // namespace quorvane
