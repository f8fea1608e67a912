// The sandbox machine: its own stand-in diskpart edits the disk images, and a
// restart is a line in Sandbox\events.log followed by the end of the program.
#include "app/RecoveryApp.h"
#include "job/HandOffServices.h"
#include "platform/Win32Handles.h"

#include <windows.h>

#include <cstring>

namespace quorvane {

namespace {

std::wstring sandboxFolder()
{
    return programFolder() + L"Sandbox\\";
}

bool appendEvent(const char* line)
{
    const std::wstring log = sandboxFolder() + L"events.log";
    UniqueFile file(CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD size = static_cast<DWORD>(std::strlen(line));
    DWORD written = 0;
    return file && WriteFile(file.get(), line, size, &written, nullptr) && written == size;
}

class SandboxHandOffServices : public HandOffServices {
public:
    // Found exactly where the real one is looked for, but in the sandbox.
    std::wstring diskpartProgram() const override { return sandboxFolder() + L"diskpart.exe"; }

    // [Restart] Fail=1 in machine.ini makes the request fail, as a restart
    // that the system refused.
    void requestRestart() override
    {
        const std::wstring machine = sandboxFolder() + L"machine.ini";
        if (GetPrivateProfileIntW(L"Restart", L"Fail", 0, machine.c_str()) != 0)
            return;
        if (!appendEvent("restart\r\n"))
            return; // a restart nobody can see did not happen
        ExitProcess(0);
    }
};

} // namespace

HandOffServices& machineHandOffServices()
{
    static SandboxHandOffServices services;
    return services;
}

} // namespace quorvane
