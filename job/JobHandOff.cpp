#include "job/JobHandOff.h"

#include "app/RecoveryApp.h"
#include "disk/DiskDevices.h"
#include "disk/DiskMap.h"
#include "disk/MasterBootRecord.h"
#include "job/HandOffServices.h"
#include "job/JobContent.h"
#include "platform/Win32Handles.h"
#include "restore/FileBytes.h"

#include <cstring>
#include <optional>
#include <vector>

namespace quorvane {

namespace {

constexpr wchar_t messageCaption[] = L"Quorvane";
constexpr int textCannotHandOver = 93;
constexpr int textImageOnOtherDisk = 95;
constexpr int textFactoryName = 59;
constexpr int textFactoryPath = 60;
// A job file is a few hundred bytes; anything near this is not ours.
constexpr DWORD jobFileReadLimit = 1 << 20;

void showText(HWND owner, int id)
{
    MessageBoxW(owner, RecoveryApp::current().catalogue.text(id).c_str(), messageCaption, MB_OK);
}

// Writes the job onto the system partition and reads it back from the disk:
// true only when the file holds exactly the job. The profile functions cannot
// tell: they may answer from a cache, and a write to a full disk can report
// success for a file that was cut off.
bool writeJobFile(const JobKeys& keys)
{
    for (const JobKey& key : keys) {
        if (breaksLine(key.value))
            return false;
    }
    DiskMap map;
    map.refresh();
    const std::optional<std::wstring> path = jobFilePath(map.driveLetterOf(2, 0));
    if (!path)
        return false;
    DeleteFileW(path->c_str());
    if (!createJobFile(*path))
        return false;
    for (const JobKey& key : keys)
        WritePrivateProfileStringW(jobSection, key.name.c_str(), key.value.c_str(), path->c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, path->c_str()); // flushes a cached copy
    const auto written = readWholeFile(*path, jobFileReadLimit);
    return written && jobFileHolds(*written, keys);
}

// Partition 1 of disk 0 may become the boot partition: its entry in the master
// boot record has a recovery partition's type. Switching any other partition
// would boot an ordinary partition, or nothing.
bool diskZeroStartsWithARecoveryPartition()
{
    FirstSector sector{};
    return machineDiskDevices().readFirstSectorOfDiskZero(sector)
        && isRecoveryPartitionType(sector[firstPartitionTypeOffset]);
}

void handOff(HWND owner, const JobKeys& keys, const std::wstring& imagePath, bool imageOnOtherDisk)
{
    // Nothing is written for a job that cannot be done; a boot partition
    // switched without a complete job would start the recovery environment
    // with nothing to do.
    if (!diskZeroStartsWithARecoveryPartition() || !fitsRecoveryEnvironment(imagePath) || !writeJobFile(keys)
        || !runDiskpartScript(diskpartScriptText, diskpartScriptName)) {
        showText(owner, textCannotHandOver);
        ExitProcess(1);
    }
    if (imageOnOtherDisk)
        showText(owner, textImageOnOtherDisk);
    requestRestart();
}

} // namespace

void startBackupJob(HWND owner, const BackupJobParameters& job)
{
    handOff(owner, backupJobKeys(job), job.imagePath, needsOtherDiskNotice(job.diskId, job.partitionId));
}

void startRestoreJob(HWND owner, RestoreJobParameters& job)
{
    const StringCatalogue& texts = RecoveryApp::current().catalogue;
    applyFactoryRule(job, texts.text(textFactoryName), texts.text(textFactoryPath));
    handOff(owner, restoreJobKeys(job), job.imagePath, needsOtherDiskNotice(job.diskId, job.partId));
}

bool runDiskpartScript(const char* scriptText, const wchar_t* scriptFileName)
{
    // The wide path: the ANSI one has '?' for characters outside the code page.
    wchar_t programPath[programPathLimit] = {};
    const DWORD length = GetModuleFileNameW(nullptr, programPath, programPathLimit);
    if (length == 0 || length >= programPathLimit)
        return false;
    const std::optional<DiskpartLaunch> launch = diskpartLaunch(std::wstring_view(programPath, length), scriptFileName);
    if (!launch)
        return false;

    {
        UniqueFile script(CreateFileW(launch->scriptPath.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!script)
            return false;
        const DWORD size = static_cast<DWORD>(std::strlen(scriptText));
        DWORD written = 0;
        if (!WriteFile(script.get(), scriptText, size, &written, nullptr) || written != size)
            return false;
    }

    const std::wstring program = machineHandOffServices().diskpartProgram();
    std::wstring commandLine = launch->commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION created{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &created))
        return false;
    const UniqueHandle process(created.hProcess);
    const UniqueHandle thread(created.hThread); // closed first
    WaitForSingleObject(process.get(), INFINITE);
    DWORD exitCode = 1;
    const bool ended = GetExitCodeProcess(process.get(), &exitCode) != FALSE;
    DeleteFileW(launch->scriptPath.c_str());
    // A diskpart that ran but failed has not switched the boot partition.
    return ended && exitCode == 0;
}

bool createJobFile(const std::wstring& path)
{
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    static constexpr std::uint8_t byteOrderMark[] = {0xFF, 0xFE};
    DWORD written = 0;
    return WriteFile(file.get(), byteOrderMark, sizeof(byteOrderMark), &written, nullptr) != FALSE
           && written == sizeof(byteOrderMark);
}

void requestRestart()
{
    machineHandOffServices().requestRestart();
}

} // namespace quorvane
