// The real PC's disks, through the disk device requests.
#include "disk/DiskDevices.h"
#include "platform/Win32Handles.h"

#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace quorvane {

namespace {

static_assert(sizeof(PARTITION_INFORMATION) == partitionInformationSize);

// Large enough for any layout the program expects; a disk whose layout does
// not fit contributes nothing.
constexpr DWORD layoutBufferSize = 65000;

UniqueFile openDevice(const wchar_t* name)
{
    return UniqueFile(CreateFileW(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
}

UniqueFile openPhysicalDrive(int diskNumber)
{
    wchar_t name[32];
    std::swprintf(name, 32, L"\\\\.\\PHYSICALDRIVE%d", diskNumber);
    return openDevice(name);
}

// "\\.\%c:"
std::wstring volumeName(char letter)
{
    return std::wstring(L"\\\\.\\") + static_cast<wchar_t>(letter) + L':';
}

class WindowsDiskDevices final : public DiskDevices {
public:
    bool isFixedDrive(char letter) override
    {
        const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', 0};
        return GetDriveTypeW(root) == DRIVE_FIXED;
    }

    std::optional<PartitionInformation> volumePartitionInformation(char letter) override
    {
        UniqueFile volume = openDevice(volumeName(letter).c_str());
        if (!volume)
            return std::nullopt;
        std::uint8_t bytes[partitionInformationSize] = {};
        DWORD returned = 0;
        if (!DeviceIoControl(volume.get(), IOCTL_DISK_GET_PARTITION_INFO, nullptr, 0, bytes, sizeof(bytes),
                             &returned, nullptr)
            || returned < sizeof(bytes))
            return std::nullopt;
        return readPartitionInformation(bytes);
    }

    std::optional<DeviceNumber> volumeDeviceNumber(char letter) override
    {
        UniqueFile volume = openDevice(volumeName(letter).c_str());
        if (!volume)
            return std::nullopt;
        STORAGE_DEVICE_NUMBER number{};
        DWORD returned = 0;
        if (!DeviceIoControl(volume.get(), IOCTL_STORAGE_GET_DEVICE_NUMBER, nullptr, 0, &number, sizeof(number),
                             &returned, nullptr)
            || returned < sizeof(number) || number.DeviceType != FILE_DEVICE_DISK)
            return std::nullopt;
        return DeviceNumber{static_cast<std::int32_t>(number.DeviceNumber), number.PartitionNumber};
    }

    std::optional<DriveLayout> driveLayout(int diskNumber) override
    {
        std::vector<std::uint8_t> buffer(layoutBufferSize, 0);
        UniqueFile disk = openPhysicalDrive(diskNumber);
        if (!disk)
            return std::nullopt;
        DWORD returned = 0;
        if (!DeviceIoControl(disk.get(), IOCTL_DISK_GET_DRIVE_LAYOUT, nullptr, 0, buffer.data(), layoutBufferSize,
                             &returned, nullptr))
            return std::nullopt;
        return readDriveLayout(std::span(buffer).first(std::min<std::size_t>(returned, buffer.size())));
    }

    bool readFirstSectorOfDiskZero(FirstSector& sector) override
    {
        sector.fill(0);
        UniqueFile disk = openPhysicalDrive(0);
        if (!disk)
            return false;
        DWORD read = 0;
        return ReadFile(disk.get(), sector.data(), static_cast<DWORD>(sector.size()), &read, nullptr)
            && read == sector.size();
    }
};

} // namespace

DiskDevices& machineDiskDevices()
{
    static WindowsDiskDevices devices;
    return devices;
}

} // namespace quorvane
