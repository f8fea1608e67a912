// The sandbox machine's diskpart: carries out the commands of a diskpart script
// on the master boot records of the sandbox's disk images. It knows the few
// commands the hand-off uses; anything else is an error, as diskpart reports
// errors: a message and a non-zero exit code, the disks left as they were.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::standin {

inline constexpr std::size_t sectorSize = 512;
using Sector = std::array<std::uint8_t, sectorSize>;

// diskpart's exit codes.
enum ExitCode : int {
    success = 0,
    invalidArguments = 2, // no such disk or partition
    scriptUnreadable = 3,
    serviceFailure = 4,   // the disk could not be written
    syntaxError = 5,      // unknown command, or a command without its selection
};

// The first sector of each disk of the machine.
class MachineDisks {
public:
    virtual ~MachineDisks() = default;
    // Nothing when the machine has no such disk or it cannot be read.
    virtual std::optional<Sector> readFirstSector(int disk) = 0;
    virtual bool writeFirstSector(int disk, const Sector& sector) = 0;
};

// Disks that are raw image files.
class ImageFileDisks : public MachineDisks {
public:
    void add(int disk, const std::filesystem::path& image) { images_[disk] = image; }
    std::optional<Sector> readFirstSector(int disk) override;
    bool writeFirstSector(int disk, const Sector& sector) override;

private:
    std::map<int, std::filesystem::path> images_;
};

// The table slot (0..3) of partition `number` as Windows numbers the
// partitions of an MBR disk: used entries other than extended-partition
// containers, 1, 2, 3... in table order. Nothing for a sector without the
// boot signature or for a GPT disk's protective record.
std::optional<int> partitionSlot(const Sector& sector, std::uint32_t number);

// A GPT disk shows only its protective entry (type 0xEE) in the MBR.
bool isGptDisk(const Sector& sector);

// Boot flag 0x80 on this slot, cleared on the other three.
void markActive(Sector& sector, int slot);

struct ScriptRun {
    int exitCode = success;
    std::string output; // what diskpart would print, one message a line
};

// Runs the script's commands in order and stops at the first error or at exit.
ScriptRun runScript(std::string_view script, MachineDisks& disks);

} // namespace quorvane::standin
