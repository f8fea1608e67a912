// The sandbox edition reads image descriptions with our own WIM reader only.
#include "restore/FileBytes.h"
#include "restore/ImageDescriptions.h"
#include "restore/WimDescription.h"

namespace quorvane {

bool readMachineImageDescription(const std::wstring& path, std::wstring& description)
{
    FileBytes file(path);
    return file.opened() && readWimDescription(file, description);
}

} // namespace quorvane
