#include "restore/FileBytes.h"

#include <windows.h>

#include <algorithm>

namespace quorvane {

FileBytes::FileBytes(const std::wstring& path)
    : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                        nullptr))
{
    LARGE_INTEGER size{};
    if (file_ && GetFileSizeEx(file_.get(), &size) && size.QuadPart >= 0)
        size_ = static_cast<std::uint64_t>(size.QuadPart);
    else
        file_.reset();
}

bool FileBytes::read(std::uint64_t offset, std::span<std::uint8_t> into)
{
    if (!file_ || offset > size_ || into.size() > size_ - offset)
        return false;
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file_.get(), position, nullptr, FILE_BEGIN))
        return false;
    while (!into.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(into.size(), 1u << 30));
        DWORD read = 0;
        if (!ReadFile(file_.get(), into.data(), chunk, &read, nullptr) || read == 0)
            return false;
        into = into.subspan(read);
    }
    return true;
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::wstring& path, std::uint64_t limit)
{
    FileBytes file(path);
    if (!file.opened() || file.size() > limit)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.size()));
    if (!file.read(0, bytes))
        return std::nullopt;
    return bytes;
}

} // namespace quorvane
