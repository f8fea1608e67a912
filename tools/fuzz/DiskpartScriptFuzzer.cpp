// The sandbox's diskpart on any script, over two disks in memory: whatever the
// script says, only disk 0's boot flags change, and then exactly one is set.
#include "tools/diskpart/StandInDiskpart.h"
#include "tools/fuzz/FuzzInput.h"

#include <algorithm>
#include <map>

namespace {

using namespace quorvane::standin;

class MemoryDisks : public MachineDisks {
public:
    std::optional<Sector> readFirstSector(int disk) override
    {
        const auto found = sectors.find(disk);
        return found == sectors.end() ? std::nullopt : std::optional(found->second);
    }
    bool writeFirstSector(int disk, const Sector& sector) override
    {
        ++writes;
        sectors[disk] = sector;
        return true;
    }
    std::map<int, Sector> sectors;
    int writes = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first sector's worth of bytes is disk 0's MBR, the rest the script.
    const std::size_t sectorBytes = std::min(size, sectorSize);
    MemoryDisks disks;
    Sector first{};
    std::copy_n(data, sectorBytes, first.begin());
    disks.sectors[0] = first;
    disks.sectors[1] = Sector{};
    const std::string_view script(reinterpret_cast<const char*>(data) + sectorBytes, size - sectorBytes);
    const ScriptRun run = runScript(script, disks);
    quorvane::fuzz::require(run.exitCode == success || run.exitCode == invalidArguments
                            || run.exitCode == serviceFailure || run.exitCode == syntaxError);
    // Only disk 0 has a table to write to, and only its four boot flags change.
    quorvane::fuzz::require(disks.sectors[1] == Sector{});
    if (disks.writes > 0) {
        Sector written = disks.sectors[0];
        int flags = 0;
        for (std::size_t slot = 0; slot < 4; ++slot) {
            flags += written[0x1BE + slot * 16] == 0x80;
            written[0x1BE + slot * 16] = first[0x1BE + slot * 16];
        }
        quorvane::fuzz::require(flags == 1 && written == first);
    }
    return 0;
}
