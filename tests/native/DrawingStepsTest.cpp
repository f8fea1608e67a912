// The drawing-step data: the font rule's height, the colour in force and the
// fonts a run makes.
#include "skin/DrawingSteps.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(DrawingSteps, FontHeightRoundsLikeMulDiv)
{
    EXPECT_EQ(fontHeight(10, 96), -13);  // 13.33
    EXPECT_EQ(fontHeight(10, 120), -17); // 16.67
    EXPECT_EQ(fontHeight(9, 96), -12);
    EXPECT_EQ(fontHeight(3, 12), -1);    // 0.5 rounds away from zero
}

TEST(DrawingSteps, AColourStaysInForceUntilAStepSetsAnother)
{
    const FontSpec bold{10, 700};
    const DrawingSteps steps = {
        catalogueText(1, bold, std::nullopt, {}), catalogueText(2, bold, red, {}), copyPicture(L"a.dat", 10, 10),
        catalogueText(3, bold, std::nullopt, {}), catalogueText(4, bold, blue, {}),
    };
    EXPECT_EQ(colourInForce(steps, 0, white), white); // nothing set yet: the device's colour
    EXPECT_EQ(colourInForce(steps, 3), red);          // a picture in between changes nothing
    EXPECT_EQ(colourInForce(steps, 4), blue);
}

TEST(DrawingSteps, EachFontIsMadeOnceInTheOrderOfFirstUse)
{
    const FontSpec a{10, 700};
    const FontSpec b{9, 700};
    const FontSpec figures{9, 700, FaceRule::arial};
    const DrawingSteps steps = {catalogueText(1, b, black, {}), catalogueText(2, a, black, {}),
                                catalogueText(3, b, black, {}), catalogueText(4, figures, black, {})};
    EXPECT_EQ(fontsInOrder(steps), (std::vector<FontSpec>{b, a, figures}));
}

} // namespace
} // namespace quorvane
