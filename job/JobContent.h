// What a job hand-off writes: the job file's keys, the diskpart script and the
// command that runs it, and the check of the job file as it landed on disk.
// No Windows call here; job/JobHandOff.cpp does the writing and running.
#pragma once

#include "job/JobParameters.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

struct JobKey {
    std::wstring name;
    std::wstring value;
};
using JobKeys = std::vector<JobKey>;

inline constexpr wchar_t jobSection[] = L"Config";
inline constexpr wchar_t factoryImagePath[] = L"z:\\FactoryImage.QVX";

// Makes partition 1 of disk 0 the boot partition.
inline constexpr char diskpartScriptText[] = "select disk 0\r\nselect partition 1\r\nactive\r\nexit\r\n";
inline constexpr wchar_t diskpartScriptName[] = L"DiskpartScript.txt";
// The program path, the script path and the command line each fit this many
// characters, terminating NUL included.
inline constexpr std::size_t programPathLimit = 260;
// The longest image path the recovery environment takes, terminator included.
inline constexpr std::size_t recoveryPathLimit = 260;

// The types of a hidden recovery partition (FAT and NTFS): the hand-off makes
// partition 1 of disk 0 the boot partition only when its MBR entry has one.
bool isRecoveryPartitionType(std::uint8_t type);

// An image path that the recovery environment can take.
bool fitsRecoveryEnvironment(std::wstring_view imagePath);

// The keys in the order they are written.
JobKeys backupJobKeys(const BackupJobParameters& job);
JobKeys restoreJobKeys(const RestoreJobParameters& job);

// Whether the job is exactly the factory entry the restore selection page
// offers: size 0, disk 0, partition 1, the catalogue's factory name, then its
// placeholder path, compared in that order and exactly.
bool isFactoryEntry(const RestoreJobParameters& job, std::wstring_view factoryName, std::wstring_view factoryPath);

// The restore selection page offers the factory image under the catalogue's
// name and placeholder path; the recovery environment needs the real path.
// Replaces job.imagePath when the job is exactly that entry; answers whether
// it did.
bool applyFactoryRule(RestoreJobParameters& job, std::wstring_view factoryName, std::wstring_view factoryPath);

// The user is told that the image lies on another disk than disk 0.
bool needsOtherDiskNotice(std::int32_t diskId, std::uint32_t partitionId);

// "x:\Backup_Restore_Config.ini" on the lower-case letter; nothing when the
// system partition has no letter.
std::optional<std::wstring> jobFilePath(char driveLetter);

struct DiskpartLaunch {
    std::wstring scriptPath;  // the program folder and the script name
    std::wstring commandLine; // diskpart /s "<scriptPath>"
};
// From the program's full path; nothing when it holds no backslash or when
// it, the script path or the command line would not fit programPathLimit.
std::optional<DiskpartLaunch> diskpartLaunch(std::wstring_view programPath, std::wstring_view scriptName);

// Whether the job file's bytes are exactly the job: FF FE, UTF-16LE lines
// ending in CR LF, "[Config]" and then one "name=value" line per key in order.
// Blanks and tabs around a value do not count, because profile readers drop
// them; everything else must match. A value holding CR or LF never matches:
// it would have started a new line.
bool jobFileHolds(std::span<const std::uint8_t> bytes, const JobKeys& keys);

// A value that cannot be written as one profile line.
bool breaksLine(std::wstring_view value);

} // namespace quorvane
