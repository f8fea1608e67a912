// Our WIM description reader on real WIM files made by wimlib-imagex, and on
// damaged copies of them.
#include "restore/ImageCatalogue.h"
#include "restore/WimDescription.h"

#include "native/support/RunCommand.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace quorvane;
namespace fs = std::filesystem;

namespace {

std::string quoted(const std::string& text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string runCommand(const std::string& command)
{
    return quorvane::testing::runCommand("LC_ALL=C.UTF-8 " + command);
}

std::vector<char> fileBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& file, const std::vector<char>& bytes)
{
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class WimFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path()
            / ("quorvane-wim-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-"
               + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder / "content" / "sub");
        std::ofstream(folder / "content" / "a.txt") << "some content";
        std::ofstream(folder / "content" / "sub" / "b.txt") << "more";
    }
    void TearDown() override { fs::remove_all(folder); }

    // A WIM of the small folder; `name` may be empty (no NAME element).
    fs::path capture(const std::string& file, const std::string& name, const std::string& description = "",
                     const std::string& compression = "none")
    {
        const fs::path wim = folder / file;
        runCommand("wimlib-imagex capture " + quoted((folder / "content").string()) + " " + quoted(wim.string()) + " "
                   + quoted(name) + (description.empty() ? "" : " " + quoted(description))
                   + " --compress=" + compression + " >/dev/null 2>&1");
        EXPECT_TRUE(fs::exists(wim)) << "wimlib-imagex made no " << file;
        return wim;
    }

    void setProperty(const fs::path& wim, const std::string& property)
    {
        runCommand("wimlib-imagex info " + quoted(wim.string()) + " 1 --image-property " + quoted(property)
                   + " >/dev/null 2>&1");
    }

    // The description as wimlib-imagex itself prints it.
    static std::wstring wimlibDescription(const fs::path& wim)
    {
        const std::string bytes = runCommand("wimlib-imagex info " + quoted(wim.string()) + " --xml");
        std::wstring text;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            const auto unit = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i])
                                                   | static_cast<unsigned char>(bytes[i + 1]) << 8);
            if (unit == 0)
                break;
            text.push_back(unit);
        }
        return text;
    }

    static std::wstring nameOf(const fs::path& wim)
    {
        std::wstring description;
        EXPECT_TRUE(readWimDescription(wim, description));
        return imageNameFromDescription(description);
    }

    fs::path folder;
};

} // namespace

TEST_F(WimFiles, DescriptionIsWhatWimlibReportsAndNamesComeOutVerbatim)
{
    const fs::path plain = capture("plain.QVX", "Monday", "weekly backup", "fast");
    std::wstring description;
    ASSERT_TRUE(readWimDescription(plain, description));
    EXPECT_EQ(description, wimlibDescription(plain));
    EXPECT_NE(description.find(L"<DESCRIPTION>weekly backup</DESCRIPTION>"), std::wstring::npos);
    EXPECT_EQ(imageNameFromDescription(description), L"Monday");

    EXPECT_EQ(nameOf(capture("accents.QVX", "Caf\xC3\xA9 \xC3\xA9t\xC3\xA9 & <co>", "", "maximum")),
              L"Caf\u00e9 \u00e9t\u00e9 &amp; &lt;co&gt;");
    EXPECT_EQ(nameOf(capture("cjk.QVX", "\xE5\xA4\x87\xE4\xBB\xBD \xE5\x91\xA8\xE4\xB8\x80")),
              L"\u5907\u4efd \u5468\u4e00");
}

TEST_F(WimFiles, DisplayNameBeforeNameAndNoNameAtAll)
{
    const fs::path unnamed = capture("unnamed.QVX", "");
    std::wstring description;
    ASSERT_TRUE(readWimDescription(unnamed, description));
    ASSERT_EQ(description.find(L"NAME"), std::wstring::npos);
    EXPECT_EQ(nameOf(unnamed), description);

    setProperty(unnamed, "DISPLAYNAME=Shown");
    setProperty(unnamed, "NAME=Real");
    ASSERT_LT(wimlibDescription(unnamed).find(L"<DISPLAYNAME>"), wimlibDescription(unnamed).find(L"<NAME>"));
    EXPECT_EQ(nameOf(unnamed), L"Shown</DISPLAYNAME><NAME>Real");
}

TEST_F(WimFiles, DamagedCopiesAnswerFalseAndLeaveTheDescriptionAlone)
{
    const fs::path original = capture("good.QVX", "Monday");
    const std::vector<char> good = fileBytes(original);
    ASSERT_GT(good.size(), 208u);
    const std::size_t xmlOffset = static_cast<unsigned char>(good[80]) | static_cast<unsigned char>(good[81]) << 8;
    ASSERT_GT(xmlOffset, 208u);

    auto damaged = [&](const std::string& what, auto change) {
        std::vector<char> bytes = good;
        change(bytes);
        const fs::path copy = folder / ("damaged-" + what + ".QVX");
        writeBytes(copy, bytes);
        std::wstring description = L"untouched";
        EXPECT_FALSE(readWimDescription(copy, description)) << what;
        EXPECT_EQ(description, L"untouched") << what;
    };
    damaged("shorter than the header", [](std::vector<char>& b) { b.resize(100); });
    damaged("empty", [](std::vector<char>& b) { b.clear(); });
    damaged("cut inside the description", [&](std::vector<char>& b) { b.resize(xmlOffset + 20); });
    damaged("bad magic", [](std::vector<char>& b) { b[0] = 'X'; });
    damaged("compressed description", [](std::vector<char>& b) { b[79] = static_cast<char>(b[79] | 0x04); });
    damaged("size past the end", [](std::vector<char>& b) { b[74] = 0x10; }); // + 1 MiB
    damaged("absurd size", [](std::vector<char>& b) {
        for (int i = 72; i < 79; ++i)
            b[static_cast<std::size_t>(i)] = static_cast<char>(0xFF);
    });
    damaged("offset past the end", [](std::vector<char>& b) { b[87] = 0x40; });

    std::wstring description = L"untouched";
    EXPECT_FALSE(readWimDescription(folder / "missing.QVX", description));
    EXPECT_EQ(description, L"untouched");
}
