// The two jobs a confirm page hands over: filled by the page before it, read
// when the user presses Start.
#pragma once

#include <cstdint>
#include <string>

namespace quorvane {

struct BackupJobParameters {
    std::int32_t compression = 0; // 1 none, 2 fast, 3 maximum
    std::wstring description;
    std::wstring imagePath;        // full path of the image file to create
    std::uint32_t partitionId = 0; // partition that receives the image
    std::int32_t diskId = 0;       // disk of that partition
};

struct RestoreJobParameters {
    std::int64_t imageSize = 0; // bytes
    std::int32_t diskId = 0;
    std::uint32_t partId = 0;
    std::wstring imagePath;
    std::wstring imageName;
    std::wstring systemDriveText; // shown for the system partition; not part of the job
};

} // namespace quorvane
