// The committed artwork: every picture the program loads from its Data is a
// BMP that LoadImageW reads, in the size its place on the pages needs, with its
// colour key in the corners where one is used.

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using quorvane::testing::Bytes;

std::uint32_t le(const Bytes& b, std::size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | b.at(at + static_cast<std::size_t>(i));
    return v;
}

struct Picture {
    std::string name;
    int width, height;
    std::optional<std::uint32_t> key; // 0xRRGGBB
    bool page; // page pictures are loaded with LR_LOADMAP3DCOLORS
};

// Each picture a BITMAPFILEHEADER, a 40-byte BITMAPINFOHEADER, 24 bits per
// pixel, BI_RGB, bottom-up rows padded to 4 bytes (anything else loads as a
// 0 x 0 picture), in its exact size, with its key in the corners; page
// pictures avoid the greys that LR_LOADMAP3DCOLORS would turn into system
// colours.
TEST(ArtworkFiles, EveryPictureReadsInItsSizeWithItsKeyAndNoReplacedGrey)
{
    constexpr std::uint32_t magenta = 0xFF00FF;
    std::vector<Picture> pictures = {
        {"background_main.dat", 720, 480, {}, true},      {"background_step.dat", 720, 480, {}, true},
        {"background_box_1.dat", 466, 107, {}, true},     {"firstbg.dat", 183, 57, {}, true},
        {"secondbg.dat", 183, 57, {}, true},              {"partition_number_1.dat", 24, 34, 0, true},
        {"partition_number_2.dat", 24, 34, 0, true},      {"popup_warning.dat", 38, 38, 0xDFDFDF, true},
        {"c_drive_enabled.dat", 42, 30, magenta, true},   {"d_drive_enabled.dat", 42, 30, magenta, true},
        {"partition_green_start.dat", 10, 36, {}, true},  {"partition_green_mid.dat", 411, 36, {}, true},
        {"partition_green_end.dat", 10, 36, {}, true},    {"partition_violet_mid.dat", 411, 36, {}, true},
        {"partition_violet_end.dat", 10, 36, {}, true},   {"radioOFF.dat", 15, 15, magenta, false},
        {"radioON.dat", 15, 15, magenta, false},
    };
    for (const char* icon : {"backup", "recovery", "tool", "control", "search"})
        for (const char* state : {"normal", "rollover", "pressed"})
            pictures.push_back({std::string("main_icon_") + icon + "_" + state + ".dat", 137, 119, magenta, false});
    for (const char* set : {"ns", "nw"})
        for (const char* state : {"NN", "UP", "DN", "FF", "FU", "XX"})
            pictures.push_back({std::string("btn") + state + "." + set, 88, 25, magenta, false});

    for (const Picture& p : pictures) {
        SCOPED_TRACE(p.name);
        const Bytes b = quorvane::testing::fileBytes(std::filesystem::path(QUORVANE_SOURCE_DIR) / "resources/Data" / p.name);
        ASSERT_TRUE(b.size() >= 54 && b[0] == 'B' && b[1] == 'M' && le(b, 2, 4) == b.size() && le(b, 14, 4) == 40
                    && le(b, 26, 2) == 1 && le(b, 28, 2) == 24 && le(b, 30, 4) == 0);
        ASSERT_EQ(le(b, 18, 4), static_cast<std::uint32_t>(p.width));
        ASSERT_EQ(le(b, 22, 4), static_cast<std::uint32_t>(p.height));
        const std::size_t stride = (std::size_t(p.width) * 3 + 3) / 4 * 4;
        ASSERT_LE(le(b, 10, 4) + stride * std::size_t(p.height), b.size());
        const auto at = [&](int x, int y) { // y counted from the top
            return le(b, le(b, 10, 4) + std::size_t(p.height - 1 - y) * stride + std::size_t(x) * 3, 3);
        };
        if (p.key) {
            for (const auto& [x, y] : {std::pair{0, 0}, {p.width - 1, 0}, {0, p.height - 1}, {p.width - 1, p.height - 1}})
                EXPECT_EQ(at(x, y), *p.key);
            EXPECT_NE(at(p.width / 2, p.height / 2), *p.key) << "nothing drawn in the middle";
        }
        for (int y = 0; p.page && y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                for (const std::uint32_t grey : {0x808080u, 0xC0C0C0u, 0xDFDFDFu}) // the warning sign's key is one, by design
                    ASSERT_FALSE(at(x, y) == grey && p.key != grey) << "contains " << std::hex << grey;
    }
}

} // namespace
