// The sandbox machine's stand-in diskpart: the script commands, the hand-off's
// own script among them, and what they do to the master boot records of disks
// in memory. Its run on a disk image made
// by sfdisk is seen end to end by the Windows hand-off tests.
#include "tools/diskpart/StandInDiskpart.h"
#include "job/JobContent.h"

#include <gtest/gtest.h>

namespace quorvane::standin {
namespace {

// An MBR with these partition types in its four slots, boot signature set.
Sector masterBootRecord(std::array<std::uint8_t, 4> types, int activeSlot = -1)
{
    Sector sector{};
    for (int slot = 0; slot < 4; ++slot) {
        sector[0x1BE + slot * 16] = slot == activeSlot ? 0x80 : 0;
        sector[0x1BE + slot * 16 + 4] = types[slot];
    }
    sector[510] = 0x55;
    sector[511] = 0xAA;
    return sector;
}

// Disk 0: recovery, an extended container (with a stale boot flag), an empty
// slot, the system partition; Windows numbers them 1, -, -, 2. Disk 1 is a GPT
// disk, disk 2 has no boot signature and so no table.
constexpr std::array<std::uint8_t, 4> diskZeroTypes{0x12, 0x05, 0, 0x07};

class DisksInMemory : public MachineDisks {
public:
    DisksInMemory()
    {
        sectors[0] = masterBootRecord(diskZeroTypes, 1);
        sectors[1] = masterBootRecord({0xEE, 0, 0, 0});
        sectors[2] = masterBootRecord({0x07, 0, 0, 0});
        sectors[2][511] = 0;
    }
    std::optional<Sector> readFirstSector(int disk) override
    {
        return sectors.contains(disk) ? std::optional(sectors[disk]) : std::nullopt;
    }
    bool writeFirstSector(int disk, const Sector& sector) override
    {
        if (!writable)
            return false;
        ++writes;
        sectors[disk] = sector;
        return true;
    }

    std::map<int, Sector> sectors;
    bool writable = true;
    int writes = 0;
};

TEST(StandInDiskpart, ScriptsWhatTheySayAndWhatTheyLeaveOnDiskZero)
{
    struct Case {
        const char* script;
        int exitCode;
        int activeSlot; // of disk 0 afterwards; 1 is the flag it started with
    };
    const Case cases[] = {
        {quorvane::diskpartScriptText, success, 0},
        {"\r\n  SELECT   Disk 0\r\n\r\n\tSelect PARTITION 1 \r\nActive\r\nEXIT", success, 0},
        {"select disk 0\nselect partition 2\nactive\n", success, 3}, // the container and the empty slot skipped
        {"select disk 0\nselect partition 1\nexit\nactive\n", success, 1},
        {"select disk 0\nselect partition 1\nformat\nactive\n", syntaxError, 1},
        {"select disk 0\nselect partition 3\nactive\n", invalidArguments, 1},
        {"select disk 0\nselect partition 0\nactive\n", invalidArguments, 1},
        {"select disk 3\nselect partition 1\nactive\n", invalidArguments, 1},
        {"select disk 1\nselect partition 1\nactive\n", invalidArguments, 1}, // GPT
        {"select disk 2\nselect partition 1\nactive\n", invalidArguments, 1}, // no table
        {"select disk 0\nselect partition 1\nselect disk 9\nactive\n", invalidArguments, 1},
        {"active\n", syntaxError, 1},
        {"select disk 0\nactive\n", syntaxError, 1},
        {"select partition 1\nactive\n", syntaxError, 1},
        {"select disk x\n", syntaxError, 1},
        {"select disk -1\n", syntaxError, 1},
        {"select disk 0 1\n", syntaxError, 1},
        {"select disk\n", syntaxError, 1},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.script);
        DisksInMemory disks;
        const ScriptRun run = runScript(each.script, disks);
        EXPECT_EQ(run.exitCode, each.exitCode) << run.output;
        // Only the flag bytes change, and only when the script succeeds.
        EXPECT_EQ(disks.sectors[0], masterBootRecord(diskZeroTypes, each.activeSlot));
        EXPECT_EQ(disks.writes, each.activeSlot == 1 ? 0 : 1);
    }

    // It says what it did, and fails when the disk cannot be written.
    DisksInMemory disks;
    const ScriptRun run = runScript(quorvane::diskpartScriptText, disks);
    EXPECT_NE(run.output.find("marked the current partition as active"), std::string::npos);
    EXPECT_NE(run.output.find("Leaving DiskPart"), std::string::npos);
    disks.writable = false;
    EXPECT_EQ(runScript(quorvane::diskpartScriptText, disks).exitCode, serviceFailure);
}

} // namespace
} // namespace quorvane::standin
