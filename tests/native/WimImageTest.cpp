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

// The image as wimlib-imagex made it, and what a power failure or a damaged
// file leaves: whether the header reads, the image counts as complete, and
// the description reads (and is otherwise left as it was).
TEST(WimImage, RealImageAndItsCutOffFlaggedAndDamagedCopies)
{
    // A one-file image named "Monday", described "weekly".
    const fs::path folder = fs::temp_directory_path() / ("quorvane-wim-" + std::to_string(getpid()));
    fs::create_directories(folder / "content");
    std::ofstream(folder / "content" / "a.txt") << "some content\n";
    runCommand("wimlib-imagex capture '" + (folder / "content").string() + "' '" + (folder / "image.QVX").string()
               + "' Monday weekly --compress=fast");
    const Bytes image = fileBytes(folder / "image.QVX");
    fs::remove_all(folder);
    ASSERT_GT(image.size(), wimHeaderSize) << "wimlib-imagex made no image";
    MemoryBytes source(image);
    const WimHeader header = *readWimHeader(source);
    EXPECT_EQ(header.imageCount, 1u);
    struct Case {
        const char* what;
        std::function<void(Bytes&)> change;
        bool header, complete, description;
    };
    const Case cases[] = {
        {"as made", [](Bytes&) {}, true, true, true},
        {"still flagged as being written", [](Bytes& b) { b[16] |= wimWriteInProgressFlag; }, true, false, true},
        {"cut off by one byte", [](Bytes& b) { b.pop_back(); }, true, false, false},
        {"cut off inside the lookup table",
         [&](Bytes& b) { b.resize(static_cast<std::size_t>(header.lookupTable.offset + 1)); }, true, false, false},
        {"boot metadata past the end", [](Bytes& b) { putLittleEndian(b, 96, 100, 7); putLittleEndian(b, 104, b.size(), 8); },
         true, false, true},
        {"a resource whose offset and size wrap round",
         [](Bytes& b) { putLittleEndian(b, 48, 0x00FF'FFFF'FFFF'FFFF, 7); putLittleEndian(b, 56, 0xFFFF'FFFF'FFFF'FF00, 8); },
         true, false, true},
        {"a compressed description", [](Bytes& b) { b[79] |= wimCompressedResourceFlag; }, true, true, false},
        {"a description of more than 2^48 bytes", [](Bytes& b) { b[78] = 0x01; }, true, false, false},
        {"a description past the end", [](Bytes& b) { b[87] = 0x40; }, true, false, false},
        {"no WIM magic", [](Bytes& b) { b[0] = 'X'; }, false, false, false},
        {"shorter than a header", [](Bytes& b) { b.resize(wimHeaderSize - 1); }, false, false, false},
        {"empty", [](Bytes& b) { b.clear(); }, false, false, false},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.what);
        Bytes copy = image;
        each.change(copy);
        MemoryBytes bytes(copy);
        std::wstring description = L"untouched";
        EXPECT_EQ(readWimHeader(bytes).has_value(), each.header);
        EXPECT_EQ(isCompleteWimImage(bytes), each.complete);
        EXPECT_EQ(readWimDescription(bytes, description), each.description);
        if (each.description) {
            EXPECT_NE(description.find(L"<NAME>Monday</NAME>"), std::wstring::npos);
            EXPECT_NE(description.find(L"<DESCRIPTION>weekly</DESCRIPTION>"), std::wstring::npos);
        } else {
            EXPECT_EQ(description, L"untouched");
        }
    }
}
