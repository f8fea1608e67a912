// Our reader of the image list against the platform's profile reader, side by
// side on odd list files: every value the catalogue asks for must be the same.
#include "restore/ImageCatalogue.h"
#include "restore/ImageListFile.h"
#include "support/ProgramUnderTest.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <random>
#include <string_view>

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::literals;

// The values the catalogue asks for, as the profile reader gives them and as
// our reader gives them, one line per value.
std::pair<std::wstring, std::wstring> bothAnswers(const fs::path& file, int sections)
{
    const std::optional<std::wstring> text = imageListText(file.wstring());
    const ImageListFile list(text.value_or(L""));
    std::wstring profile, ours;
    const auto ask = [&](const std::wstring& section, const wchar_t* key, const std::wstring& answer) {
        std::vector<wchar_t> value(profileValueSize, L'\0');
        GetPrivateProfileStringW(section.c_str(), key, L"", value.data(), profileValueSize, file.c_str());
        profile += section + L"/" + key + L"=" + value.data() + L"\n";
        ours += section + L"/" + key + L"=" + answer + L"\n";
    };
    ask(L"BackupImage", L"TotalImageCount", list.imageCount());
    for (int number = 0; number < sections; ++number) {
        const std::wstring section = L"Image" + std::to_wstring(number);
        ask(section, L"Path", list.imageValue(number, ImageKey::path));
        ask(section, L"PartID", list.imageValue(number, ImageKey::partId));
        ask(section, L"DiskID", list.imageValue(number, ImageKey::diskId));
    }
    return {profile, ours};
}

Bytes ansiFile(std::wstring_view text)
{
    return Bytes(text.begin(), text.end()); // each character's low byte
}

TEST(ImageListFile, GivesTheProfileReadersValuesOnOddListFiles)
{
    const std::wstring_view odd[] = {
        // Blanks and tabs around names and values, CR or LF alone, ^Z and
        // other control characters, blanks of other scripts.
        L" [BackupImage] \r\n\t TotalImageCount \t= \t12 \t\r\n[Image0]\rPath\t=\td:\\a b.QVX\t\n PartID = 3\x1a\r\n"
        L"DiskID=\x0b" L"0\x0c\r\n[Image1]\r\nPath=\u00a0d:\\x.QVX\u3000\r\nPartID=\x85" L"3\r\n",
        // Comments, duplicate sections and keys, lower-case names, a key
        // without '=', a section missing, sections past the count.
        L";[BackupImage]\r\n[backupimage]\r\ntotalimagecount=3\r\nTotalImageCount=9\r\n[BackupImage]\r\n"
        L"TotalImageCount=7\r\n[image0]\r\n;Path=d:\\comment.QVX\r\npath=d:\\first.QVX\r\nPath=d:\\second.QVX\r\n"
        L"[Image0]\r\nPartID=3\r\n[Image2]\r\nPartID\r\nPartID=3\r\n[Image4]\r\nPath=d:\\past.QVX\r\n",
        // Section lines with more than one ']', with none, with blanks inside.
        L"[Image0]]\r\nPath=a\r\n[Image1] junk ]\r\nPath=b\r\n[Image2\r\nPath=c\r\n[ Image3 ]\r\nPath=d\r\n"
        L"[Image3]x\r\nPath=e\r\n[Image5]\r\n[Image6]]x\r\nPath=f\r\n",
        // NULs inside names and values.
        L"[Image0\0x]\r\nPath\0y=a\0b\r\nPartID=\0" L"3\r\n[Image1]\r\n\0Path=c\r\nPath=d\0\r\n"sv,
        // Quotes.
        L"[Image0]\r\nPath=\"d:\\q.QVX\"\r\nPartID='3'\r\nDiskID=\"0'\r\n[Image1]\r\nPath=\"\r\nPartID=''\r\n"
        L"DiskID=\" 1 \"\r\n[Image2]\r\nPath= \"x\" \r\nPartID=\"\"\"\r\n",
        // Empty and unclosed section names, doubled '=', lone surrogates and
        // non-characters.
        L"[]\r\nPath=a\r\n[\r\n[IMAGE0\r\nPath==b\r\n[Image0]\r\nPath=\xd800" L"d:\\\xffff.QVX\r\nPartID==3\r\n"
        L"[Image1]\r\nPath\xdc00=c\r\n",
        // Numbers and digits in odd places.
        L"[Image00]\r\nPath=a\r\n[Image+1]\r\nPath=b\r\n[Image 2]\r\nPath=c\r\n[Image3 ]\r\nPath=d\r\n"
        L"[Image4\t]\r\nPath=e\r\n[Image05]\r\nPath=f\r\n",
    };
    // Values around the 4096-character buffer, bare and quoted.
    std::wstring longValues;
    int section = 0;
    for (std::size_t length : {4094, 4095, 4096, 4097, 5000}) {
        const std::wstring value(length, L'v');
        longValues += L"[Image" + std::to_wstring(section++) + L"]\r\nPath=" + value + L"\r\nPartID=\"" + value
            + L"\"\r\nDiskID=\"" + value.substr(1) + L"\"\r\n";
    }

    ScratchFolder folder;
    int files = 0;
    const auto compare = [&](const Bytes& bytes, const std::string& what) {
        const fs::path file = folder.path() / (L"list" + std::to_wstring(++files) + L".ini");
        writeBytes(file, bytes);
        const auto [profile, ours] = bothAnswers(file, 8);
        EXPECT_TRUE(profile == ours) << what << "\nprofile reader:\n" << narrow(profile).substr(0, 1500)
                                     << "\nours:\n" << narrow(ours).substr(0, 1500);
    };
    for (std::size_t i = 0; i < std::size(odd); ++i) {
        compare(utf16File(std::wstring(odd[i])), "UTF-16LE " + std::to_string(i));
        compare(ansiFile(odd[i]), "ANSI " + std::to_string(i));
    }
    compare(utf16File(longValues), "long values, UTF-16LE");
    compare(ansiFile(longValues), "long values, ANSI");

    // Bytes of no encoding at all, without a byte-order mark.
    std::mt19937 random(20261207);
    Bytes garbage(2000);
    for (std::uint8_t& byte : garbage)
        byte = static_cast<std::uint8_t>(random());
    garbage[0] = '[';
    compare(garbage, "garbage");
    compare({}, "empty");
    compare({0xFF, 0xFE}, "only the byte-order mark");
}

} // namespace
} // namespace quorvane::testing
