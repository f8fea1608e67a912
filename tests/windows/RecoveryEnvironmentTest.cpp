// The sandbox's recovery environment (tools/recovery) on a sandbox machine: the
// job runner hands each job over as a confirm page's Start does, the recovery
// environment carries it out with wimlib-imagex and sfdisk, and our own
// catalogue reads the image list it leaves.
#include "support/SandboxMachine.h"

#include "disk/DiskMap.h"
#include "platform/sandbox/SandboxDiskDevices.h"
#include "restore/ImageCatalogue.h"

#include <gtest/gtest.h>

#include <map>

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& file, const std::string& text)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

// Every file below the folder by its relative path, with its bytes as text.
std::map<std::string, std::string> filesIn(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder).generic_string()] = fileText(entry.path());
    }
    return files;
}

// Runs the recovery environment; its output, ending in "exit <status>".
std::string recover(const SandboxMachine& machine)
{
    const char* prefix = std::getenv("WINEPREFIX");
    std::string output;
    runUnixCommand(machine.folder(), "'" QUORVANE_SOURCE_DIR "/tools/recovery/recovery.py' '"
                                         + unixPath(machine.sandbox()) + "' --prefix '" + (prefix ? prefix : "")
                                         + "'; echo exit $?", &output);
    return output;
}

// The last line of the machine's events.log, without its line end.
std::string lastEvent(const SandboxMachine& machine)
{
    std::string log = machine.eventsLog();
    if (log.ends_with("\r\n"))
        log.resize(log.size() - 2);
    return log.substr(log.rfind('\n') + 1);
}

// A job handed over by the job runner, then carried out: the line the
// recovery environment leaves in events.log, or what went wrong.
std::string handOffAndRecover(const SandboxMachine& machine, const std::wstring& runnerArguments)
{
    ProgramUnderTest runner(machine.runner(), runnerArguments);
    if (!runner.waitForExit(30s) || machine.bootablePartitions() != "1")
        return "the hand-off did not end with partition 1 active";
    const std::string output = recover(machine);
    if (!output.ends_with("exit 0\n") || fs::exists(machine.jobFile()) || machine.bootablePartitions() != "2")
        return output;
    return lastEvent(machine);
}

// Writes the job file, makes the machine start its recovery partition and
// runs the recovery environment; its output.
std::string recoverJob(const SandboxMachine& machine, const Bytes& job)
{
    writeBytes(machine.jobFile(), job);
    if (!machine.sfdiskOnDiskZero("--activate", "1"))
        return "sfdisk failed";
    return recover(machine);
}

ImageCatalogue listedImages(const SandboxMachine& machine)
{
    SandboxDiskDevices devices(machine.sandbox());
    DiskMap map(devices);
    map.refresh();
    ImageCatalogue catalogue;
    loadImageList(catalogue, map, machineImageListServices());
    return catalogue;
}

Bytes job(const std::wstring& lines)
{
    return utf16File(L"[Config]\r\n" + lines);
}

// Partition 3 of disk 0 lettered q, and on the system partition a user's
// files beside one of Wine's own folders: backups, a restore, the factory
// restore, and jobs that fail, one after the other.
TEST(RecoveryEnvironment, BackupsRestoresAndJobsThatFail)
{
    SandboxMachine machine;
    const fs::path data = machine.folder() / L"data", system = machine.systemFolder();
    fs::create_directories(data / L"Backups");
    machine.writeMachine("[Volumes]\r\np=0,2\r\nq=0,3\r\n");
    writeFile(system / L"Documents/Notes.txt", "first notes\r\n");
    writeFile(system / L"Documents/Letter.txt", "Dear Ann,\r\n");
    writeFile(system / L"windows/win.ini", "[windows]\r\n");
    ASSERT_TRUE(machine.ready() && machine.addDrive('q', data));
    const auto backedUp = filesIn(system);

    // Two backups, listed, so that the catalogue shows both names; what they
    // captured (not Wine's folder) is seen when one is restored.
    EXPECT_EQ(handOffAndRecover(machine, L"backup 2 3 0 Q:\\Monday.QVX \" Monday \""), "recovery backup ok Q:\\Monday.QVX");
    EXPECT_EQ(handOffAndRecover(machine, L"backup 3 3 0 q:\\backups\\Tuesday.QVX Tuesday"),
              "recovery backup ok q:\\backups\\Tuesday.QVX");
    // The same image made again, with its name spelt otherwise, is listed once.
    EXPECT_TRUE(recoverJob(machine, job(L"Type=Backup\r\nPath=D:\\monday.qvx\r\nDesc=Again\r\nPartID=3\r\nDiskID=0\r\n"
                                        L"Compress=2\r\n")).ends_with("\nexit 0\n"));
    const fs::path monday = data / L"Monday.QVX", tuesday = data / L"Backups/Tuesday.QVX", list = data / L"Backup_Image_List.ini";
    EXPECT_EQ(fileBytes(list),
              utf16File(L"[BackupImage]\r\nTotalImageCount=2\r\n[Image0]\r\nPath=Q:\\Monday.QVX\r\nPartID=3\r\n"
                        L"DiskID=0\r\n[Image1]\r\nPath=q:\\backups\\Tuesday.QVX\r\nPartID=3\r\nDiskID=0\r\n"));
    const auto size = [](const fs::path& image) { return static_cast<std::int64_t>(fs::file_size(image)); };
    EXPECT_EQ(listedImages(machine), (ImageCatalogue{{size(monday), 0, 3, L"q:\\Monday.QVX", L"Again"},
                                                     {size(tuesday), 0, 3, L"q:\\backups\\Tuesday.QVX", L"Tuesday"}}));
    EXPECT_EQ(machine.eventsLog(), "restart\r\nrecovery backup ok Q:\\Monday.QVX\r\n"
                                   "restart\r\nrecovery backup ok q:\\backups\\Tuesday.QVX\r\n"
                                   "recovery backup ok D:\\monday.qvx\r\n");

    // A restore brings changed and deleted files back and removes the ones
    // added since; Wine's own folder keeps what it holds.
    writeFile(system / L"Documents/Notes.txt", "changed notes\r\n");
    fs::remove(system / L"Documents/Letter.txt");
    writeFile(system / L"Added/Stray.txt", "stray\r\n");
    writeFile(system / L"windows/win.ini", "[windows]\r\nchanged=1\r\n");
    EXPECT_EQ(handOffAndRecover(machine, L"restore " + std::to_wstring(size(monday)) + L" 0 3 d:\\Monday.QVX Monday"),
              "recovery restore ok d:\\Monday.QVX");
    auto expected = backedUp;
    expected["windows/win.ini"] = "[windows]\r\nchanged=1\r\n";
    EXPECT_EQ(filesIn(system), expected);
    EXPECT_FALSE(fs::exists(system / L"Added"));

    // The factory restore leaves the factory's files: this machine's factory
    // image, from files of the test's choosing.
    EXPECT_TRUE(fs::exists(buildFolder() / L"Sandbox/recovery/FactoryImage.QVX")) << "the default machine's";
    const fs::path fresh = machine.folder() / L"fresh", recovery = machine.sandbox() / L"recovery";
    writeFile(fresh / L"Documents/Welcome.txt", "Welcome\r\n");
    fs::create_directories(recovery);
    ASSERT_TRUE(runUnixCommand(machine.folder(), "wimlib-imagex capture '" + unixPath(fresh) + "' '"
                                                     + unixPath(recovery) + "/FactoryImage.QVX' Factory"));
    EXPECT_EQ(handOffAndRecover(machine, L"restore 0 0 1 \"Recovery partition\" \"Factory image\""),
              "recovery restore ok z:\\FactoryImage.QVX");
    EXPECT_EQ(filesIn(system), (std::map<std::string, std::string>{{"Documents/Welcome.txt", "Welcome\r\n"},
                                                                    {"windows/win.ini", "[windows]\r\nchanged=1\r\n"}}));

    // A job that cannot be done (here an image that does not verify) leaves
    // the image list and the system partition as they were, and the machine
    // starts Windows again. Jobs the job runner refuses never get here.
    changedCopy(monday, data / L"Damaged.QVX", [](Bytes& b) { b[b.size() / 2] ^= 0xFF; });
    const Bytes listBytes = fileBytes(list);
    const auto systemFiles = filesIn(system);
    const std::string output = recoverJob(machine, job(L"Type=Restore\r\nPath=d:\\Damaged.QVX\r\nPartID=3\r\nDiskID=0\r\n"));
    EXPECT_TRUE(output.ends_with("exit 1\n")) << output;
    EXPECT_TRUE(lastEvent(machine).starts_with("recovery restore failed: the image did not pass wimlib-imagex verify"))
        << lastEvent(machine);
    EXPECT_EQ(fileBytes(list), listBytes);
    EXPECT_EQ(filesIn(system), systemFiles);
    EXPECT_FALSE(fs::exists(machine.jobFile()));
    EXPECT_EQ(machine.bootablePartitions(), "2");
    EXPECT_EQ(listedImages(machine).size(), 2u);

    // A machine that starts Windows has no recovery to run: the job waits.
    writeBytes(machine.jobFile(), job(L"Type=Backup\r\nPath=d:\\Monday.QVX\r\nDesc=Again\r\nPartID=3\r\nDiskID=0\r\n"
                                      L"Compress=2\r\n"));
    const std::string log = machine.eventsLog();
    EXPECT_TRUE(recover(machine).ends_with("nothing to do\nexit 3\n"));
    EXPECT_TRUE(fs::exists(machine.jobFile()));
    EXPECT_EQ(machine.eventsLog(), log);
}

} // namespace
} // namespace quorvane::testing
