// One restorable image as the restore wizard offers it.
#pragma once

#include <cstdint>
#include <string>

namespace quorvane {

struct ImageEntry {
    std::int64_t imageSize = 0; // bytes; 0 when the file cannot be opened
    std::int32_t diskId = 0;
    std::int32_t partId = 0;
    std::wstring imagePath;
    std::wstring imageName;
};

} // namespace quorvane
