// The image catalogue on the default sandbox machine, from a real list file
// with real WIM files made by wimlib-imagex (see make-test-files.sh), and our
// own WIM reader as the programs run it.
#include "platform/sandbox/SandboxDiskDevices.h"
#include "platform/windows/Wimgapi.h"
#include "restore/ImageCatalogue.h"
#include "restore/FileBytes.h"
#include "restore/WimDescription.h"
#include "support/ProgramUnderTest.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iostream>
#include <vector>

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;

fs::path testImage(const wchar_t* name)
{
    return buildFolder().parent_path() / L"test-files" / L"images" / name;
}

std::wstring imageSection(int number, const std::wstring& path, int partId, int diskId)
{
    return L"[Image" + std::to_wstring(number) + L"]\r\nPath=" + path + L"\r\nPartID=" + std::to_wstring(partId)
        + L"\r\nDiskID=" + std::to_wstring(diskId) + L"\r\n";
}

// Removes these files and folders at scope end.
struct RemovedAtEnd {
    std::vector<fs::path> paths;
    ~RemovedAtEnd()
    {
        std::error_code ignored;
        for (const fs::path& path : paths)
            fs::remove_all(path, ignored);
    }
};

// Backups on the default machine's drives d (partition 3 of disk 0) and e
// (partition 1 of disk 1). What the list holds beyond these files (sections
// past the count, the recovery partition, missing files) is tested natively.
TEST(ImageCatalogue, RealListFileWithRealImagesOnTheDefaultMachine)
{
    const fs::path onD = L"d:\\QuorvaneTest", onE = L"e:\\QuorvaneTest", listFile = L"d:\\Backup_Image_List.ini";
    const RemovedAtEnd removed{{onD, onE, listFile}};
    fs::create_directories(onD);
    fs::create_directories(onE);
    for (const wchar_t* name : {L"monday.QVX", L"accents.QVX"})
        fs::copy_file(testImage(name), onD / name);
    fs::copy_file(testImage(L"cjk.QVX"), onE / L"cjk.QVX");
    fs::copy_file(testImage(L"monday.QVX"), onD / L"locked.QVX");
    // A copy whose header was damaged: listed with its size, without a name.
    changedCopy(testImage(L"monday.QVX"), onD / L"damaged.QVX", [](Bytes& b) { b[0] = 'X'; });

    // A pattern or a folder is no image, though FindFirstFileW finds both.
    fs::create_directories(onD / L"dir.QVX");
    EXPECT_FALSE(fileExists(L"d:\\QuorvaneTest\\*.QVX"));
    EXPECT_FALSE(fileExists(L"d:\\QuorvaneTest\\m?nday.QVX"));
    EXPECT_FALSE(fileExists(L"d:\\QuorvaneTest\\dir.QVX"));
    EXPECT_TRUE(fileExists(L"d:\\QuorvaneTest\\monday.QVX"));

    writeBytes(listFile, utf16File(L"[BackupImage]\r\nTotalImageCount=8\r\n"
                                   + imageSection(5, L"D:\\QuorvaneTest\\*.QVX", 3, 0)
                                   + imageSection(6, L"C:\\QuorvaneTest\\m?nday.QVX", 3, 0)
                                   + imageSection(7, L"D:\\QuorvaneTest\\dir.QVX", 3, 0)
                                   + imageSection(0, L"C:\\QuorvaneTest\\monday.QVX", 3, 0) // written when d was c
                                   + imageSection(1, L"D:\\QuorvaneTest\\cjk.QVX", 1, 1)
                                   + imageSection(2, L"D:\\QuorvaneTest\\damaged.QVX", 3, 0)
                                   + imageSection(3, L"D:\\QuorvaneTest\\locked.QVX", 3, 0)
                                   + imageSection(4, L"D:\\QuorvaneTest\\accents.QVX", 3, 0)));

    // Nobody else may open this one while the list is read.
    UniqueFile locked(CreateFileW((onD / L"locked.QVX").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(locked);

    ImageCatalogue catalogue{ImageEntry{}};
    loadImageList(catalogue);

    const auto size = [](const wchar_t* image) { return static_cast<std::int64_t>(fs::file_size(testImage(image))); };
    ASSERT_EQ(catalogue.size(), 5u);
    EXPECT_EQ(catalogue[0], (ImageEntry{size(L"monday.QVX"), 0, 3, L"d:\\QuorvaneTest\\monday.QVX", L"Monday"}));
    EXPECT_EQ(catalogue[1], (ImageEntry{size(L"cjk.QVX"), 1, 1, L"e:\\QuorvaneTest\\cjk.QVX", L"\u5907\u4efd \u5468\u4e00"}));
    EXPECT_EQ(catalogue[2], (ImageEntry{size(L"monday.QVX"), 0, 3, L"d:\\QuorvaneTest\\damaged.QVX", L""}));
    EXPECT_EQ(catalogue[3], (ImageEntry{0, 0, 3, L"d:\\QuorvaneTest\\locked.QVX", L""}));
    const wchar_t* accents = L"Caf\u00e9 \u00e9t\u00e9 &amp; &lt;co&gt;";
    EXPECT_EQ(catalogue[4], (ImageEntry{size(L"accents.QVX"), 0, 3, L"d:\\QuorvaneTest\\accents.QVX", accents}));

    // A huge count over three sections: asking for every section below the
    // count would take minutes.
    locked.reset();
    writeBytes(listFile, utf16File(L"[BackupImage]\r\nTotalImageCount=2147483647\r\n"
                                   + imageSection(0, L"D:\\QuorvaneTest\\monday.QVX", 3, 0)
                                   + imageSection(1, L"D:\\QuorvaneTest\\accents.QVX", 3, 0)
                                   + imageSection(2, L"D:\\QuorvaneTest\\locked.QVX", 3, 0)));
    const double hugeCount = medianMilliseconds(5, [&] { loadImageList(catalogue); });
    std::cout << "loadImageList, TotalImageCount 2147483647 over 3 sections: median " << hugeCount << " ms over 5 runs\n";
    EXPECT_EQ(catalogue.size(), 3u);
    EXPECT_LT(hugeCount, 1000.0);

    // Once the list file is gone the catalogue is empty.
    fs::remove(listFile);
    loadImageList(catalogue);
    EXPECT_TRUE(catalogue.empty());
}

bool readDescriptionOf(const fs::path& image, std::wstring& description)
{
    FileBytes file(image.wstring());
    return readWimDescription(file, description);
}

// Our own reader on real images, damaged copies, a missing file and a path
// past MAX_PATH; the imaging library where it works.
// Hostile lists: many sections without paths, and one image with a huge
// description listed a hundred times. Neither may stall the page or hold
// more than one description.
TEST(ImageCatalogue, HostileListsNeitherStallNorExhaustTheProgram)
{
    const fs::path onD = L"d:\\QuorvaneHostile", listFile = L"d:\\Backup_Image_List.ini";
    const RemovedAtEnd removed{{onD, listFile}};
    fs::create_directories(onD);

    std::wstring list = L"[BackupImage]\r\nTotalImageCount=32000\r\n";
    for (int number = 0; number < 32000; ++number)
        list += L"[Image" + std::to_wstring(number) + L"]\r\nPartID=3\r\nDiskID=0\r\n";
    writeBytes(listFile, utf16File(list));
    ImageCatalogue catalogue;
    const double manySections = medianMilliseconds(3, [&] { loadImageList(catalogue); });
    std::cout << "loadImageList, 32000 sections without paths: median " << manySections << " ms over 3 runs\n";
    EXPECT_TRUE(catalogue.empty());
    EXPECT_LT(manySections, 500.0);

    // monday.QVX with its description moved to the end and grown to 16 MiB,
    // a name of 8 million characters in it.
    Bytes image = fileBytes(testImage(L"monday.QVX"));
    const std::uint64_t offset = image.size();
    const std::wstring name(8'000'000, L'n');
    const Bytes description = utf16File(L"<WIM><IMAGE><NAME>" + name + L"</NAME></IMAGE></WIM>", false);
    image.insert(image.end(), description.begin(), description.end());
    for (int i = 0; i < 8; ++i) {
        image[72 + i] = static_cast<std::uint8_t>(i < 7 ? description.size() >> (8 * i) : 0);
        image[80 + i] = static_cast<std::uint8_t>(offset >> (8 * i));
        image[88 + i] = static_cast<std::uint8_t>(description.size() >> (8 * i));
    }
    writeBytes(onD / L"huge.QVX", image);
    list = L"[BackupImage]\r\nTotalImageCount=100\r\n";
    for (int number = 0; number < 100; ++number)
        list += imageSection(number, L"D:\\QuorvaneHostile\\huge.QVX", 3, 0);
    writeBytes(listFile, utf16File(list));
    image = {};

    const double hugeName = medianMilliseconds(1, [&] { loadImageList(catalogue); });
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    const bool measured = GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    std::cout << "loadImageList, 100 entries of one image with a 16 MiB description: " << hugeName << " ms, peak "
              << memory.PeakWorkingSetSize / (1024 * 1024) << " MiB\n";
    ASSERT_EQ(catalogue.size(), 100u);
    for (const ImageEntry& entry : catalogue) {
        ASSERT_EQ(entry.imageName, name.substr(0, 1024));
    }
    if (measured) {
        EXPECT_LT(memory.PeakWorkingSetSize, 400u * 1024 * 1024);
    }
}

TEST(ImageCatalogue, OwnReaderOnRealImagesDamagedCopiesAndOddPaths)
{
    std::wstring description;
    ASSERT_TRUE(readDescriptionOf(testImage(L"monday.QVX"), description));
    EXPECT_TRUE(description.starts_with(L"\ufeff<WIM>"));
    EXPECT_NE(description.find(L"<DESCRIPTION>weekly backup</DESCRIPTION>"), std::wstring::npos);

    std::wstring name = L"untouched";
    EXPECT_TRUE(readImageName(testImage(L"displayname.QVX"), name));
    EXPECT_EQ(name, L"Shown</DISPLAYNAME><NAME>Real");
    ASSERT_TRUE(readImageName(testImage(L"unnamed.QVX"), name));
    ASSERT_TRUE(readDescriptionOf(testImage(L"unnamed.QVX"), description));
    EXPECT_EQ(name, description);

    ScratchFolder folder;
    const std::function<void(Bytes&)> damages[] = {
        [](Bytes& b) { b.clear(); },
        [](Bytes& b) { b.resize(207); },           // shorter than the header
        [](Bytes& b) { b[1] = 'Z'; },              // magic
        [](Bytes& b) { b.resize(b.size() - 10); }, // cut inside the description
        [](Bytes& b) { b[79] |= 0x04; },           // compressed description
        [](Bytes& b) { b[78] = 0x01; },            // 2^48 bytes more
        [](Bytes& b) { b[74] = 0x10; },            // 1 MiB more
        [](Bytes& b) { std::fill(b.begin() + 72, b.begin() + 79, 0xFF); }, // absurd size
        [](Bytes& b) { b[87] = 0x40; },            // offset past the end
    };
    for (const auto& damage : damages) {
        name = L"untouched";
        EXPECT_FALSE(readImageName(changedCopy(testImage(L"monday.QVX"), folder.path() / L"damaged.QVX", damage), name))
            << "damage " << &damage - damages;
        EXPECT_EQ(name, L"untouched");
    }
    name = L"untouched";
    EXPECT_FALSE(readImageName(L"d:\\no such image.QVX", name));
    // One long file name takes the path past MAX_PATH; only the "\\?\" form
    // of such a path can make and remove the file.
    const fs::path longPath = folder.path() / (std::wstring(250, L'n') + L".QVX");
    ASSERT_GE(longPath.wstring().size(), static_cast<std::size_t>(MAX_PATH));
    const std::wstring longForm = L"\\\\?\\" + longPath.wstring();
    ASSERT_TRUE(CopyFileW(testImage(L"monday.QVX").c_str(), longForm.c_str(), FALSE));
    EXPECT_FALSE(readImageName(longPath.wstring(), name));
    EXPECT_EQ(name, L"untouched");
    EXPECT_TRUE(DeleteFileW(longForm.c_str()));
    EXPECT_TRUE(fileExists(testImage(L"monday.QVX")));
    EXPECT_FALSE(fileExists(folder.path() / L"missing.QVX"));

    // Wine's wimgapi.dll is a stub that answers "not implemented"; Windows'
    // must give the same description as our reader.
    std::wstring throughLibrary;
    const WimgapiAnswer answer = readDescriptionWithWimgapi(testImage(L"monday.QVX"), throughLibrary);
    ASSERT_NE(answer, WimgapiAnswer::failed);
    if (answer == WimgapiAnswer::read) {
        ASSERT_TRUE(readDescriptionOf(testImage(L"monday.QVX"), description));
        EXPECT_EQ(throughLibrary, description);
    }
}

TEST(ImageCatalogue, RecoveryPartitionOnSandboxDisks)
{
    EXPECT_TRUE(hasRecoveryPartition()); // the default machine

    for (const wchar_t* machine : {L"recovery-second", L"recovery-third", L"recovery-fourth"}) {
        SandboxDiskDevices devices(buildFolder().parent_path() / L"test-files" / L"machines" / machine);
        ASSERT_TRUE(devices.driveLayout(0)) << machine;
        EXPECT_FALSE(hasRecoveryPartition(devices)) << machine;
    }

    // The default disk 0 without its boot signature still counts.
    ScratchFolder folder;
    FirstSector sector{};
    ASSERT_TRUE(machineDiskDevices().readFirstSectorOfDiskZero(sector));
    sector[510] = 0;
    sector[511] = 0;
    writeBytes(folder.path() / L"disk0.img", Bytes(sector.begin(), sector.end()));
    std::ofstream(folder.path() / L"machine.ini", std::ios::binary) << "[Disks]\r\n1=disk0.img\r\n";
    SandboxDiskDevices devices(folder.path());
    EXPECT_FALSE(hasRecoveryPartition(devices)); // no disk 0
    std::ofstream(folder.path() / L"machine.ini", std::ios::binary) << "[Disks]\r\n0=disk0.img\r\n";
    EXPECT_TRUE(hasRecoveryPartition(devices));
}

} // namespace
} // namespace quorvane::testing
