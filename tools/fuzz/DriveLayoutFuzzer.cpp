// A master boot record's table and a drive layout request's returned bytes.
#include "disk/DriveLayout.h"
#include "disk/MasterBootRecord.h"
#include "tools/fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace quorvane;
    const std::span<const std::uint8_t> bytes(data, size);
    if (const auto layout = driveLayoutFromMasterBootRecord(bytes)) {
        fuzz::require(layout->entries.size() == 4);
        std::uint32_t lastNumber = 0;
        for (const PartitionInformation& entry : layout->entries) {
            if (entry.partitionNumber != 0) {
                fuzz::require(entry.partitionNumber == lastNumber + 1 && entry.partitionType != 0);
                lastNumber = entry.partitionNumber;
            }
        }
    }
    if (const auto layout = readDriveLayout(bytes))
        fuzz::require(driveLayoutHeaderSize + layout->entries.size() * partitionInformationSize <= size);
    return 0;
}
