// Checks the committed artwork: every picture the program loads from its Data
// is a BMP that LoadImageW reads, in its exact size, with its colour key where
// one is used, and the places where the program paints buttons over a
// picture are in the colour the buttons fill themselves with. Also checks the
// program icon's directory.

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using quorvane::testing::fileBytes;

const std::filesystem::path sourceFolder = QUORVANE_SOURCE_DIR;

std::uint32_t le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b.at(at + i);
    return v;
}

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Rgb& c) {
    return os << "RGB(" << c.r << "," << c.g << "," << c.b << ")";
}

constexpr Rgb kMagenta{255, 0, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWarningKey{223, 223, 223};
constexpr Rgb kPageGrey{220, 220, 220};   // 0xDCDCDC: push and icon button background
constexpr Rgb kPanelGrey{246, 246, 246};  // 0xF6F6F6: browse and radio button background

// A BMP as LoadImageW(LR_LOADFROMFILE) wants it: BITMAPFILEHEADER, a 40-byte
// BITMAPINFOHEADER, 24 bits per pixel, BI_RGB, bottom-up rows padded to 4 bytes.
class Bmp {
public:
    // Nothing unless the file is such a BMP.
    static std::optional<Bmp> load(const std::string& name) {
        Bmp bmp;
        bmp.bytes_ = fileBytes(sourceFolder / "resources/Data" / name);
        const auto& b = bmp.bytes_;
        if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || le(b, 2, 4) != b.size() || le(b, 14, 4) != 40
            || static_cast<std::int32_t>(le(b, 22, 4)) <= 0 || le(b, 26, 2) != 1 || le(b, 28, 2) != 24
            || le(b, 30, 4) != 0)
            return std::nullopt;
        bmp.width_ = static_cast<int>(le(b, 18, 4));
        bmp.height_ = static_cast<int>(le(b, 22, 4));
        bmp.offset_ = le(b, 10, 4);
        bmp.stride_ = (bmp.width_ * 3 + 3) / 4 * 4;
        if (bmp.offset_ + std::size_t(bmp.stride_) * bmp.height_ > b.size()) return std::nullopt;
        return bmp;
    }

    int width() const { return width_; }
    int height() const { return height_; }

    Rgb at(int x, int y) const {  // y counted from the top
        const std::size_t p = offset_ + std::size_t(height_ - 1 - y) * stride_ + std::size_t(x) * 3;
        return {bytes_[p + 2], bytes_[p + 1], bytes_[p]};
    }

    // True when every pixel of the rectangle [x0,x1) x [y0,y1) passes the test.
    template <class Test>
    bool all(int x0, int y0, int x1, int y1, Test test) const {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (!test(at(x, y))) return false;
        return true;
    }
    bool allOf(int x0, int y0, int x1, int y1, Rgb c) const {
        return all(x0, y0, x1, y1, [&](Rgb p) { return p == c; });
    }

private:
    std::vector<std::uint8_t> bytes_;
    int width_ = 0, height_ = 0, stride_ = 0;
    std::size_t offset_ = 0;
};

Bmp mustLoad(const std::string& name) {
    auto bmp = Bmp::load(name);
    if (!bmp) ADD_FAILURE() << name << " is not a 24-bit bottom-up BMP that LoadImageW reads";
    return bmp ? *bmp : Bmp{};
}

enum class Loaded { Page, Button };  // Page pictures get LR_LOADMAP3DCOLORS

struct Picture {
    std::string name;
    int width, height;
    std::optional<Rgb> key;
    Loaded loaded;
};

const char* const kIcons[] = {"backup", "recovery", "tool", "control", "search"};

std::vector<Picture> allPictures() {
    std::vector<Picture> list = {
        {"background_main.dat", 720, 480, {}, Loaded::Page},
        {"background_step.dat", 720, 480, {}, Loaded::Page},
        {"background_box_1.dat", 466, 107, {}, Loaded::Page},
        {"firstbg.dat", 183, 57, {}, Loaded::Page},
        {"secondbg.dat", 183, 57, {}, Loaded::Page},
        {"partition_number_1.dat", 24, 34, kBlack, Loaded::Page},
        {"partition_number_2.dat", 24, 34, kBlack, Loaded::Page},
        {"popup_warning.dat", 38, 38, kWarningKey, Loaded::Page},
        {"c_drive_enabled.dat", 42, 30, kMagenta, Loaded::Page},
        {"d_drive_enabled.dat", 42, 30, kMagenta, Loaded::Page},
        {"partition_green_start.dat", 10, 36, {}, Loaded::Page},
        {"partition_green_mid.dat", 411, 36, {}, Loaded::Page},
        {"partition_green_end.dat", 10, 36, {}, Loaded::Page},
        {"partition_violet_mid.dat", 411, 36, {}, Loaded::Page},
        {"partition_violet_end.dat", 10, 36, {}, Loaded::Page},
        {"radioOFF.dat", 15, 15, kMagenta, Loaded::Button},
        {"radioON.dat", 15, 15, kMagenta, Loaded::Button},
    };
    for (const char* icon : kIcons)
        for (const char* state : {"normal", "rollover", "pressed"})
            list.push_back({std::string("main_icon_") + icon + "_" + state + ".dat", 137, 119, kMagenta,
                            Loaded::Button});
    for (const char* set : {"ns", "nw"})
        for (const char* state : {"NN", "UP", "DN", "FF", "FU", "XX"})
            list.push_back({std::string("btn") + state + "." + set, 88, 25, kMagenta, Loaded::Button});
    return list;
}

TEST(ArtworkFiles, EveryPictureHasItsExactSizeAndItsKeyInTheCorners) {
    const auto pictures = allPictures();
    ASSERT_EQ(pictures.size(), 44u);
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.name);
        const Bmp bmp = mustLoad(p.name);
        ASSERT_EQ(bmp.width(), p.width);
        ASSERT_EQ(bmp.height(), p.height);
        if (!p.key) continue;
        const int w = p.width, h = p.height;
        for (const auto& [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}})
            EXPECT_EQ(bmp.at(x, y), *p.key);
        EXPECT_NE(bmp.at(w / 2, h / 2), *p.key) << "nothing drawn in the middle";
    }
}

// LR_LOADMAP3DCOLORS would turn these greys into system colours.
TEST(ArtworkFiles, PagePicturesAvoidTheGreysTheLoaderReplaces) {
    const Rgb replaced[] = {{128, 128, 128}, {192, 192, 192}, {223, 223, 223}};
    for (const auto& p : allPictures()) {
        if (p.loaded != Loaded::Page) continue;
        SCOPED_TRACE(p.name);
        const Bmp bmp = mustLoad(p.name);
        for (const Rgb grey : replaced) {
            if (p.key && *p.key == grey) continue;  // the warning sign's key, by design
            EXPECT_TRUE(bmp.all(0, 0, bmp.width(), bmp.height(), [&](Rgb c) { return !(c == grey); }))
                << "contains " << grey;
        }
    }
}

// The buttons fill their rectangle with their background colour before the
// keyed picture goes on, so the page must have exactly that colour there.
TEST(ArtworkFiles, PagesHaveTheButtonColourWhereButtonsSit) {
    struct Spot { const char* picture; int x, y, w, h; Rgb colour; };
    const Spot spots[] = {
        {"background_main.dat", 148, 158, 3 * 137 + 10, 119, kPageGrey},  // main menu icons
        {"background_main.dat", 220, 158, 2 * 137 + 5, 119, kPageGrey},   // tools page icons
        {"background_main.dat", 316, 436, 88, 25, kPageGrey},             // tools page Back
        {"background_step.dat", 494, 436, 190, 25, kPageGrey},            // Back and Next/Start
        {"background_step.dat", 578, 265, 88, 25, kPageGrey},             // restore page Browse
        {"background_box_1.dat", 2, 2, 462, 103, kPanelGrey},             // Browse and radios inside frames
    };
    for (const auto& s : spots) {
        SCOPED_TRACE(std::string(s.picture) + " at " + std::to_string(s.x) + "," + std::to_string(s.y));
        const Bmp bmp = mustLoad(s.picture);
        if (bmp.width() < s.x + s.w || bmp.height() < s.y + s.h) continue;
        EXPECT_TRUE(bmp.allOf(s.x, s.y, s.x + s.w, s.y + s.h, s.colour));
    }
}

TEST(ArtworkFiles, IconHasFour32BitImagesOf16To250Pixels) {
    const auto b = fileBytes(sourceFolder / "resources/quorvane.ico");
    ASSERT_GE(b.size(), 6u + 4 * 16);
    EXPECT_EQ(le(b, 0, 4), 0x10000u) << "not an icon resource";
    ASSERT_EQ(le(b, 4, 2), 4u);
    const std::uint32_t sizes[] = {16, 32, 48, 250};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        const std::size_t e = 6 + 16 * i;
        EXPECT_EQ(le(b, e, 1), sizes[i]);  // width byte; 0 would mean 256
        EXPECT_EQ(le(b, e + 1, 1), sizes[i]);
        EXPECT_EQ(le(b, e + 6, 2), 32u);  // bits per pixel
        const std::uint32_t bytes = le(b, e + 8, 4), offset = le(b, e + 12, 4);
        ASSERT_LE(std::size_t(offset) + bytes, b.size());
        ASSERT_GE(bytes, 40u + 4u * sizes[i] * sizes[i]);
        // a DIB entry: 40-byte header, doubled height (image plus mask), 32 bpp
        EXPECT_EQ(le(b, offset, 4), 40u);
        EXPECT_EQ(le(b, offset + 4, 4), sizes[i]);
        EXPECT_EQ(le(b, offset + 8, 4), 2 * sizes[i]);
        EXPECT_EQ(le(b, offset + 14, 2), 32u);
    }
}

}  // namespace
