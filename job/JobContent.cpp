#include "job/JobContent.h"

namespace quorvane {

namespace {

constexpr std::wstring_view profileBlanks = L" \t";

std::wstring_view trimBlanks(std::wstring_view text)
{
    const std::size_t first = text.find_first_not_of(profileBlanks);
    if (first == std::wstring_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(profileBlanks);
    return text.substr(first, last - first + 1);
}

// The text after the byte-order mark, or nothing when the bytes are not
// UTF-16LE with one.
std::optional<std::wstring> utf16Text(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 2 || bytes.size() % 2 != 0 || bytes[0] != 0xFF || bytes[1] != 0xFE)
        return std::nullopt;
    std::wstring text;
    text.reserve(bytes.size() / 2 - 1);
    for (std::size_t i = 2; i < bytes.size(); i += 2)
        text.push_back(static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8)));
    return text;
}

// Lines that each end in CR LF; nothing when a line ends otherwise or a lone
// CR or LF stands inside one.
std::optional<std::vector<std::wstring_view>> crlfLines(std::wstring_view text)
{
    std::vector<std::wstring_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find(L"\r\n");
        if (end == std::wstring_view::npos)
            return std::nullopt;
        const std::wstring_view line = text.substr(0, end);
        if (breaksLine(line))
            return std::nullopt;
        lines.push_back(line);
        text.remove_prefix(end + 2);
    }
    return lines;
}

} // namespace

JobKeys backupJobKeys(const BackupJobParameters& job)
{
    return {{L"Type", L"Backup"},
            {L"Path", job.imagePath},
            {L"Desc", job.description},
            {L"PartID", std::to_wstring(job.partitionId)},
            {L"DiskID", std::to_wstring(job.diskId)},
            {L"Compress", std::to_wstring(job.compression)}};
}

JobKeys restoreJobKeys(const RestoreJobParameters& job)
{
    return {{L"Type", L"Restore"},
            {L"Path", job.imagePath},
            {L"PartID", std::to_wstring(job.partId)},
            {L"DiskID", std::to_wstring(job.diskId)}};
}

bool isFactoryEntry(const RestoreJobParameters& job, std::wstring_view factoryName, std::wstring_view factoryPath)
{
    return job.diskId == 0 && job.partId == 1 && job.imageSize == 0 && job.imageName == factoryName
        && job.imagePath == factoryPath;
}

bool applyFactoryRule(RestoreJobParameters& job, std::wstring_view factoryName, std::wstring_view factoryPath)
{
    if (!isFactoryEntry(job, factoryName, factoryPath))
        return false;
    job.imagePath = factoryImagePath;
    return true;
}

bool needsOtherDiskNotice(std::int32_t diskId, std::uint32_t partitionId)
{
    return diskId > 0 && partitionId != 0;
}

std::optional<std::wstring> jobFilePath(char driveLetter)
{
    if (driveLetter < 'a' || driveLetter > 'z')
        return std::nullopt;
    return std::wstring(1, static_cast<wchar_t>(driveLetter)) + L":\\Backup_Restore_Config.ini";
}

std::optional<DiskpartLaunch> diskpartLaunch(std::wstring_view programPath, std::wstring_view scriptName)
{
    const std::size_t lastBackslash = programPath.rfind(L'\\');
    if (lastBackslash == std::wstring_view::npos)
        return std::nullopt;
    DiskpartLaunch launch;
    launch.scriptPath = std::wstring(programPath.substr(0, lastBackslash + 1)) + std::wstring(scriptName);
    launch.commandLine = L"diskpart /s \"" + launch.scriptPath + L"\"";
    if (programPath.size() >= programPathLimit || launch.scriptPath.size() >= programPathLimit
        || launch.commandLine.size() >= programPathLimit)
        return std::nullopt;
    return launch;
}

bool isRecoveryPartitionType(std::uint8_t type)
{
    return type == 0x12 || type == 0x27;
}

bool fitsRecoveryEnvironment(std::wstring_view imagePath)
{
    return imagePath.size() < recoveryPathLimit;
}

bool breaksLine(std::wstring_view value)
{
    return value.find_first_of(L"\r\n") != std::wstring_view::npos;
}

bool jobFileHolds(std::span<const std::uint8_t> bytes, const JobKeys& keys)
{
    const std::optional<std::wstring> text = utf16Text(bytes);
    if (!text)
        return false;
    const auto lines = crlfLines(*text);
    if (!lines || lines->size() != keys.size() + 1 || (*lines)[0] != L"[" + std::wstring(jobSection) + L"]")
        return false;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const JobKey& key = keys[i];
        const std::wstring_view line = (*lines)[i + 1];
        if (breaksLine(key.value) || !line.starts_with(key.name + L"="))
            return false;
        if (trimBlanks(line.substr(key.name.size() + 1)) != trimBlanks(key.value))
            return false;
    }
    return true;
}

} // namespace quorvane
