// Every shipped language file must read the same on Windows as under Wine:
// UTF-16LE with a byte-order mark is the one encoding Windows' profile reader
// takes as Unicode whatever the system's code page.
#include "app/StringCatalogue.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path languageFolder = fs::path(QUORVANE_SOURCE_DIR) / "resources/Lang/Quorvane";

std::vector<fs::path> shippedLanguageFiles()
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(languageFolder)) {
        if (entry.path().extension() == ".ini")
            files.push_back(entry.path());
    }
    EXPECT_TRUE(std::ranges::count(files, languageFolder / "409.ini")) << "English must ship";
    return files;
}

using quorvane::testing::fileBytes;

// UTF-16LE code units after the byte-order mark.
std::u16string codeUnits(const std::vector<unsigned char>& bytes)
{
    std::u16string units;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    return units;
}

// The section's lines as the profile reader hands them over: NUL after each.
std::wstring sectionText(const std::u16string& text, const std::u16string& section)
{
    std::wstring result;
    bool inside = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(u"\r\n", start);
        if (end == std::u16string::npos)
            end = text.size();
        const std::u16string line = text.substr(start, end - start);
        start = end + 2;
        if (!line.empty() && line.front() == u'[') {
            inside = line == u"[" + section + u"]";
            continue;
        }
        if (inside && !line.empty()) {
            result.append(line.begin(), line.end());
            result.push_back(L'\0');
        }
    }
    return result;
}

TEST(LanguageFiles, AreUtf16LittleEndianWithByteOrderMarkAndCrLf)
{
    for (const fs::path& file : shippedLanguageFiles()) {
        SCOPED_TRACE(file.filename().string());
        const quorvane::testing::Bytes bytes = fileBytes(file);
        ASSERT_GE(bytes.size(), 4u);
        EXPECT_EQ(bytes[0], 0xFF);
        EXPECT_EQ(bytes[1], 0xFE);
        EXPECT_EQ(bytes.size() % 2, 0u) << "odd number of bytes";
        const std::u16string text = codeUnits(bytes);
        EXPECT_EQ(text.find(u'\0'), std::u16string::npos);
        std::ptrdiff_t lineEnds = 0; // every CR and every LF belongs to one CR LF
        for (std::size_t at = text.find(u"\r\n"); at != std::u16string::npos; at = text.find(u"\r\n", at + 2))
            ++lineEnds;
        EXPECT_EQ(std::ranges::count(text, u'\r'), lineEnds);
        EXPECT_EQ(std::ranges::count(text, u'\n'), lineEnds);
    }
}

TEST(LanguageFiles, HoldTheirCodesSectionWithEveryIdTheScreensUse)
{
    for (const fs::path& file : shippedLanguageFiles()) {
        SCOPED_TRACE(file.filename().string());
        const std::string stem = file.stem().string();
        const std::u16string code(stem.begin(), stem.end());
        quorvane::StringCatalogue catalogue;
        catalogue.fillFromSection(sectionText(codeUnits(fileBytes(file)), code));
        // An '=' inside a text would shift every later id: exactly 100 entries.
        EXPECT_EQ(catalogue.size(), 100u);
        EXPECT_FALSE(catalogue.text(0).empty()) << "id 0 names the font face";
        for (int id = 1; id < 100; ++id) {
            if (id != 39) { // no screen shows id 39
                EXPECT_FALSE(catalogue.text(id).empty()) << "id " << id;
            }
        }
    }
}

} // namespace
