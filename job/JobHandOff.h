// Hands a backup or a restore over to the recovery environment on partition 1
// of disk 0: writes the job file on the system partition, makes partition 1
// the boot partition with diskpart and restarts the machine.
#pragma once

#include "job/JobParameters.h"

#include <windows.h>

#include <string>

namespace quorvane {

// Both return only when the restart request failed; the page then stays. When
// the job cannot be handed over they show text 93 and end the process with
// exit code 1, without switching the boot partition. A job is refused before
// anything is written when partition 1 of disk 0 is no recovery partition or
// the image path is too long for the recovery environment.
void startBackupJob(HWND owner, const BackupJobParameters& job);
// A job for the factory entry gets the factory image path, in `job` itself.
void startRestoreJob(HWND owner, RestoreJobParameters& job);

// Writes the script into the program folder, runs diskpart on it and deletes
// it afterwards. True when diskpart ran and reported success; when it could
// not be started the script stays behind.
bool runDiskpartScript(const char* scriptText, const wchar_t* scriptFileName);

// Creates (or truncates) the file and writes the UTF-16LE byte-order mark.
bool createJobFile(const std::wstring& path);

void requestRestart();

} // namespace quorvane
