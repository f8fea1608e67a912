// Which picture a skin button shows and how its caption is laid out.
#include "skin/ButtonLook.h"

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

TEST(ButtonLook, CaptionRectangleColourAndFlagsPerModeAndState)
{
    using enum SkinButtonMode;
    const unsigned pushFlags = textFlags::singleLine | textFlags::centre;
    const unsigned iconFlags = textFlags::centre | textFlags::wordBreak;
    EXPECT_EQ(captionLayout(push, 88, 25, {}), (CaptionLayout{{0, 5, 88, 25}, black, pushFlags}));
    EXPECT_EQ(captionLayout(push, 88, 25, stateOf(2 | 4)), (CaptionLayout{{0, 6, 88, 25}, black, pushFlags}));
    // Disabled is grey whatever else holds.
    EXPECT_EQ(captionLayout(push, 88, 25, stateOf(1 | 4 | 8)).colour, 0xB4B4B4u);
    EXPECT_EQ(captionLayout(push, 88, 25, stateOf(1 | 2 | 4)).colour, 0xB4B4B4u);

    const CaptionLayout radioCaption{{20, 0, 200, 17}, black, textFlags::singleLine | textFlags::verticalCentre};
    EXPECT_EQ(captionLayout(SkinButtonMode::radio, 200, 17, {}), radioCaption);
    EXPECT_EQ(captionLayout(SkinButtonMode::radio, 200, 17, stateOf(1 | 2 | 4 | 8)), radioCaption);

    EXPECT_EQ(captionLayout(icon, 137, 119, {}), (CaptionLayout{{0, 93, 137, 119}, 0x646464, iconFlags}));
    EXPECT_EQ(captionLayout(icon, 137, 119, stateOf(8)).colour, 0x646464u);
    EXPECT_EQ(captionLayout(icon, 137, 119, stateOf(4)), (CaptionLayout{{0, 93, 137, 119}, white, iconFlags}));
    EXPECT_EQ(captionLayout(icon, 137, 119, stateOf(2)), (CaptionLayout{{0, 95, 137, 119}, white, iconFlags}));
}

TEST(ButtonLook, PicturesPerSlotAndTheRadioSquare)
{
    EXPECT_EQ(pushSlotFiles(L"nw"),
              (SlotFiles{L"btnNN.nw", L"btnUP.nw", L"btnDN.nw", L"btnFF.nw", L"btnFU.nw", L"btnXX.nw"}));
    EXPECT_EQ(iconSlotFiles(L"n", L"h", L"p"), (SlotFiles{L"n", L"h", L"p", L"n", L"h", L"n"}));
    // A chosen option is marked by disabling its button.
    const std::wstring off = L"radioOFF.dat";
    EXPECT_EQ(radioSlotFiles(), (SlotFiles{off, off, off, off, off, L"radioON.dat"}));
    EXPECT_EQ(pictureSource(SkinButtonMode::radio, 200, 17), (PixelRect{0, 0, 15, 15}));
    EXPECT_EQ(pictureSource(SkinButtonMode::icon, 137, 119), (PixelRect{0, 0, 137, 119}));
}

} // namespace
} // namespace quorvane
