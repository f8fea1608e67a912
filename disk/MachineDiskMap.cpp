// The disk map of the machine this edition runs on. Kept apart from the rest
// of the map, which the native tests build over their own devices.
#include "disk/DiskDevices.h"
#include "disk/DiskMap.h"

namespace quorvane {

DiskMap::DiskMap() : devices_(machineDiskDevices()) {}

} // namespace quorvane
