// The image list rules over a fake machine, and the name and number rules.
#include "app/StringCatalogue.h"
#include "native/support/FakeDiskDevices.h"
#include "restore/ImageCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>

using namespace quorvane;

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
        {L"NAM", L"NAM"},
        {L"", L""},
        {L"<NAME>runs to the end", L"runs to the end"},
        // The text ends within the 5 characters after the N.
        {L"<NAME", L""},
        {L"<NAME>", L""},
        {L"<NAME></NAME>", L""},
    };
    for (const auto& [description, name] : cases)
        EXPECT_EQ(imageNameFromDescription(description), name) << description;
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

// Profile sections, files with sizes and names; counts the profile reads.
class FakeServices : public ImageListServices {
public:
    std::wstring profileString(const std::wstring& file, const std::wstring& section, const std::wstring& key) override
    {
        ++profileReads;
        readFiles.insert(file);
        for (const auto& [name, values] : sections) {
            const auto lower = [](wchar_t c) { return std::towlower(c); };
            if (std::ranges::equal(name, section, {}, lower, lower) && values.contains(key))
                return values.at(key);
        }
        return L"";
    }
    std::vector<std::wstring> profileSectionNames(const std::wstring&) override
    {
        std::vector<std::wstring> names;
        for (const auto& [name, values] : sections)
            names.push_back(name);
        return names;
    }
    bool fileExists(const std::wstring& path) override { return files.contains(path); }
    std::int64_t fileSize(const std::wstring& path) override { return files.at(path); }
    bool readImageName(const std::wstring& path, std::wstring& name) override
    {
        if (!names.contains(path))
            return false;
        name = names.at(path);
        return true;
    }

    void image(const std::wstring& section, const std::wstring& path, const std::wstring& partId,
               const std::wstring& diskId = L"0")
    {
        sections[section] = {{L"Path", path}, {L"PartID", partId}, {L"DiskID", diskId}};
    }
    void count(const std::wstring& total) { sections[L"BackupImage"] = {{L"TotalImageCount", total}}; }

    std::map<std::wstring, std::map<std::wstring, std::wstring>> sections;
    std::map<std::wstring, std::int64_t> files{{L"d:\\Backup_Image_List.ini", 100}};
    std::map<std::wstring, std::wstring> names;
    int profileReads = 0;
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
    services.image(L"Image0", L"D:\\a.QVX", L"3");
    services.files[L"d:\\a.QVX"] = 5;
    for (const wchar_t* count : {L"0", L"-1", L"none", L""}) {
        services.count(count);
        EXPECT_TRUE(load().empty()) << count;
    }
    services.count(L"1");
    EXPECT_EQ(load().size(), 1u);
    services.files.erase(L"d:\\Backup_Image_List.ini");
    EXPECT_TRUE(load().empty());
    disks.fixedLetters.erase('d');
    services.files[L"d:\\Backup_Image_List.ini"] = 100;
    EXPECT_TRUE(load().empty());
}

TEST_F(ImageList, AHugeCountVisitsOnlyTheSectionsThatExist)
{
    services.count(L"2147483647");
    for (const wchar_t* section : {L"Image2000000000", L"Image7", L"Image0", L"Image2147483647"}) {
        const std::wstring path = std::wstring(L"d:\\") + section + L".QVX";
        services.image(section, path, L"3");
        services.files[path] = 1;
    }
    const ImageCatalogue catalogue = load();
    ASSERT_EQ(catalogue.size(), 3u);
    EXPECT_EQ(catalogue[0].imagePath, L"d:\\Image0.QVX");
    EXPECT_EQ(catalogue[1].imagePath, L"d:\\Image7.QVX");
    EXPECT_EQ(catalogue[2].imagePath, L"d:\\Image2000000000.QVX");
    // The count plus three values for each of the three sections.
    EXPECT_EQ(services.profileReads, 1 + 3 * 3);
}

TEST(FactoryImage, CarriesTheFixedValuesAndCatalogueTexts)
{
    StringCatalogue catalogue;
    std::wstring section;
    for (int id = 0; id < 100; ++id)
        section += L"k=text " + std::to_wstring(id) + L'\0';
    catalogue.fillFromSection(section + L'\0');
    EXPECT_EQ(factoryImageEntry(catalogue), (ImageEntry{0, 0, 1, L"text 60", L"text 59"}));
}
