// The string catalogue as the profile reader fills it (NUL after each line,
// one more at the end), and the shipped language files. Every one of them must
// read the same on Windows as under Wine: UTF-16LE with a byte-order mark is
// the one encoding Windows' profile reader takes as Unicode whatever the
// system's code page.
#include "app/LanguageChoice.h"
#include "app/StringCatalogue.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// The catalogue's texts, ids from 0.
std::vector<std::wstring> texts(const quorvane::StringCatalogue& catalogue)
{
    std::vector<std::wstring> result;
    for (int id = 0; id < static_cast<int>(catalogue.size()); ++id)
        result.push_back(catalogue.text(id));
    return result;
}

TEST(StringCatalogue, EveryEqualsSignStartsAnEntryInOrderWhateverTheKeys)
{
    quorvane::StringCatalogue catalogue;
    catalogue.fillFromSection(L"a=Tahoma\0zz=Back up\0a=dup\0x=1+1=2\0k=\0no equals\0last= kept  \0\0"s);
    // Nothing is trimmed; a line without '=' adds nothing.
    EXPECT_EQ(texts(catalogue),
              (std::vector<std::wstring>{L"Tahoma", L"Back up", L"dup", L"1+1=2", L"2", L"", L" kept  "}));
    EXPECT_EQ(catalogue.text(7), L"");
    EXPECT_EQ(catalogue.text(-1), L"");

    // Reloading replaces instead of appending; an unterminated buffer ends the entry.
    catalogue.fillFromSection(std::wstring_view(L"k=open end"));
    EXPECT_EQ(texts(catalogue), std::vector<std::wstring>{L"open end"});
    catalogue.fillFromSection(L"\0"s);
    EXPECT_EQ(catalogue.size(), 0u);
}

// One pass over every shipped file: the byte-order mark, UTF-16LE lines that
// each end in CR LF, one section named after the file, and the ids the pages
// show.
TEST(LanguageFiles, AreUtf16WithByteOrderMarkAndCrLfAndHoldEveryIdTheScreensUse)
{
    const fs::path folder = fs::path(QUORVANE_SOURCE_DIR) / "resources/Lang/Quorvane";
    // The eighteen languages whose layouts the pages carry, and no other.
    std::vector<std::string> shipped;
    for (const auto& entry : fs::directory_iterator(folder))
        shipped.push_back(entry.path().filename().string());
    std::ranges::sort(shipped);
    EXPECT_EQ(shipped, (std::vector<std::string>{"404.ini", "406.ini", "407.ini", "408.ini", "409.ini", "40b.ini",
                                                 "40c.ini", "410.ini", "412.ini", "414.ini", "415.ini", "416.ini",
                                                 "419.ini", "41d.ini", "41f.ini", "804.ini", "816.ini", "c0a.ini"}));
    for (const std::string& name : shipped) {
        SCOPED_TRACE(name);
        const quorvane::testing::Bytes bytes = quorvane::testing::fileBytes(folder / name);
        ASSERT_GE(bytes.size(), 4u);
        EXPECT_TRUE(bytes[0] == 0xFF && bytes[1] == 0xFE) << "no UTF-16LE byte-order mark";
        EXPECT_EQ(bytes.size() % 2, 0u) << "odd number of bytes";
        std::wstring text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text.push_back(static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8)));
        EXPECT_EQ(text.find(L'\0'), std::wstring::npos);
        const std::wstring header = L"[" + std::wstring(name.begin(), name.end() - 4) + L"]\r\n";
        ASSERT_TRUE(text.starts_with(header)) << "the file does not start with its section";
        // The section's lines as the profile reader hands them over: NUL after each.
        std::wstring section;
        for (std::size_t at = header.size(), end = 0; at < text.size(); at = end + 2) {
            end = text.find(L"\r\n", at);
            ASSERT_NE(end, std::wstring::npos) << "the last line does not end in CR LF";
            section += text.substr(at, end - at) + L'\0';
        }
        EXPECT_EQ(section.find_first_of(L"\r\n"), std::wstring::npos) << "a CR or an LF on its own";
        quorvane::StringCatalogue catalogue;
        catalogue.fillFromSection(section);
        // An '=' inside a text would shift every later id: exactly 101 entries.
        EXPECT_EQ(catalogue.size(), 101u);
        for (int id = 0; id <= 100; ++id) { // id 0 names the font face; no screen shows id 39
            EXPECT_TRUE(id == 39 || !catalogue.text(id).empty()) << "id " << id;
            // Texts are never formats, but a '%' would become one the day one is.
            EXPECT_EQ(catalogue.text(id).find(L'%'), std::wstring::npos) << "id " << id;
        }
    }
}

// A locale's own file first; a regional variant without one takes its
// language's file; a language that ships no file gets none.
TEST(LanguageChoice, CodesAndTheFileOfTheLanguageForRegionalVariants)
{
    EXPECT_EQ(quorvane::languageCodeOf(0x0409), L"409");
    EXPECT_EQ(quorvane::languageCodeOf(0x0C0A), L"c0a");
    EXPECT_EQ(quorvane::languageCodeOf(0x1004), L"1004");
    const std::pair<std::uint32_t, const wchar_t*> fallbacks[] = {
        {0x0809, L"409"}, {0x0C09, L"409"}, {0x1009, L"409"}, {0x1409, L"409"}, {0x0C07, L"407"}, {0x0807, L"407"},
        {0x1007, L"407"}, {0x080C, L"40c"}, {0x0C0C, L"40c"}, {0x100C, L"40c"}, {0x0810, L"410"}, {0x040A, L"c0a"},
        {0x080A, L"c0a"}, {0x2C0A, L"c0a"}, {0x0814, L"414"}, {0x081D, L"41d"}, {0x0C04, L"404"}, {0x1404, L"404"},
        {0x1004, L"804"}, {0x0819, L"419"}, {0x0816, L"816"}, {0x0416, L"416"}, {0x0408, L"408"}, {0x0412, L"412"},
    };
    for (const auto& [locale, code] : fallbacks)
        EXPECT_EQ(quorvane::fallbackLanguageCode(locale), code) << std::hex << locale;
    for (std::uint32_t locale : {0x0411u, 0x0413u, 0x040Eu, 0x0000u})
        EXPECT_FALSE(quorvane::fallbackLanguageCode(locale)) << std::hex << locale;
}

} // namespace
