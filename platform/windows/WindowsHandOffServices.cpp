// The real PC: the system's diskpart and a real restart.
#include "job/HandOffServices.h"
#include "platform/Win32Handles.h"

#include <windows.h>

namespace quorvane {

namespace {

class WindowsHandOffServices : public HandOffServices {
public:
    std::wstring diskpartProgram() const override
    {
        wchar_t system[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryW(system, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return {}; // no program of that name can be started
        return std::wstring(system, length) + L"\\diskpart.exe";
    }

    // No result is examined: when the restart does not happen the page stays.
    void requestRestart() override
    {
        HANDLE rawToken = nullptr;
        OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken);
        const UniqueHandle token(rawToken);
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid);
        AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
        InitiateSystemShutdownW(nullptr, nullptr, 0, FALSE, TRUE);
    }
};

} // namespace

HandOffServices& machineHandOffServices()
{
    static WindowsHandOffServices services;
    return services;
}

} // namespace quorvane
