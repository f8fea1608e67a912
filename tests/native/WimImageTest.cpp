// Reading WIM files made by the real wimlib-imagex: the header, the
// description, and the completeness check that tells a finished backup from
// one cut off half-way or still flagged as being written.
#include "native/support/ShellCommand.h"
#include "restore/WimDescription.h"
#include "restore/WimHeader.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <unistd.h>

using namespace quorvane;
using namespace quorvane::testing;
namespace fs = std::filesystem;

namespace {

// A one-file image captured with wimlib-imagex (name "Monday", description
// "weekly"), made once for all tests.
const Bytes& realImage()
{
    static const Bytes bytes = [] {
        const fs::path folder = fs::temp_directory_path() / ("quorvane-wim-" + std::to_string(getpid()));
        fs::create_directories(folder / "content");
        std::ofstream(folder / "content" / "a.txt") << "some content\n";
        const fs::path image = folder / "image.QVX";
        runCommand("wimlib-imagex capture '" + (folder / "content").string() + "' '" + image.string()
                   + "' Monday weekly --compress=fast");
        Bytes made = fileBytes(image);
        fs::remove_all(folder);
        return made;
    }();
    return bytes;
}

void putLittleEndian(Bytes& bytes, std::size_t at, std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

struct Read {
    bool header;
    bool complete;
    bool description;
};

Read readAll(const Bytes& bytes)
{
    MemoryBytes source(bytes);
    std::wstring description;
    return {readWimHeader(source).has_value(), isCompleteWimImage(source), readWimDescription(source, description)};
}

} // namespace

TEST(WimImage, RealImageIsCompleteAndDescribesItself)
{
    const Bytes& image = realImage();
    ASSERT_GT(image.size(), wimHeaderSize) << "wimlib-imagex made no image";
    MemoryBytes source(image);
    const auto header = readWimHeader(source);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->imageCount, 1u);
    EXPECT_EQ(header->flags & wimWriteInProgressFlag, 0u);
    EXPECT_TRUE(header->lookupTable.storedSize > 0 && header->xmlData.storedSize > 0);
    EXPECT_TRUE(isCompleteWimImage(source));
    std::wstring description;
    ASSERT_TRUE(readWimDescription(source, description));
    EXPECT_NE(description.find(L"<NAME>Monday</NAME>"), std::wstring::npos);
    EXPECT_NE(description.find(L"<DESCRIPTION>weekly</DESCRIPTION>"), std::wstring::npos);
}

// What a power failure or a damaged file leaves, and what each reader makes of it.
TEST(WimImage, CutOffFlaggedAndDamagedCopies)
{
    const Bytes& image = realImage();
    ASSERT_GT(image.size(), wimHeaderSize);
    MemoryBytes source(image);
    const WimHeader header = *readWimHeader(source);
    struct Case {
        const char* what;
        std::function<void(Bytes&)> change;
        Read expected;
    };
    const Case cases[] = {
        {"still flagged as being written", [](Bytes& b) { b[16] |= wimWriteInProgressFlag; }, {true, false, true}},
        {"cut off by one byte", [](Bytes& b) { b.pop_back(); }, {true, false, false}},
        {"cut off inside the lookup table",
         [&](Bytes& b) { b.resize(static_cast<std::size_t>(header.lookupTable.offset + 1)); }, {true, false, false}},
        {"boot metadata past the end",
         [&](Bytes& b) {
             putLittleEndian(b, 96, 100, 7);
             putLittleEndian(b, 104, b.size(), 8);
         },
         {true, false, true}},
        {"a resource whose offset and size wrap round",
         [](Bytes& b) {
             putLittleEndian(b, 48, 0x00FF'FFFF'FFFF'FFFF, 7);
             putLittleEndian(b, 56, 0xFFFF'FFFF'FFFF'FF00, 8);
         },
         {true, false, true}},
        {"a compressed description", [](Bytes& b) { b[79] |= wimCompressedResourceFlag; }, {true, true, false}},
        {"no WIM magic", [](Bytes& b) { b[0] = 'X'; }, {false, false, false}},
        {"shorter than a header", [](Bytes& b) { b.resize(wimHeaderSize - 1); }, {false, false, false}},
        {"empty", [](Bytes& b) { b.clear(); }, {false, false, false}},
    };
    for (const Case& each : cases) {
        Bytes copy = image;
        each.change(copy);
        const Read read = readAll(copy);
        EXPECT_EQ(read.header, each.expected.header) << each.what;
        EXPECT_EQ(read.complete, each.expected.complete) << each.what;
        EXPECT_EQ(read.description, each.expected.description) << each.what;
    }
}
