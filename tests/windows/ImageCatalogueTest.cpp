// The image catalogue on the default sandbox machine, from a real list file
// with real WIM files made by wimlib-imagex (see make-test-files.sh), and our
// own WIM reader as the programs run it. What the list holds beyond these
// files (sections past the count, the recovery partition, missing files, a
// huge count) and how damaged images read are tested natively.
#include "platform/windows/Wimgapi.h"
#include "restore/FileBytes.h"
#include "restore/ImageCatalogue.h"
#include "restore/WimDescription.h"
#include "support/SandboxMachine.h"

#include <gtest/gtest.h>

#include <iostream>

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;

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

const fs::path listFile = L"d:\\Backup_Image_List.ini";

// Backups on the default machine's drives d (partition 3 of disk 0) and e
// (partition 1 of disk 1).
TEST(ImageCatalogue, RealListFileWithRealImagesOnTheDefaultMachine)
{
    const fs::path onD = L"d:\\QuorvaneTest", onE = L"e:\\QuorvaneTest";
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

    writeImageList(listFile, 8, {{5, L"D:\\QuorvaneTest\\*.QVX", 3, 0}, {6, L"C:\\QuorvaneTest\\m?nday.QVX", 3, 0},
                                 {7, L"D:\\QuorvaneTest\\dir.QVX", 3, 0},
                                 {0, L"C:\\QuorvaneTest\\monday.QVX", 3, 0}, // written when d was c
                                 {1, L"D:\\QuorvaneTest\\cjk.QVX", 1, 1}, {2, L"D:\\QuorvaneTest\\damaged.QVX", 3, 0},
                                 {3, L"D:\\QuorvaneTest\\locked.QVX", 3, 0}, {4, L"D:\\QuorvaneTest\\accents.QVX", 3, 0}});

    // Nobody else may open this one while the list is read.
    UniqueFile locked(CreateFileW((onD / L"locked.QVX").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(locked);
    ImageCatalogue catalogue{ImageEntry{}};
    loadImageList(catalogue);

    const auto size = [](const wchar_t* image) { return static_cast<std::int64_t>(fs::file_size(testImage(image))); };
    const wchar_t* accents = L"Caf\u00e9 \u00e9t\u00e9 &amp; &lt;co&gt;";
    EXPECT_EQ(catalogue, (ImageCatalogue{
                             {size(L"monday.QVX"), 0, 3, L"d:\\QuorvaneTest\\monday.QVX", L"Monday"},
                             {size(L"cjk.QVX"), 1, 1, L"e:\\QuorvaneTest\\cjk.QVX", L"\u5907\u4efd \u5468\u4e00"},
                             {size(L"monday.QVX"), 0, 3, L"d:\\QuorvaneTest\\damaged.QVX", L""},
                             {0, 0, 3, L"d:\\QuorvaneTest\\locked.QVX", L""},
                             {size(L"accents.QVX"), 0, 3, L"d:\\QuorvaneTest\\accents.QVX", accents},
                         }));
}

// Many sections without paths may not stall the page.
TEST(ImageCatalogue, ThirtyTwoThousandSectionsReadQuickly)
{
    const RemovedAtEnd removed{{listFile}};
    std::wstring list = L"[BackupImage]\r\nTotalImageCount=32000\r\n";
    for (int number = 0; number < 32000; ++number)
        list += L"[Image" + std::to_wstring(number) + L"]\r\nPartID=3\r\nDiskID=0\r\n";
    writeBytes(listFile, utf16File(list));
    ImageCatalogue catalogue;
    const double median = medianMilliseconds(3, [&] { loadImageList(catalogue); });
    std::cout << "loadImageList, 32000 sections without paths: median " << median << " ms over 3 runs\n";
    EXPECT_TRUE(catalogue.empty());
    EXPECT_LT(median, 500.0);
}

bool readDescriptionOf(const fs::path& image, std::wstring& description)
{
    FileBytes file(image.wstring());
    return readWimDescription(file, description);
}

// Our own reader from a real file; a missing file and a path past MAX_PATH
// give no name; the imaging library where it works.
TEST(ImageCatalogue, OwnReaderOnARealImageAndOddPaths)
{
    std::wstring description;
    ASSERT_TRUE(readDescriptionOf(testImage(L"monday.QVX"), description));
    EXPECT_TRUE(description.starts_with(L"\ufeff<WIM>"));
    EXPECT_NE(description.find(L"<DESCRIPTION>weekly backup</DESCRIPTION>"), std::wstring::npos);

    std::wstring name = L"untouched";
    EXPECT_FALSE(readImageName(L"d:\\no such image.QVX", name));
    // One long file name takes the path past MAX_PATH; only the "\\?\" form
    // of such a path can make and remove the file.
    ScratchFolder folder;
    const fs::path longPath = folder.path() / (std::wstring(250, L'n') + L".QVX");
    ASSERT_GE(longPath.wstring().size(), static_cast<std::size_t>(MAX_PATH));
    const std::wstring longForm = L"\\\\?\\" + longPath.wstring();
    ASSERT_TRUE(CopyFileW(testImage(L"monday.QVX").c_str(), longForm.c_str(), FALSE));
    EXPECT_FALSE(readImageName(longPath.wstring(), name));
    EXPECT_EQ(name, L"untouched");
    EXPECT_TRUE(DeleteFileW(longForm.c_str()));
    EXPECT_FALSE(fileExists(folder.path() / L"missing.QVX"));

    // Wine's wimgapi.dll is a stub that answers "not implemented"; Windows'
    // must give the same description as our reader.
    std::wstring throughLibrary;
    const WimgapiAnswer answer = readDescriptionWithWimgapi(testImage(L"monday.QVX"), throughLibrary);
    ASSERT_NE(answer, WimgapiAnswer::failed);
    EXPECT_TRUE(answer == WimgapiAnswer::unavailable || throughLibrary == description);
}

} // namespace
} // namespace quorvane::testing
