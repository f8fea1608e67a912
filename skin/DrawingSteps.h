// A page's painting as data: the ordered steps the skin layer runs on a device
// context. Kept free of Windows so that what a page draws, in every language,
// can be checked anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quorvane {

// 0x00BBGGRR, as the graphics calls take it: the lowest byte is red.
using Colour = std::uint32_t;
inline constexpr Colour black = 0x000000;
inline constexpr Colour white = 0xFFFFFF;
inline constexpr Colour blue = 0xFF0000;
inline constexpr Colour red = 0x0000FF;
inline constexpr Colour magenta = 0xFF00FF;
inline constexpr Colour buttonGrey = 0xDCDCDC;

// Left, top, right, bottom in page pixels.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const PixelRect&) const = default;
};

enum class PictureCopy {
    plain,           // 1:1, opaque
    halftoneStretch, // scaled from the source to the destination rectangle
    colourKeyed,     // 1:1; pixels of the key colour are left out
};

struct PictureStep {
    std::wstring picture; // the skin file the page loaded, such as L"background_main.dat"
    PictureCopy copy = PictureCopy::plain;
    PixelRect source;
    PixelRect destination;
    Colour key = 0; // colourKeyed only
    bool operator==(const PictureStep&) const = default;
};

enum class FaceRule {
    catalogue, // the face named by catalogue text 0
    arial,     // the fixed face of the figure font
};

struct FontSpec {
    int points = 10;
    int weight = 700; // 400 normal, 700 bold, 0 the font mapper's choice
    FaceRule face = FaceRule::catalogue;
    bool operator==(const FontSpec&) const = default;
};

// Text layout flags, with the values the text drawing call gives them.
namespace textFlags {
inline constexpr unsigned centre = 0x01;
inline constexpr unsigned right = 0x02;
inline constexpr unsigned verticalCentre = 0x04;
inline constexpr unsigned wordBreak = 0x10;
inline constexpr unsigned singleLine = 0x20;
} // namespace textFlags

struct TextStep {
    std::variant<int, std::wstring> text; // a catalogue id, or the text itself
    FontSpec font;
    // Unset: the colour set by the last step that set one stays in force.
    std::optional<Colour> colour;
    PixelRect rect;
    unsigned flags = textFlags::wordBreak;
    bool operator==(const TextStep&) const = default;
};

using DrawingStep = std::variant<PictureStep, TextStep>;
using DrawingSteps = std::vector<DrawingStep>;

// The whole of a picture of this size, copied to (x, y).
PictureStep copyPicture(std::wstring picture, int width, int height, int x = 0, int y = 0);
PictureStep stretchPicture(std::wstring picture, PixelRect source, PixelRect destination);
PictureStep keyedPicture(std::wstring picture, PixelRect source, int x, int y, Colour key);
TextStep catalogueText(int id, FontSpec font, std::optional<Colour> colour, PixelRect rect);

// The fonts of the steps, each once, in the order of first use.
std::vector<FontSpec> fontsInOrder(const DrawingSteps& steps);

// The colour the text step at `index` is drawn in, when the device starts with
// `initial`.
Colour colourInForce(const DrawingSteps& steps, std::size_t index, Colour initial = black);

// The font height of the font rule: minus points * dots per inch / 72, rounded
// to the nearest pixel as MulDiv rounds (a negative height selects the
// character height).
int fontHeight(int points, int dotsPerInch);

} // namespace quorvane
