// The drawing-step data: the font rule's height, the colour in force and the
// fonts a run makes.
#include "skin/DrawingSteps.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(DrawingSteps, FontHeightRoundsLikeMulDivAndSelectsTheCharacterHeight)
{
    EXPECT_EQ(fontHeight(10, 96), -13); // 13.33
    EXPECT_EQ(fontHeight(10, 120), -17); // 16.67
    EXPECT_EQ(fontHeight(9, 96), -12);   // exactly 12
    EXPECT_EQ(fontHeight(8, 96), -11);   // 10.67
    EXPECT_EQ(fontHeight(3, 12), -1);    // 0.5 rounds away from zero
    EXPECT_EQ(fontHeight(0, 96), 0);
}

TEST(DrawingSteps, AColourStaysInForceUntilAStepSetsAnother)
{
    const FontSpec bold{10, 700};
    const DrawingSteps steps = {
        copyPicture(L"background_main.dat", 720, 480),
        catalogueText(1, bold, std::nullopt, {0, 0, 10, 10}),
        catalogueText(2, bold, red, {0, 0, 10, 10}),
        copyPicture(L"other.dat", 10, 10),
        catalogueText(3, bold, std::nullopt, {0, 0, 10, 10}),
        catalogueText(4, bold, blue, {0, 0, 10, 10}),
    };
    EXPECT_EQ(colourInForce(steps, 1, white), white); // nothing set yet: the device's colour
    EXPECT_EQ(colourInForce(steps, 2), red);
    EXPECT_EQ(colourInForce(steps, 4), red); // a picture in between changes nothing
    EXPECT_EQ(colourInForce(steps, 5), blue);
}

TEST(DrawingSteps, EachFontIsMadeOnceInTheOrderOfFirstUse)
{
    const FontSpec a{10, 700};
    const FontSpec b{9, 700};
    const FontSpec figures{9, 700, FaceRule::arial};
    const DrawingSteps steps = {
        catalogueText(1, b, black, {}), catalogueText(2, a, black, {}), catalogueText(3, b, black, {}),
        catalogueText(4, figures, black, {}), copyPicture(L"x.dat", 1, 1),
    };
    EXPECT_EQ(fontsInOrder(steps), (std::vector<FontSpec>{b, a, figures}));
    EXPECT_TRUE(fontsInOrder({copyPicture(L"x.dat", 1, 1)}).empty());
}

TEST(DrawingSteps, PictureHelpersGiveSourceAndDestination)
{
    const PictureStep copy = copyPicture(L"firstbg.dat", 183, 57, 0, 100);
    EXPECT_EQ(copy.source, (PixelRect{0, 0, 183, 57}));
    EXPECT_EQ(copy.destination, (PixelRect{0, 100, 183, 157}));
    EXPECT_EQ(copy.copy, PictureCopy::plain);
    const PictureStep keyed = keyedPicture(L"popup_warning.dat", {0, 0, 38, 38}, 220, 300, 0xDFDFDF);
    EXPECT_EQ(keyed.destination, (PixelRect{220, 300, 258, 338}));
    EXPECT_EQ(keyed.key, 0xDFDFDFu);
    EXPECT_EQ(catalogueText(7, {}, std::nullopt, {}).flags, textFlags::wordBreak);
}

} // namespace
} // namespace quorvane
