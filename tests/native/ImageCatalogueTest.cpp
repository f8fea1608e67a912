// The image list rules over a fake machine, and the name and number rules.
#include "app/StringCatalogue.h"
#include "disk/DiskDevices.h"
#include "disk/DiskMap.h"
#include "restore/ImageCatalogue.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <map>
#include <set>

using namespace quorvane;

TEST(ImageName, FirstNameTagDecidesVerbatim)
{
    EXPECT_EQ(imageNameFromDescription(L"<WIM><IMAGE INDEX=\"1\"><NAME>Monday</NAME><DESCRIPTION>x</DESCRIPTION>"
                                       L"</IMAGE></WIM>"),
              L"Monday");
    // "NAME" inside a longer tag counts: the name starts after DISPLAYNAME>.
    EXPECT_EQ(imageNameFromDescription(L"<IMAGE><DISPLAYNAME>Shown</DISPLAYNAME><NAME>Real</NAME></IMAGE>"),
              L"Shown</DISPLAYNAME><NAME>Real");
    // No decoding, white space kept; a lower-case "name" does not count.
    EXPECT_EQ(imageNameFromDescription(L"<name>x</name><NAME> A &amp; B \r\n</NAME>"), L" A &amp; B \r\n");
    EXPECT_EQ(imageNameFromDescription(L"<NAME>Caf\u00e9 \u5907\u4efd</NAME>"), L"Caf\u00e9 \u5907\u4efd");
}

TEST(ImageName, TextsWithoutACompleteNameElement)
{
    const std::wstring noName = L"\ufeff<WIM><IMAGE INDEX=\"1\"><DIRCOUNT>1</DIRCOUNT></IMAGE></WIM>";
    EXPECT_EQ(imageNameFromDescription(noName), noName);
    EXPECT_EQ(imageNameFromDescription(L""), L"");
    EXPECT_EQ(imageNameFromDescription(L"<NAME>runs to the end"), L"runs to the end");
    // The text ends within the 5 characters after the N.
    EXPECT_EQ(imageNameFromDescription(L"<NAME"), L"");
    EXPECT_EQ(imageNameFromDescription(L"<NAME>"), L"");
    EXPECT_EQ(imageNameFromDescription(L"NAM"), L"NAM");
    EXPECT_EQ(imageNameFromDescription(L"<NAME></NAME>"), L"");
}

TEST(DecimalNumber, ReadsLikeTheListFileIntends)
{
    EXPECT_EQ(readDecimalNumber(L"2 words"), 2);
    EXPECT_EQ(readDecimalNumber(L"  17"), 17);
    EXPECT_EQ(readDecimalNumber(L"\t+5x"), 5);
    EXPECT_EQ(readDecimalNumber(L"-3"), -3);
    EXPECT_EQ(readDecimalNumber(L"two"), 0);
    EXPECT_EQ(readDecimalNumber(L""), 0);
    EXPECT_EQ(readDecimalNumber(L"-"), 0);
    EXPECT_EQ(readDecimalNumber(L"0x10"), 0);
    EXPECT_EQ(readDecimalNumber(L"2147483647"), 2147483647);
    EXPECT_EQ(readDecimalNumber(L"-2147483648"), -2147483647 - 1);
    // Beyond 32 bits the value stops at the limit instead of wrapping round
    // to a small number (4294967298 would otherwise read as partition 2).
    EXPECT_EQ(readDecimalNumber(L"4294967298"), 2147483647);
    EXPECT_EQ(readDecimalNumber(L"99999999999999999999999"), 2147483647);
    EXPECT_EQ(readDecimalNumber(L"-99999999999999999999999"), -2147483647 - 1);
}

namespace {

// A machine whose data partition (3 of disk 0) is D and whose partition 1 of
// disk 1 is E; partition 1 of disk 0 has no letter.
class FakeDisks : public DiskDevices {
public:
    FakeDisks()
    {
        for (std::uint32_t number = 1; number <= 3; ++number) {
            PartitionInformation info;
            info.startingOffset = number * 1000;
            info.partitionLength = 500;
            info.partitionNumber = number;
            info.partitionType = number == 1 ? 0x12 : 0x07;
            disk0.entries.push_back(info);
        }
        disk1.entries.push_back(disk0.entries[2]);
        disk1.entries[0].partitionNumber = 1;
        disk1.entries[0].startingOffset = 77;
    }
    bool isFixedDrive(char letter) override { return letter == 'c' || letter == 'd' || letter == 'e'; }
    std::optional<PartitionInformation> volumePartitionInformation(char letter) override
    {
        if (letter == 'c')
            return disk0.entries[1];
        if (letter == 'd' && dataLettered)
            return disk0.entries[2];
        if (letter == 'e')
            return disk1.entries[0];
        return std::nullopt;
    }
    std::optional<DriveLayout> driveLayout(int disk) override
    {
        if (disk == 0)
            return disk0;
        if (disk == 1)
            return disk1;
        return std::nullopt;
    }
    bool readFirstSectorOfDiskZero(FirstSector& sector) override
    {
        sector = firstSector;
        return firstSectorReadable;
    }

    DriveLayout disk0;
    DriveLayout disk1;
    bool dataLettered = true;
    FirstSector firstSector{};
    bool firstSectorReadable = true;
};

// Profile sections, files with sizes and names; counts the profile reads.
class FakeServices : public ImageListServices {
public:
    std::wstring profileString(const std::wstring& file, const std::wstring& section, const std::wstring& key) override
    {
        ++profileReads;
        readFiles.insert(file);
        for (const auto& [name, values] : sections) {
            if (sameIgnoringCase(name, section)) {
                const auto found = values.find(key);
                return found == values.end() ? L"" : found->second;
            }
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
        const auto found = names.find(path);
        if (found == names.end())
            return false;
        name = found->second;
        return true;
    }

    void image(const std::wstring& section, const std::wstring& path, const std::wstring& partId,
               const std::wstring& diskId)
    {
        sections[section] = {{L"Path", path}, {L"PartID", partId}, {L"DiskID", diskId}};
    }

    static bool sameIgnoringCase(const std::wstring& a, const std::wstring& b)
    {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
                   return std::towlower(x) == std::towlower(y);
               });
    }

    std::map<std::wstring, std::map<std::wstring, std::wstring>> sections;
    std::map<std::wstring, std::int64_t> files{{L"d:\\Backup_Image_List.ini", 100}};
    std::map<std::wstring, std::wstring> names;
    int profileReads = 0;
    std::set<std::wstring> readFiles;
};

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

    FakeDisks disks;
    FakeServices services;
};

} // namespace

TEST_F(ImageList, SectionsCountFromZeroAndPathsTakeTheCurrentLetter)
{
    services.sections[L"BackupImage"] = {{L"TotalImageCount", L"3"}};
    services.image(L"Image1", L"C:\\Backups\\a.QVX", L"3", L"0");
    services.image(L"Image2", L"Q:\\b.QVX", L"1", L"1");
    services.image(L"Image3", L"D:\\c.QVX", L"3", L"0"); // beyond the count
    services.files[L"d:\\Backups\\a.QVX"] = 4096;
    services.files[L"e:\\b.QVX"] = 8192;
    services.files[L"d:\\c.QVX"] = 1;
    services.names[L"d:\\Backups\\a.QVX"] = L"Monday";

    const ImageCatalogue catalogue = load();
    ASSERT_EQ(catalogue.size(), 2u);
    EXPECT_EQ(catalogue[0], (ImageEntry{4096, 0, 3, L"d:\\Backups\\a.QVX", L"Monday"}));
    // An unreadable name stays empty.
    EXPECT_EQ(catalogue[1], (ImageEntry{8192, 1, 1, L"e:\\b.QVX", L""}));
    EXPECT_EQ(services.readFiles, std::set<std::wstring>{L"d:\\Backup_Image_List.ini"});
}

TEST_F(ImageList, EntriesWithoutLetterPathOrFileAreLeftOut)
{
    services.sections[L"BackupImage"] = {{L"TotalImageCount", L"6 images"}};
    services.image(L"Image0", L"C:\\r.QVX", L"1", L"0");   // the recovery partition: no letter
    services.image(L"Image1", L"D:\\gone.QVX", L"3", L"0"); // no such file
    services.image(L"Image2", L"", L"3", L"0");            // no path
    services.image(L"image3", L"D:\\kept.QVX", L"3", L"0"); // lower-case section name
    services.image(L"Image04", L"D:\\kept.QVX", L"3", L"0"); // not what "Image%d" names
    services.image(L"Image5", L"D:\\kept.QVX", L"4294967299", L"0"); // not partition 3
    services.files[L"C:\\r.QVX"] = 1;
    services.files[L"c:\\r.QVX"] = 1;
    services.files[L"d:\\kept.QVX"] = 5;

    const ImageCatalogue catalogue = load();
    ASSERT_EQ(catalogue.size(), 1u);
    EXPECT_EQ(catalogue[0].imagePath, L"d:\\kept.QVX");
}

TEST_F(ImageList, NoListFileNoDataLetterOrNoCountGivesAnEmptyCatalogue)
{
    services.image(L"Image0", L"D:\\a.QVX", L"3", L"0");
    services.files[L"d:\\a.QVX"] = 5;
    for (const wchar_t* count : {L"0", L"-1", L"none", L""}) {
        services.sections[L"BackupImage"] = {{L"TotalImageCount", count}};
        EXPECT_TRUE(load().empty()) << count;
    }
    services.sections[L"BackupImage"] = {{L"TotalImageCount", L"1"}};
    EXPECT_EQ(load().size(), 1u);

    disks.dataLettered = false;
    EXPECT_TRUE(load().empty());
    disks.dataLettered = true;
    services.files.erase(L"d:\\Backup_Image_List.ini");
    EXPECT_TRUE(load().empty());
}

TEST_F(ImageList, AHugeCountVisitsOnlyTheSectionsThatExist)
{
    services.sections[L"BackupImage"] = {{L"TotalImageCount", L"2147483647"}};
    services.image(L"Image2000000000", L"D:\\late.QVX", L"3", L"0");
    services.image(L"Image7", L"D:\\b.QVX", L"3", L"0");
    services.image(L"Image0", L"D:\\a.QVX", L"3", L"0");
    services.image(L"Image2147483647", L"D:\\beyond.QVX", L"3", L"0");
    for (const wchar_t* file : {L"d:\\late.QVX", L"d:\\b.QVX", L"d:\\a.QVX", L"d:\\beyond.QVX"})
        services.files[file] = 1;

    const ImageCatalogue catalogue = load();
    ASSERT_EQ(catalogue.size(), 3u);
    EXPECT_EQ(catalogue[0].imagePath, L"d:\\a.QVX");
    EXPECT_EQ(catalogue[1].imagePath, L"d:\\b.QVX");
    EXPECT_EQ(catalogue[2].imagePath, L"d:\\late.QVX");
    // The count plus three values for each of the three sections.
    EXPECT_EQ(services.profileReads, 1 + 3 * 3);
}

TEST_F(ImageList, RecoveryPartitionIsTheTypeOfTheFirstTableEntryOnly)
{
    EXPECT_FALSE(hasRecoveryPartition(disks));
    disks.firstSector[0x1C2] = 0x12; // no boot signature: still true
    EXPECT_TRUE(hasRecoveryPartition(disks));
    disks.firstSectorReadable = false;
    EXPECT_FALSE(hasRecoveryPartition(disks));
    disks.firstSectorReadable = true;
    disks.firstSector[0x1C2] = 0x07;
    for (std::size_t other : {0x1D2u, 0x1E2u, 0x1F2u}) {
        disks.firstSector[other] = 0x12;
        EXPECT_FALSE(hasRecoveryPartition(disks)) << other;
    }
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
