// A backup image's description (the XML text of a WIM file), read the way this
// edition reads it: Quorvane.exe through the platform's imaging library, with
// our own reader where that library cannot serve; QuorvaneSandbox.exe with our
// own reader.
#pragma once

#include <string>

namespace quorvane {

// True when the description could be read; it is then set.
bool readMachineImageDescription(const std::wstring& path, std::wstring& description);

} // namespace quorvane
