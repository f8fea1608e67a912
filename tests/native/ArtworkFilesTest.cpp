// Checks the committed artwork: every picture the program loads from its Data
// is a BMP that LoadImageW reads, in its exact size, with its colour key where
// one is used, and the places where the program paints buttons over a
// picture are in the colour the buttons fill themselves with. Also checks the
// program icon's directory.

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using quorvane::testing::Bytes;
using quorvane::testing::fileBytes;

const std::filesystem::path sourceFolder = QUORVANE_SOURCE_DIR;

std::uint32_t le(const Bytes& b, std::size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | b.at(at + static_cast<std::size_t>(i));
    return v;
}

// 0xRRGGBB.
using Rgb = std::uint32_t;
constexpr Rgb magenta = 0xFF00FF;
constexpr Rgb pageGrey = 0xDCDCDC;  // push and icon button background
constexpr Rgb panelGrey = 0xF6F6F6; // browse and radio button background

// A BMP as LoadImageW(LR_LOADFROMFILE) wants it: BITMAPFILEHEADER, a 40-byte
// BITMAPINFOHEADER, 24 bits per pixel, BI_RGB, bottom-up rows padded to 4
// bytes. Loading anything else adds a failure and gives a 0 x 0 picture.
struct Bmp {
    explicit Bmp(const std::string& name) : bytes(fileBytes(sourceFolder / "resources/Data" / name))
    {
        const Bytes& b = bytes;
        const bool valid = b.size() >= 54 && b[0] == 'B' && b[1] == 'M' && le(b, 2, 4) == b.size()
            && le(b, 14, 4) == 40 && static_cast<std::int32_t>(le(b, 22, 4)) > 0 && le(b, 26, 2) == 1
            && le(b, 28, 2) == 24 && le(b, 30, 4) == 0;
        stride = valid ? (le(b, 18, 4) * 3 + 3) / 4 * 4 : 0;
        if (!valid || le(b, 10, 4) + std::size_t(stride) * le(b, 22, 4) > b.size()) {
            ADD_FAILURE() << name << " is not a 24-bit bottom-up BMP that LoadImageW reads";
            return;
        }
        width = static_cast<int>(le(b, 18, 4));
        height = static_cast<int>(le(b, 22, 4));
    }

    Rgb at(int x, int y) const // y counted from the top
    {
        return le(bytes, le(bytes, 10, 4) + std::size_t(height - 1 - y) * stride + std::size_t(x) * 3, 3);
    }

    // Whether a pixel of the rectangle [x0,x1) x [y0,y1) is `colour`: all or any of them.
    bool has(int x0, int y0, int x1, int y1, Rgb colour, bool all) const
    {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if ((at(x, y) == colour) != all)
                    return !all;
        return all;
    }

    Bytes bytes;
    std::uint32_t stride = 0;
    int width = 0, height = 0;
};

struct Picture {
    std::string name;
    int width, height;
    std::optional<Rgb> key;
    bool page; // page pictures are loaded with LR_LOADMAP3DCOLORS
};

std::vector<Picture> allPictures()
{
    std::vector<Picture> list = {
        {"background_main.dat", 720, 480, {}, true},      {"background_step.dat", 720, 480, {}, true},
        {"background_box_1.dat", 466, 107, {}, true},     {"firstbg.dat", 183, 57, {}, true},
        {"secondbg.dat", 183, 57, {}, true},              {"partition_number_1.dat", 24, 34, Rgb{}, true},
        {"partition_number_2.dat", 24, 34, Rgb{}, true},  {"popup_warning.dat", 38, 38, 0xDFDFDF, true},
        {"c_drive_enabled.dat", 42, 30, magenta, true},   {"d_drive_enabled.dat", 42, 30, magenta, true},
        {"partition_green_start.dat", 10, 36, {}, true},  {"partition_green_mid.dat", 411, 36, {}, true},
        {"partition_green_end.dat", 10, 36, {}, true},    {"partition_violet_mid.dat", 411, 36, {}, true},
        {"partition_violet_end.dat", 10, 36, {}, true},   {"radioOFF.dat", 15, 15, magenta, false},
        {"radioON.dat", 15, 15, magenta, false},
    };
    for (const char* icon : {"backup", "recovery", "tool", "control", "search"})
        for (const char* state : {"normal", "rollover", "pressed"})
            list.push_back({std::string("main_icon_") + icon + "_" + state + ".dat", 137, 119, magenta, false});
    for (const char* set : {"ns", "nw"})
        for (const char* state : {"NN", "UP", "DN", "FF", "FU", "XX"})
            list.push_back({std::string("btn") + state + "." + set, 88, 25, magenta, false});
    return list;
}

// Each picture in its exact size with its key in the corners; page pictures
// avoid the greys that LR_LOADMAP3DCOLORS would turn into system colours.
TEST(ArtworkFiles, EveryPictureHasItsSizeItsKeyInTheCornersAndNoReplacedGrey)
{
    const auto pictures = allPictures();
    ASSERT_EQ(pictures.size(), 44u);
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.name);
        const Bmp bmp(p.name);
        ASSERT_EQ(bmp.width, p.width);
        ASSERT_EQ(bmp.height, p.height);
        const int w = p.width, h = p.height;
        if (p.key) {
            for (const auto& [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}})
                EXPECT_EQ(bmp.at(x, y), *p.key);
            EXPECT_NE(bmp.at(w / 2, h / 2), *p.key) << "nothing drawn in the middle";
        }
        // The warning sign's key is one of them, by design.
        for (const Rgb grey : {0x808080u, 0xC0C0C0u, 0xDFDFDFu})
            EXPECT_FALSE(p.page && p.key != grey && bmp.has(0, 0, w, h, grey, false)) << "contains " << std::hex << grey;
    }
}

// The buttons fill their rectangle with their background colour before the
// keyed picture goes on, so the page must have exactly that colour there.
TEST(ArtworkFiles, PagesHaveTheButtonColourWhereButtonsSit)
{
    struct Spot { const char* picture; int x, y, w, h; Rgb colour; };
    const Spot spots[] = {
        {"background_main.dat", 148, 158, 3 * 137 + 10, 119, pageGrey}, // main menu icons
        {"background_main.dat", 220, 158, 2 * 137 + 5, 119, pageGrey},  // tools page icons
        {"background_main.dat", 316, 436, 88, 25, pageGrey},            // tools page Back
        {"background_step.dat", 494, 436, 190, 25, pageGrey},           // Back and Next/Start
        {"background_step.dat", 578, 265, 88, 25, pageGrey},            // restore page Browse
        {"background_box_1.dat", 2, 2, 462, 103, panelGrey},            // Browse and radios inside frames
    };
    for (const auto& s : spots) {
        SCOPED_TRACE(std::string(s.picture) + " at " + std::to_string(s.x) + "," + std::to_string(s.y));
        const Bmp bmp(s.picture);
        const bool fits = bmp.width >= s.x + s.w && bmp.height >= s.y + s.h; // else a size failure above
        EXPECT_TRUE(!fits || bmp.has(s.x, s.y, s.x + s.w, s.y + s.h, s.colour, true));
    }
}

TEST(ArtworkFiles, IconHasFour32BitImagesOf16To250Pixels)
{
    const auto b = fileBytes(sourceFolder / "resources/quorvane.ico");
    ASSERT_GE(b.size(), 6u + 4 * 16);
    EXPECT_EQ(le(b, 0, 4), 0x10000u) << "not an icon resource";
    ASSERT_EQ(le(b, 4, 2), 4u);
    const std::uint32_t sizes[] = {16, 32, 48, 250};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        const std::size_t e = 6 + 16 * i;
        // Width and height bytes (0 would mean 256), 32 bits per pixel.
        EXPECT_TRUE(le(b, e, 1) == sizes[i] && le(b, e + 1, 1) == sizes[i] && le(b, e + 6, 2) == 32u);
        const std::uint32_t bytes = le(b, e + 8, 4), offset = le(b, e + 12, 4);
        ASSERT_LE(std::size_t(offset) + bytes, b.size());
        ASSERT_GE(bytes, 40u + 4u * sizes[i] * sizes[i]);
        // A DIB entry: 40-byte header, doubled height (image plus mask), 32 bpp.
        EXPECT_TRUE(le(b, offset, 4) == 40u && le(b, offset + 4, 4) == sizes[i]
                    && le(b, offset + 8, 4) == 2 * sizes[i] && le(b, offset + 14, 2) == 32u);
    }
}

} // namespace
