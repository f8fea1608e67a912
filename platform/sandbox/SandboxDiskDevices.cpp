#include "platform/sandbox/SandboxDiskDevices.h"

#include "app/RecoveryApp.h"
#include "disk/MasterBootRecord.h"
#include "platform/Win32Handles.h"

#include <windows.h>

#include <cwchar>
#include <cwctype>
#include <string>
#include <string_view>
#include <vector>

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

namespace {

// The key=value lines of a section, keys in lower case, blanks around both dropped.
std::map<std::wstring, std::wstring> sectionValues(const std::wstring& file, const wchar_t* section)
{
    std::vector<wchar_t> text(32 * 1024, L'\0');
    const DWORD length = GetPrivateProfileSectionW(section, text.data(), static_cast<DWORD>(text.size()), file.c_str());
    const auto trimmed = [](std::wstring_view part) {
        const std::size_t first = part.find_first_not_of(L" \t");
        return first == std::wstring_view::npos
            ? std::wstring()
            : std::wstring(part.substr(first, part.find_last_not_of(L" \t") - first + 1));
    };
    std::map<std::wstring, std::wstring> values;
    for (DWORD at = 0; at < length;) {
        const std::wstring_view line(text.data() + at);
        at += static_cast<DWORD>(line.size()) + 1;
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring_view::npos)
            continue;
        std::wstring key = trimmed(line.substr(0, equals));
        for (wchar_t& c : key)
            c = static_cast<wchar_t>(std::towlower(c));
        values.emplace(std::move(key), trimmed(line.substr(equals + 1)));
    }
    return values;
}

} // namespace

const SandboxDiskDevices::MachineDescription& SandboxDiskDevices::machine() const
{
    const std::wstring machineFile = (folder_ / L"machine.ini").wstring();
    // The file's time and size tell whether it changed since it was read: the
    // disk map asks for its values many times in every refresh.
    WIN32_FILE_ATTRIBUTE_DATA file{};
    std::uint64_t stamp = 0;
    if (GetFileAttributesExW(machineFile.c_str(), GetFileExInfoStandard, &file))
        stamp = (std::uint64_t{file.ftLastWriteTime.dwHighDateTime} << 32 | file.ftLastWriteTime.dwLowDateTime)
                ^ (std::uint64_t{file.nFileSizeHigh} << 32 | file.nFileSizeLow);
    if (stamp == 0 || stamp != machineStamp_) {
        machine_ = {sectionValues(machineFile, L"Disks"), sectionValues(machineFile, L"Volumes")};
        machineStamp_ = stamp;
    }
    return machine_;
}

std::wstring SandboxDiskDevices::machineValue(const std::map<std::wstring, std::wstring>& section,
                                              const std::wstring& key)
{
    const auto found = section.find(key);
    return found == section.end() ? std::wstring() : found->second;
}

std::uint32_t SandboxDiskDevices::presentDriveLetters()
{
    // The machine's drives are the letters its [Volumes] names. (Wine's own
    // list of drives does not see a drive added while its server runs.)
    std::uint32_t letters = 0;
    for (const auto& [key, place] : machine().volumes) {
        if (key.size() == 1 && key[0] >= L'a' && key[0] <= L'z')
            letters |= 1u << (key[0] - L'a');
    }
    return letters;
}

bool SandboxDiskDevices::isFixedDrive(char letter)
{
    // Every volume of the machine is on a fixed disk.
    return volumePlace(letter).has_value();
}

std::optional<DeviceNumber> SandboxDiskDevices::volumePlace(char letter) const
{
    int diskNumber = 0;
    std::uint32_t partitionNumber = 0;
    const wchar_t key[] = {static_cast<wchar_t>(std::towlower(static_cast<wchar_t>(letter))), 0};
    if (!parseVolumePlace(machineValue(machine().volumes, key), diskNumber,
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
    const std::wstring image = machineValue(machine().disks, std::to_wstring(diskNumber));
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
