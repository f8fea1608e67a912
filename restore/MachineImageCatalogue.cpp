// The image catalogue on this machine: the list file, the image files and
// the edition's reader of image descriptions.
#include "disk/DiskDevices.h"
#include "disk/DiskMap.h"
#include "platform/Win32Handles.h"
#include "restore/ImageCatalogue.h"
#include "restore/FileBytes.h"
#include "restore/ImageDescriptions.h"
#include "restore/ImageListFile.h"
#include "restore/WimHeader.h"

#include <windows.h>

#include <algorithm>
#include <span>

namespace quorvane {

namespace {

// Real lists hold a few hundred bytes per image; a larger file is no list.
constexpr DWORD maxListFileSize = 16 * 1024 * 1024;

// The profile functions read a file without a byte-order mark in the
// system's ANSI code page.
std::wstring ansiText(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty())
        return {};
    const int size = static_cast<int>(bytes.size());
    const auto* narrow = reinterpret_cast<const char*>(bytes.data());
    const int length = MultiByteToWideChar(CP_ACP, 0, narrow, size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, narrow, size, text.data(), length);
    return text;
}

class MachineImageListServices final : public ImageListServices {
public:
    std::optional<std::wstring> profileText(const std::wstring& file) override { return imageListText(file); }

    bool fileExists(const std::wstring& path) override { return quorvane::fileExists(path); }

    std::int64_t fileSize(const std::wstring& path) override
    {
        return static_cast<std::int64_t>(FileBytes(path).size()); // 0 when it cannot be opened
    }

    bool readImageName(const std::wstring& path, std::wstring& name) override
    {
        return quorvane::readImageName(path, name);
    }
};

} // namespace

ImageListServices& machineImageListServices()
{
    static MachineImageListServices services;
    return services;
}

void loadImageList(ImageCatalogue& catalogue)
{
    DiskMap map;
    map.refresh();
    loadImageList(catalogue, map, machineImageListServices());
}

std::optional<std::wstring> imageListText(const std::wstring& file)
{
    const auto bytes = readWholeFile(file, maxListFileSize);
    if (!bytes)
        return std::nullopt;
    return profileFileText(*bytes, ansiText);
}

bool readImageName(const std::wstring& path, std::wstring& name)
{
    // The imaging library takes paths of up to MAX_PATH characters with the
    // terminator; both editions answer alike for longer ones.
    if (path.size() >= MAX_PATH)
        return false;
    std::wstring description;
    if (!readMachineImageDescription(path, description))
        return false;
    name = imageNameFromDescription(description);
    return true;
}

bool fileExists(const std::wstring& path)
{
    // FindFirstFileW matches patterns and folders too; neither is an image.
    if (path.find_first_of(L"*?") != std::wstring::npos)
        return false;
    WIN32_FIND_DATAW found{};
    const UniqueFind search(FindFirstFileW(path.c_str(), &found));
    return search && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool hasRecoveryPartition()
{
    return hasRecoveryPartition(machineDiskDevices());
}

bool isCompleteImage(const std::wstring& path)
{
    FileBytes file(path);
    return file.opened() && isCompleteWimImage(file);
}

} // namespace quorvane
