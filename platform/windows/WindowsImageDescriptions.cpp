// Quorvane.exe reads image descriptions through the platform's imaging library,
// and with our own reader where that library cannot serve.
#include "platform/windows/Wimgapi.h"
#include "restore/FileBytes.h"
#include "restore/ImageDescriptions.h"
#include "restore/WimDescription.h"

namespace quorvane {

bool readMachineImageDescription(const std::wstring& path, std::wstring& description)
{
    switch (readDescriptionWithWimgapi(path, description)) {
    case WimgapiAnswer::read:
        return true;
    case WimgapiAnswer::failed:
        return false;
    case WimgapiAnswer::unavailable:
        break;
    }
    FileBytes file(path);
    return file.opened() && readWimDescription(file, description);
}

} // namespace quorvane
