// The image list rules over a fake machine, and the name and number rules.
#include "native/support/FakeDiskDevices.h"
#include "restore/ImageCatalogue.h"
#include "restore/ImageListFile.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

using namespace quorvane;
using namespace std::literals;

TEST(ImageName, FirstNameTagDecidesVerbatim)
{
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"<WIM><IMAGE INDEX=\"1\"><NAME>Monday</NAME><DESCRIPTION>x</DESCRIPTION></IMAGE></WIM>", L"Monday"},
        // "NAME" inside a longer tag counts: the name starts after DISPLAYNAME>.
        {L"<IMAGE><DISPLAYNAME>Shown</DISPLAYNAME><NAME>Real</NAME></IMAGE>", L"Shown</DISPLAYNAME><NAME>Real"},
        // No decoding, white space kept; a lower-case "name" does not count.
        {L"<name>x</name><NAME> A &amp; B \r\n</NAME>", L" A &amp; B \r\n"},
        {L"<NAME>Caf\u00e9 \u5907\u4efd</NAME>", L"Caf\u00e9 \u5907\u4efd"},
        // No NAME at all: the whole text.
        {L"\ufeff<WIM><IMAGE INDEX=\"1\"><DIRCOUNT>1</DIRCOUNT></IMAGE></WIM>",
         L"\ufeff<WIM><IMAGE INDEX=\"1\"><DIRCOUNT>1</DIRCOUNT></IMAGE></WIM>"},
        {L"NAM", L"NAM"}, {L"", L""}, {L"<NAME>runs to the end", L"runs to the end"},
        // The text ends within the 5 characters after the N.
        {L"<NAME", L""}, {L"<NAME>", L""}, {L"<NAME></NAME>", L""},
    };
    for (const auto& [description, name] : cases)
        EXPECT_EQ(imageNameFromDescription(description), name) << description;

    // A name is only shown: 1024 characters are kept, never half of a pair.
    const std::wstring longName(3000, L'n');
    EXPECT_EQ(imageNameFromDescription(L"<NAME>" + longName + L"</NAME>"), longName.substr(0, 1024));
    EXPECT_EQ(imageNameFromDescription(longName), longName.substr(0, 1024));
    const std::wstring pairAtTheEdge = std::wstring(1023, L'n') + L"\xD83D\xDE00";
    EXPECT_EQ(imageNameFromDescription(L"<NAME>" + pairAtTheEdge), pairAtTheEdge.substr(0, 1023));
}

TEST(DecimalNumber, ReadsLikeTheListFileIntends)
{
    const std::pair<const wchar_t*, std::int32_t> cases[] = {
        {L"2 words", 2}, {L"\t+5x", 5}, {L"-3", -3}, {L"two", 0}, {L"", 0}, {L"-", 0}, {L"0x10", 0},
        {L"2147483647", 2147483647}, {L"-2147483648", -2147483647 - 1},
        // Beyond 32 bits the value stops at the limit instead of wrapping round
        // to a small number (4294967298 would otherwise read as partition 2).
        {L"4294967298", 2147483647}, {L"99999999999999999999999", 2147483647},
        {L"-99999999999999999999999", -2147483647 - 1},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(readDecimalNumber(text), value) << text;
}

namespace {

// The list file's text, files with sizes and names; counts the reads.
class FakeServices : public ImageListServices {
public:
    std::optional<std::wstring> profileText(const std::wstring& file) override
    {
        readFiles.insert(file);
        return listText;
    }
    bool fileExists(const std::wstring& path) override { return files.contains(path); }
    std::int64_t fileSize(const std::wstring& path) override { return files.at(path); }
    bool readImageName(const std::wstring& path, std::wstring& name) override
    {
        ++nameReads;
        if (names.contains(path))
            name = names.at(path);
        return names.contains(path);
    }

    void image(const std::wstring& section, const std::wstring& path, const std::wstring& partId,
               const std::wstring& diskId = L"0")
    {
        listText += L"[" + section + L"]\r\nPath=" + path + L"\r\nPartID=" + partId + L"\r\nDiskID=" + diskId + L"\r\n";
    }
    void count(const std::wstring& total) { listText += L"[BackupImage]\r\nTotalImageCount=" + total + L"\r\n"; }

    std::wstring listText;
    std::map<std::wstring, std::int64_t> files{{L"d:\\Backup_Image_List.ini", 100}};
    std::map<std::wstring, std::wstring> names;
    int nameReads = 0;
    std::set<std::wstring> readFiles;
};

// Data partition (3 of disk 0) D, partition 1 of disk 1 E; the recovery
// partition has no letter.
class ImageList : public ::testing::Test {
protected:
    ImageCatalogue load()
    {
        DiskMap map(disks);
        map.refresh();
        ImageCatalogue catalogue{ImageEntry{1, 2, 3, L"left over", L"from before"}};
        loadImageList(catalogue, map, services);
        return catalogue;
    }

    quorvane::testing::FakeDiskDevices disks = quorvane::testing::usualMachine();
    FakeServices services;
};

} // namespace

TEST_F(ImageList, SectionsBelowTheCountWithTheCurrentLetterAndAFile)
{
    services.count(L"7 images");
    services.image(L"Image0", L"C:\\r.QVX", L"1");             // the recovery partition: no letter
    services.image(L"Image1", L"C:\\Backups\\a.QVX", L"3");     // written when d was c
    services.image(L"image2", L"Q:\\b.QVX", L"1", L"1");        // lower-case section name
    services.image(L"Image3", L"D:\\gone.QVX", L"3");          // no such file
    services.image(L"Image4", L"", L"3");                      // no path
    services.image(L"Image05", L"D:\\c.QVX", L"3");            // not what "Image%d" names
    services.image(L"Image6", L"D:\\c.QVX", L"4294967299");    // not partition 3
    services.image(L"Image7", L"D:\\c.QVX", L"3");             // beyond the count
    for (const wchar_t* file : {L"C:\\r.QVX", L"c:\\r.QVX", L"d:\\c.QVX"})
        services.files[file] = 1;
    services.files[L"d:\\Backups\\a.QVX"] = 4096;
    services.files[L"e:\\b.QVX"] = 8192;
    services.names[L"d:\\Backups\\a.QVX"] = L"Monday";

    const ImageCatalogue catalogue = load();
    ASSERT_EQ(catalogue.size(), 2u);
    EXPECT_EQ(catalogue[0], (ImageEntry{4096, 0, 3, L"d:\\Backups\\a.QVX", L"Monday"}));
    EXPECT_EQ(catalogue[1], (ImageEntry{8192, 1, 1, L"e:\\b.QVX", L""})); // an unreadable name stays empty
    EXPECT_EQ(services.readFiles, std::set<std::wstring>{L"d:\\Backup_Image_List.ini"});
}

TEST_F(ImageList, NoListFileNoDataLetterOrNoCountGivesAnEmptyCatalogue)
{
    services.files[L"d:\\a.QVX"] = 5;
    for (const wchar_t* count : {L"0", L"-1", L"none", L"", L"1"}) {
        services.listText.clear();
        services.count(count);
        services.image(L"Image0", L"D:\\a.QVX", L"3");
        EXPECT_EQ(load().size(), count == std::wstring(L"1") ? 1u : 0u) << count;
    }
    services.files.erase(L"d:\\Backup_Image_List.ini");
    EXPECT_TRUE(load().empty());
    disks.fixedLetters.erase('d');
    services.files[L"d:\\Backup_Image_List.ini"] = 100;
    EXPECT_TRUE(load().empty());
}

// An image listed many times is opened once: a list that names one image with
// a huge description a hundred times costs one reading.
TEST_F(ImageList, AHugeCountVisitsOnlyTheSectionsThatExistAndEachImageIsOpenedOnce)
{
    services.count(L"2147483647");
    for (const wchar_t* section : {L"Image2000000000", L"Image7", L"Image0", L"Image2147483647", L"Image9"})
        services.image(section, L"d:\\same.QVX", L"3");
    services.files[L"d:\\same.QVX"] = 1;
    services.names[L"d:\\same.QVX"] = L"Same";
    const ImageCatalogue catalogue = load();
    EXPECT_EQ(catalogue.size(), 4u);
    for (const ImageEntry& entry : catalogue)
        EXPECT_EQ(entry, (ImageEntry{1, 0, 3, L"d:\\same.QVX", L"Same"}));
    EXPECT_EQ(services.nameReads, 1);
}

// How the list file's values read is compared with the profile reader itself
// on odd files by the Windows tests; here the sections below the count, each
// once, in order of their numbers.
TEST(ImageListFile, ImageNumbersBelowTheCount)
{
    const ImageListFile list(L"[Image3]\n[image1]\n[Image01]\n[Image1]\n[Image 2]\n[Image0]\n[Image4]\n[Image-1]");
    EXPECT_EQ(list.imageNumbersBelow(4), (std::vector<std::int32_t>{0, 1, 3}));
    EXPECT_TRUE(list.imageNumbersBelow(0).empty());
}

TEST(ImageListFile, TextOfTheFileInItsEncoding)
{
    const auto latin1 = [](std::span<const std::uint8_t> bytes) { return std::wstring(bytes.begin(), bytes.end()); };
    const auto text = [&](std::vector<std::uint8_t> bytes) { return profileFileText(bytes, latin1); };
    EXPECT_EQ(text({0xFF, 0xFE, 'a', 0, 0xE9, 0x00, 0x07, 0x59, 'z'}), L"a\u00e9\u5907"); // odd last byte dropped
    EXPECT_EQ(text({0xFE, 0xFF, 0, 'a', 0x59, 0x07}), L"a\u5907");
    EXPECT_EQ(text({'a', 0xE9}), L"a\u00e9");
    EXPECT_EQ(text({0xEF, 0xBB, 0xBF, 'a'}), L"\u00ef\u00bb\u00bfa"); // a UTF-8 mark is ANSI text, as on Windows
    EXPECT_EQ(text({0xFF}), L"\u00ff");
    EXPECT_EQ(text({}), L"");
}

// Only the recovery type in the first entry of disk 0's table counts, boot
// signature or not; an unreadable disk 0 has none.
TEST(FactoryImage, TheRecoveryPartitionIsTheFirstEntryOfDiskZero)
{
    quorvane::testing::FakeDiskDevices devices;
    EXPECT_FALSE(hasRecoveryPartition(devices));
    for (std::size_t entry = 0; entry < 4; ++entry) {
        devices.firstSector = FirstSector{};
        (*devices.firstSector)[0x1BE + 16 * entry + 4] = 0x12;
        EXPECT_EQ(hasRecoveryPartition(devices), entry == 0) << entry;
    }
}

TEST(FactoryImage, CarriesTheFixedValuesAndCatalogueTexts)
{
    EXPECT_EQ(factoryImageEntry(quorvane::testing::catalogueOf()), (ImageEntry{0, 0, 1, L"text 60", L"text 59"}));
}
