#include "tools/diskpart/StandInDiskpart.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <utility>
#include <vector>

namespace quorvane::standin {

namespace {

constexpr std::size_t tableOffset = 0x1BE;
constexpr std::size_t entrySize = 16;
constexpr int tableSlots = 4;
constexpr std::uint8_t bootFlag = 0x80;
constexpr std::uint8_t gptProtectiveType = 0xEE;

std::uint8_t entryType(const Sector& sector, int slot)
{
    return sector[tableOffset + static_cast<std::size_t>(slot) * entrySize + 4];
}

bool hasBootSignature(const Sector& sector)
{
    return sector[510] == 0x55 && sector[511] == 0xAA;
}

bool isContainer(std::uint8_t type)
{
    return type == 0x05 || type == 0x0F || type == 0x85;
}

std::vector<std::string> lowerCaseWords(std::string_view line)
{
    std::vector<std::string> words;
    std::string word;
    for (char c : line) {
        if (c == ' ' || c == '\t') {
            if (!word.empty())
                words.push_back(std::exchange(word, {}));
        } else {
            word.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

std::optional<std::uint32_t> number(const std::string& word)
{
    if (word.empty() || word.size() > 9 || !std::all_of(word.begin(), word.end(), [](char c) {
            return c >= '0' && c <= '9';
        }))
        return std::nullopt;
    return static_cast<std::uint32_t>(std::stoul(word));
}

// One run of a script: the selections and what has been printed.
class Session {
public:
    explicit Session(MachineDisks& disks) : disks_(disks) {}

    // False when the command failed; run.exitCode then says why.
    bool execute(const std::vector<std::string>& words)
    {
        if (words.size() == 3 && words[0] == "select" && words[1] == "disk") {
            const auto disk = number(words[2]);
            return disk ? selectDisk(static_cast<int>(*disk)) : fail(syntaxError, "The arguments specified for this command are not valid.");
        }
        if (words.size() == 3 && words[0] == "select" && words[1] == "partition") {
            const auto partition = number(words[2]);
            return partition ? selectPartition(*partition) : fail(syntaxError, "The arguments specified for this command are not valid.");
        }
        if (words.size() == 1 && words[0] == "active")
            return active();
        return fail(syntaxError, "The command is not known to this diskpart.");
    }

    ScriptRun run;

private:
    bool fail(ExitCode code, const char* message)
    {
        run.exitCode = code;
        print(message);
        return false;
    }

    void print(const std::string& line) { run.output += line + "\n"; }

    bool selectDisk(int disk)
    {
        disk_.reset();
        slot_.reset();
        if (!disks_.readFirstSector(disk))
            return fail(invalidArguments, "The disk you specified is not valid.\nThere is no disk selected.");
        disk_ = disk;
        print("Disk " + std::to_string(disk) + " is now the selected disk.");
        return true;
    }

    bool selectPartition(std::uint32_t partition)
    {
        slot_.reset();
        if (!disk_)
            return fail(syntaxError, "There is no disk selected to set the partition.\nPlease select a disk and try again.");
        const auto sector = disks_.readFirstSector(*disk_);
        if (sector && isGptDisk(*sector))
            return fail(invalidArguments, "The selected disk is not a fixed MBR disk.\nThe partition you specified is not valid.");
        const auto slot = sector ? partitionSlot(*sector, partition) : std::nullopt;
        if (!slot)
            return fail(invalidArguments, "The partition you specified is not valid.\nThere is no partition selected.");
        slot_ = *slot;
        print("Partition " + std::to_string(partition) + " is now the selected partition.");
        return true;
    }

    bool active()
    {
        if (!disk_ || !slot_)
            return fail(syntaxError, "There is no partition selected.\nPlease select a partition and try again.");
        auto sector = disks_.readFirstSector(*disk_);
        if (!sector)
            return fail(serviceFailure, "DiskPart could not read the selected disk.");
        markActive(*sector, *slot_);
        if (!disks_.writeFirstSector(*disk_, *sector))
            return fail(serviceFailure, "DiskPart could not write the partition table of the selected disk.");
        print("DiskPart marked the current partition as active.");
        return true;
    }

    MachineDisks& disks_;
    std::optional<int> disk_;
    std::optional<int> slot_;
};

} // namespace

std::optional<Sector> ImageFileDisks::readFirstSector(int disk)
{
    const auto image = images_.find(disk);
    if (image == images_.end())
        return std::nullopt;
    std::ifstream file(image->second, std::ios::binary);
    Sector sector{};
    if (!file.read(reinterpret_cast<char*>(sector.data()), sectorSize))
        return std::nullopt;
    return sector;
}

bool ImageFileDisks::writeFirstSector(int disk, const Sector& sector)
{
    const auto image = images_.find(disk);
    if (image == images_.end())
        return false;
    // Opened for update: the rest of the image stays as it is.
    std::fstream file(image->second, std::ios::binary | std::ios::in | std::ios::out);
    file.write(reinterpret_cast<const char*>(sector.data()), sectorSize);
    file.flush();
    return static_cast<bool>(file);
}

bool isGptDisk(const Sector& sector)
{
    if (!hasBootSignature(sector))
        return false;
    for (int slot = 0; slot < tableSlots; ++slot) {
        if (entryType(sector, slot) == gptProtectiveType)
            return true;
    }
    return false;
}

std::optional<int> partitionSlot(const Sector& sector, std::uint32_t number)
{
    if (!hasBootSignature(sector) || isGptDisk(sector) || number == 0)
        return std::nullopt;
    std::uint32_t counted = 0;
    for (int slot = 0; slot < tableSlots; ++slot) {
        const std::uint8_t type = entryType(sector, slot);
        if (type == 0 || isContainer(type))
            continue;
        if (++counted == number)
            return slot;
    }
    return std::nullopt;
}

void markActive(Sector& sector, int slot)
{
    for (int each = 0; each < tableSlots; ++each)
        sector[tableOffset + static_cast<std::size_t>(each) * entrySize] = each == slot ? bootFlag : 0;
}

ScriptRun runScript(std::string_view script, MachineDisks& disks)
{
    Session session(disks);
    while (!script.empty()) {
        const std::size_t end = script.find('\n');
        std::string_view line = script.substr(0, end);
        script.remove_prefix(end == std::string_view::npos ? script.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        const std::vector<std::string> words = lowerCaseWords(line);
        if (words.empty())
            continue;
        if (words.size() == 1 && words[0] == "exit")
            break;
        if (!session.execute(words))
            break;
    }
    session.run.output += "\nLeaving DiskPart...\n";
    return session.run;
}

} // namespace quorvane::standin
