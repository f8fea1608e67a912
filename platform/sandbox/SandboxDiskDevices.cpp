#include "platform/sandbox/SandboxDiskDevices.h"

#include "app/RecoveryApp.h"
#include "disk/MasterBootRecord.h"
#include "platform/Win32Handles.h"

#include <windows.h>

#include <cwctype>
#include <string>

namespace quorvane {

namespace {

constexpr int diskCount = 10;

// "<disk>,<partition>" with blanks allowed around the comma; false for anything else.
bool parseVolumePlace(const std::wstring& text, int& diskNumber, std::uint32_t& partitionNumber)
{
    std::size_t at = 0;
    auto readNumber = [&](std::uint32_t& value) {
        const std::size_t start = at;
        value = 0;
        while (at < text.size() && std::iswdigit(text[at]) && at - start < 9)
            value = value * 10 + static_cast<std::uint32_t>(text[at++] - L'0');
        return at > start;
    };
    auto skipBlanks = [&] {
        while (at < text.size() && text[at] == L' ')
            ++at;
    };
    std::uint32_t disk = 0;
    if (!readNumber(disk))
        return false;
    skipBlanks();
    if (at >= text.size() || text[at++] != L',')
        return false;
    skipBlanks();
    if (!readNumber(partitionNumber) || at != text.size() || disk >= diskCount)
        return false;
    diskNumber = static_cast<int>(disk);
    return true;
}

} // namespace

SandboxDiskDevices::SandboxDiskDevices(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::wstring SandboxDiskDevices::machineValue(const wchar_t* section, const std::wstring& key) const
{
    const std::wstring machineFile = (folder_ / L"machine.ini").wstring();
    wchar_t value[1024] = {};
    GetPrivateProfileStringW(section, key.c_str(), L"", value, 1024, machineFile.c_str());
    return value;
}

bool SandboxDiskDevices::isFixedDrive(char letter)
{
    const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', 0};
    return GetDriveTypeW(root) == DRIVE_FIXED;
}

std::optional<DeviceNumber> SandboxDiskDevices::volumePlace(char letter) const
{
    int diskNumber = 0;
    std::uint32_t partitionNumber = 0;
    if (!parseVolumePlace(machineValue(L"Volumes", std::wstring(1, static_cast<wchar_t>(letter))), diskNumber,
                          partitionNumber)
        || partitionNumber == 0)
        return std::nullopt;
    return DeviceNumber{diskNumber, partitionNumber};
}

std::optional<PartitionInformation> SandboxDiskDevices::volumePartitionInformation(char letter)
{
    const auto place = volumePlace(letter);
    if (!place)
        return std::nullopt;
    const auto layout = driveLayout(place->diskNumber);
    if (!layout)
        return std::nullopt;
    for (const PartitionInformation& entry : layout->entries) {
        if (entry.partitionNumber == place->partitionNumber)
            return entry;
    }
    return std::nullopt;
}

std::optional<DeviceNumber> SandboxDiskDevices::volumeDeviceNumber(char letter)
{
    return volumePlace(letter);
}

std::optional<DriveLayout> SandboxDiskDevices::driveLayout(int diskNumber)
{
    FirstSector sector;
    if (!readFirstSector(diskNumber, sector))
        return std::nullopt;
    return driveLayoutFromMasterBootRecord(sector);
}

bool SandboxDiskDevices::readFirstSectorOfDiskZero(FirstSector& sector)
{
    return readFirstSector(0, sector);
}

bool SandboxDiskDevices::readFirstSector(int diskNumber, FirstSector& sector) const
{
    sector.fill(0);
    if (diskNumber < 0 || diskNumber >= diskCount)
        return false;
    const std::wstring image = machineValue(L"Disks", std::to_wstring(diskNumber));
    if (image.empty())
        return false;
    const std::wstring path = (folder_ / image).wstring();
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    if (!file)
        return false;
    DWORD read = 0;
    return ReadFile(file.get(), sector.data(), static_cast<DWORD>(sector.size()), &read, nullptr)
        && read == sector.size();
}

DiskDevices& machineDiskDevices()
{
    static SandboxDiskDevices devices(std::filesystem::path(programFolder()) / L"Sandbox");
    return devices;
}

} // namespace quorvane
