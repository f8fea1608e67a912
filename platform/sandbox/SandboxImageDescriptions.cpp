// The sandbox edition reads image descriptions with our own WIM reader only.
#include "restore/ImageDescriptions.h"
#include "restore/WimDescription.h"

namespace quorvane {

bool readMachineImageDescription(const std::wstring& path, std::wstring& description)
{
    return readWimDescription(path, description);
}

} // namespace quorvane
