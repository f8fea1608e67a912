// The skin's data: which picture a button shows, how its caption is laid out,
// the font rule's height, the colour in force and the fonts a run makes. What
// the captions look like when drawn is seen by the Windows skin button tests.
#include "skin/ButtonLook.h"
#include "skin/DrawingSteps.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

ButtonState stateOf(int bits)
{
    return {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0};
}

TEST(ButtonLook, SlotForEveryCombinationOfDisabledPressedHoverFocus)
{
    using enum ButtonSlot;
    // Index bits: 1 disabled, 2 pressed, 4 hover, 8 focused.
    const ButtonSlot expected[16] = {normal,  disabled, pressed,      disabled, hover,        disabled, pressed, disabled,
                                     focused, disabled, pressed,      disabled, focusedHover, disabled, pressed, disabled};
    for (int bits = 0; bits < 16; ++bits)
        EXPECT_EQ(chooseSlot(stateOf(bits)), expected[bits]) << "state bits " << bits;
}

TEST(ButtonLook, CaptionRectangleColourAndFlagsPerMode)
{
    using enum SkinButtonMode;
    const unsigned pushFlags = textFlags::singleLine | textFlags::centre;
    const unsigned iconFlags = textFlags::centre | textFlags::wordBreak;
    EXPECT_EQ(captionLayout(push, 88, 25, {}), (CaptionLayout{{0, 5, 88, 25}, black, pushFlags}));
    EXPECT_EQ(captionLayout(push, 88, 25, stateOf(2 | 4)), (CaptionLayout{{0, 6, 88, 25}, black, pushFlags}));
    EXPECT_EQ(captionLayout(push, 88, 25, stateOf(1 | 4 | 8)).colour, 0xB4B4B4u); // disabled without a press
    EXPECT_EQ(captionLayout(SkinButtonMode::radio, 200, 17, stateOf(1 | 2 | 4 | 8)),
              (CaptionLayout{{20, 0, 200, 17}, black, textFlags::singleLine | textFlags::verticalCentre}));
    EXPECT_EQ(captionLayout(icon, 137, 119, {}), (CaptionLayout{{0, 93, 137, 119}, 0x646464, iconFlags}));
    EXPECT_EQ(captionLayout(icon, 137, 119, stateOf(2)), (CaptionLayout{{0, 95, 137, 119}, white, iconFlags}));
}

TEST(DrawingSteps, FontHeightRoundsLikeMulDiv)
{
    EXPECT_EQ(fontHeight(10, 96), -13);  // 13.33
    EXPECT_EQ(fontHeight(10, 120), -17); // 16.67
    EXPECT_EQ(fontHeight(3, 12), -1);    // 0.5 rounds away from zero
}

TEST(DrawingSteps, TheColourInForceAndEachFontMadeOnceInTheOrderOfFirstUse)
{
    const FontSpec a{10, 700};
    const FontSpec b{9, 700};
    const FontSpec figures{9, 700, FaceRule::arial};
    const DrawingSteps steps = {catalogueText(1, b, std::nullopt, {}), catalogueText(2, a, red, {}),
                                copyPicture(L"a.dat", 10, 10),         catalogueText(3, b, std::nullopt, {}),
                                catalogueText(4, figures, blue, {})};
    EXPECT_EQ(colourInForce(steps, 0, white), white); // nothing set yet: the device's colour
    EXPECT_EQ(colourInForce(steps, 3), red);          // a picture in between changes nothing
    EXPECT_EQ(colourInForce(steps, 4), blue);
    EXPECT_EQ(fontsInOrder(steps), (std::vector<FontSpec>{b, a, figures}));
}

} // namespace
} // namespace quorvane
