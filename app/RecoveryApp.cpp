#include "app/RecoveryApp.h"

#include "app/LanguageChoice.h"
#include "app/MainShellDialog.h"

#include <cstdio>
#include <cwchar>
#include <memory>
#include <vector>

namespace quorvane {

namespace {

constexpr wchar_t instanceMutexName[] = L"Quorvane Windows Application";
constexpr DWORD sectionBufferSize = 100000;
RecoveryApp* currentApp = nullptr;

} // namespace

std::wstring programFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    const std::size_t lastBackslash = folder.rfind(L'\\');
    if (lastBackslash != std::wstring::npos)
        folder.resize(lastBackslash + 1);
    return folder;
}

RecoveryApp::RecoveryApp()
{
    currentApp = this;
}

RecoveryApp::~RecoveryApp()
{
    if (currentApp == this)
        currentApp = nullptr;
}

RecoveryApp& RecoveryApp::current()
{
    return *currentApp;
}

bool RecoveryApp::loadLanguage(const std::wstring& code)
{
    catalogue.clear();
    wchar_t path[MAX_PATH] = {};
    const std::wstring folder = programFolder();
    // A folder so deep that the path does not fit is a missing language file.
    if (_snwprintf(path, MAX_PATH, L"%lsLang\\Quorvane\\%ls.ini", folder.c_str(), code.c_str()) < 0
        || path[MAX_PATH - 1] != L'\0')
        return false;
    std::vector<wchar_t> section(sectionBufferSize, L'\0');
    const DWORD copied = GetPrivateProfileSectionW(code.c_str(), section.data(), sectionBufferSize, path);
    if (copied == 0)
        return false;
    catalogue.fillFromSection(std::wstring_view(section.data(), copied));
    return true;
}

bool RecoveryApp::loadSkinImage(UniqueBitmap& bitmap, const std::wstring& path)
{
    HANDLE loaded = LoadImageW(GetModuleHandleW(nullptr), path.c_str(), IMAGE_BITMAP, 0, 0,
                               LR_LOADFROMFILE | LR_LOADMAP3DCOLORS | LR_CREATEDIBSECTION);
    if (!loaded)
        return false;
    bitmap.reset(static_cast<HBITMAP>(loaded));
    return true;
}

bool RecoveryApp::start()
{
    instanceMutex.reset(CreateMutexW(nullptr, TRUE, instanceMutexName));
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        return false;

    // The locale's own file; for a regional variant without one, the file of
    // its language. The layout then follows the file that was loaded.
    const LCID locale = GetUserDefaultLCID();
    std::wstring code = languageCodeOf(locale);
    if (!loadLanguage(code)) {
        const std::optional<std::wstring> fallback = fallbackLanguageCode(locale);
        if (!fallback || !loadLanguage(*fallback)) {
            MessageBoxW(nullptr, L"Not Found UI String File", L"Quorvane", MB_OK);
            return false;
        }
        code = *fallback;
    }
    languageCode = code;

    auto shell = std::make_unique<MainShellDialog>();
    mainWindow = shell.get();
    if (shell->runModal() == -1) {
        // Nothing showed: say so where the person who started the program can see it.
        std::fputs("Quorvane: the main window could not be created\n", stderr);
        exitCode = 1;
    }
    mainWindow = nullptr;
    return false;
}

} // namespace quorvane
