// The two machine services a job hand-off needs, which differ between the real
// PC and the sandbox machine. Each edition defines machineHandOffServices().
#pragma once

#include <string>

namespace quorvane {

class HandOffServices {
public:
    virtual ~HandOffServices() = default;

    // Full path of the diskpart program to run. It is always named in full:
    // a bare name would let a diskpart.exe in the program or current folder
    // run instead.
    virtual std::wstring diskpartProgram() const = 0;

    // Asks for an immediate restart of the machine. Returns when the request
    // failed; otherwise the program is closed by the restart.
    virtual void requestRestart() = 0;
};

HandOffServices& machineHandOffServices();

} // namespace quorvane
