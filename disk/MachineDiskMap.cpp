// The disk map of the machine this edition runs on. Kept apart from the rest
// of the map, which the native tests build over their own devices.
#include "disk/DiskDevices.h"
#include "disk/DiskMap.h"

#include <windows.h>

namespace quorvane {

DiskMap::DiskMap() : devices_(machineDiskDevices()) {}

char ansiDriveLetter(const std::wstring& path)
{
    char first[8] = {};
    if (path.empty()
        || WideCharToMultiByte(CP_ACP, 0, path.c_str(), 1, first, sizeof first, nullptr, nullptr) <= 0)
        return 0;
    return first[0];
}

} // namespace quorvane
