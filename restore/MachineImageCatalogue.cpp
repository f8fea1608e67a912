// The image catalogue on this machine: the profile functions, the files and
// the edition's reader of image descriptions.
#include "disk/DiskDevices.h"
#include "disk/DiskMap.h"
#include "platform/Win32Handles.h"
#include "restore/ImageCatalogue.h"
#include "restore/FileBytes.h"
#include "restore/ImageDescriptions.h"
#include "restore/WimHeader.h"

#include <windows.h>

namespace quorvane {

namespace {

constexpr DWORD profileValueSize = 4096;
// Section names of a list file are a few bytes per image; the buffer grows
// until they fit, up to this many characters.
constexpr DWORD maxSectionNamesSize = 16 * 1024 * 1024;

class MachineImageListServices final : public ImageListServices {
public:
    std::wstring profileString(const std::wstring& file, const std::wstring& section,
                               const std::wstring& key) override
    {
        wchar_t value[profileValueSize] = {};
        GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", value, profileValueSize, file.c_str());
        return value;
    }

    std::vector<std::wstring> profileSectionNames(const std::wstring& file) override
    {
        std::vector<wchar_t> buffer(64 * 1024);
        DWORD copied = 0;
        for (;;) {
            const auto size = static_cast<DWORD>(buffer.size());
            copied = GetPrivateProfileSectionNamesW(buffer.data(), size, file.c_str());
            // size - 2 means the names did not fit.
            if (copied + 2 < size || size >= maxSectionNamesSize)
                break;
            buffer.assign(buffer.size() * 2, L'\0');
        }
        std::vector<std::wstring> names;
        for (DWORD at = 0; at < copied && buffer[at] != L'\0';) {
            std::wstring name(buffer.data() + at);
            at += static_cast<DWORD>(name.size()) + 1;
            names.push_back(std::move(name));
        }
        return names;
    }

    bool fileExists(const std::wstring& path) override { return quorvane::fileExists(path); }

    std::int64_t fileSize(const std::wstring& path) override
    {
        UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size{};
        if (!file || !GetFileSizeEx(file.get(), &size))
            return 0;
        return size.QuadPart;
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
    WIN32_FIND_DATAW found{};
    return static_cast<bool>(UniqueFind(FindFirstFileW(path.c_str(), &found)));
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
