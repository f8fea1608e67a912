// The application object: one per process, reachable from every window.
#pragma once

#include "app/StringCatalogue.h"
#include "platform/Win32Handles.h"

#include <windows.h>

#include <string>

namespace quorvane {

class MainShellDialog;

class RecoveryApp {
public:
    RecoveryApp();
    ~RecoveryApp();
    RecoveryApp(const RecoveryApp&) = delete;
    RecoveryApp& operator=(const RecoveryApp&) = delete;

    static RecoveryApp& current();

    // Runs the program: single instance, language, the shell. Answers false on
    // every path, so the process ends when it returns.
    bool start();

    // Fills the catalogue from "<program folder>Lang\Quorvane\<code>.ini",
    // section [<code>]; false when that section gives nothing.
    bool loadLanguage(const std::wstring& code);

    // Loads a page picture from its full path into `bitmap`, replacing the
    // three 3-D greys with the system's colours; false, and `bitmap` as it
    // was, when the file cannot be loaded.
    static bool loadSkinImage(UniqueBitmap& bitmap, const std::wstring& path);

    StringCatalogue catalogue;
    std::wstring languageCode;
    MainShellDialog* mainWindow = nullptr;
    // What the process ends with: 1 when the main window could not be made.
    int exitCode = 0;

private:
    // The single-instance marker: held, never released, until the process ends.
    UniqueHandle instanceMutex;
};

// The running program's folder with its trailing backslash.
std::wstring programFolder();

} // namespace quorvane
