// The string catalogue as the profile reader fills it (NUL after each line,
// one more at the end), and the shipped language files. Every one of them must
// read the same on Windows as under Wine: UTF-16LE with a byte-order mark is
// the one encoding Windows' profile reader takes as Unicode whatever the
// system's code page.
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

// The lines of section [code] as the profile reader hands them over: NUL after each.
std::wstring sectionText(const std::u16string& text, const std::u16string& code)
{
    std::wstring result;
    bool inside = false;
    for (std::size_t start = 0, end = 0; start < text.size(); start = end + 2) {
        end = std::min(text.find(u"\r\n", start), text.size());
        const std::u16string line = text.substr(start, end - start);
        if (line.starts_with(u'[')) {
            inside = line == u"[" + code + u"]";
        } else if (inside && !line.empty()) {
            result.append(line.begin(), line.end());
            result.push_back(L'\0');
        }
    }
    return result;
}

TEST(LanguageFiles, AreUtf16WithByteOrderMarkAndCrLfAndHoldEveryIdTheScreensUse)
{
    const fs::path folder = fs::path(QUORVANE_SOURCE_DIR) / "resources/Lang/Quorvane";
    ASSERT_TRUE(fs::exists(folder / "409.ini")) << "English must ship";
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".ini")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        const quorvane::testing::Bytes bytes = quorvane::testing::fileBytes(entry.path());
        ASSERT_GE(bytes.size(), 4u);
        EXPECT_TRUE(bytes[0] == 0xFF && bytes[1] == 0xFE) << "no UTF-16LE byte-order mark";
        EXPECT_EQ(bytes.size() % 2, 0u) << "odd number of bytes";
        std::u16string text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
        EXPECT_EQ(text.find(u'\0'), std::u16string::npos);
        std::ptrdiff_t lineEnds = 0; // every CR and every LF belongs to one CR LF
        for (std::size_t at = text.find(u"\r\n"); at != std::u16string::npos; at = text.find(u"\r\n", at + 2))
            ++lineEnds;
        EXPECT_EQ(std::ranges::count(text, u'\r'), lineEnds);
        EXPECT_EQ(std::ranges::count(text, u'\n'), lineEnds);

        const std::string stem = entry.path().stem().string();
        quorvane::StringCatalogue catalogue;
        catalogue.fillFromSection(sectionText(text, std::u16string(stem.begin(), stem.end())));
        // An '=' inside a text would shift every later id: exactly 101 entries.
        EXPECT_EQ(catalogue.size(), 101u);
        for (int id = 0; id <= 100; ++id) { // id 0 names the font face; no screen shows id 39
            EXPECT_TRUE(id == 39 || !catalogue.text(id).empty()) << "id " << id;
        }
    }
}

} // namespace
