// Which picture a skin button shows and how its caption is laid out.
#include "skin/ButtonLook.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(ButtonLook, SlotChoiceFollowsItsOrderForEveryCombination)
{
    for (int bits = 0; bits < 16; ++bits) {
        const ButtonState state{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0};
        SCOPED_TRACE(::testing::Message() << "disabled " << state.disabled << " pressed " << state.pressed
                                          << " hover " << state.hover << " focused " << state.focused);
        ButtonSlot expected = ButtonSlot::normal;
        if (state.disabled)
            expected = ButtonSlot::disabled;
        else if (state.pressed)
            expected = ButtonSlot::pressed;
        else if (state.hover)
            expected = state.focused ? ButtonSlot::focusedHover : ButtonSlot::hover;
        else if (state.focused)
            expected = ButtonSlot::focused;
        EXPECT_EQ(chooseSlot(state), expected);
    }
    // The cases people get wrong: disabled beats pressed and hover, pressed beats hover.
    EXPECT_EQ(chooseSlot({true, true, true, true}), ButtonSlot::disabled);
    EXPECT_EQ(chooseSlot({false, true, true, false}), ButtonSlot::pressed);
}

TEST(ButtonLook, PushCaptionIsCentredOneLineAndGreyWhenDisabled)
{
    const unsigned flags = textFlags::singleLine | textFlags::centre;
    EXPECT_EQ(captionLayout(SkinButtonMode::push, 88, 25, {}), (CaptionLayout{{0, 5, 88, 25}, black, flags}));
    EXPECT_EQ(captionLayout(SkinButtonMode::push, 88, 25, {false, true, true, false}),
              (CaptionLayout{{0, 6, 88, 25}, black, flags}));
    for (const ButtonState disabled : {ButtonState{true, false, false, false}, ButtonState{true, false, true, true},
                                       ButtonState{true, true, true, false}})
        EXPECT_EQ(captionLayout(SkinButtonMode::push, 88, 25, disabled).colour, 0xB4B4B4u);
}

TEST(ButtonLook, RadioCaptionSitsRightOfThePictureInBlackWhateverTheState)
{
    for (int bits = 0; bits < 16; ++bits) {
        const ButtonState state{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0, (bits & 8) != 0};
        EXPECT_EQ(captionLayout(SkinButtonMode::radio, 200, 17, state),
                  (CaptionLayout{{20, 0, 200, 17}, black, textFlags::singleLine | textFlags::verticalCentre}));
    }
}

TEST(ButtonLook, IconCaptionIsWhiteWhenLitAndTwoPixelsLowerWhenPressed)
{
    const unsigned flags = textFlags::centre | textFlags::wordBreak;
    EXPECT_EQ(captionLayout(SkinButtonMode::icon, 137, 119, {}), (CaptionLayout{{0, 93, 137, 119}, 0x646464, flags}));
    EXPECT_EQ(captionLayout(SkinButtonMode::icon, 137, 119, {false, false, false, true}).colour, 0x646464u);
    EXPECT_EQ(captionLayout(SkinButtonMode::icon, 137, 119, {false, false, true, false}),
              (CaptionLayout{{0, 93, 137, 119}, white, flags}));
    EXPECT_EQ(captionLayout(SkinButtonMode::icon, 137, 119, {false, true, false, false}),
              (CaptionLayout{{0, 95, 137, 119}, white, flags}));
}

TEST(ButtonLook, PictureSourceIsTheButtonOrTheRadioSquare)
{
    EXPECT_EQ(pictureSource(SkinButtonMode::push, 88, 25), (PixelRect{0, 0, 88, 25}));
    EXPECT_EQ(pictureSource(SkinButtonMode::icon, 137, 119), (PixelRect{0, 0, 137, 119}));
    EXPECT_EQ(pictureSource(SkinButtonMode::radio, 200, 17), (PixelRect{0, 0, 15, 15}));
}

TEST(ButtonLook, SlotFilesFollowTheSlotTable)
{
    EXPECT_EQ(pushSlotFiles(L"nw"),
              (SlotFiles{L"btnNN.nw", L"btnUP.nw", L"btnDN.nw", L"btnFF.nw", L"btnFU.nw", L"btnXX.nw"}));
    // Focus shows the resting picture; disabled too, as icons have no own one.
    EXPECT_EQ(iconSlotFiles(L"n", L"h", L"p"), (SlotFiles{L"n", L"h", L"p", L"n", L"h", L"n"}));
    // A chosen option is marked by disabling its button.
    const SlotFiles radio = radioSlotFiles();
    EXPECT_EQ(radio[static_cast<int>(ButtonSlot::disabled)], L"radioON.dat");
    for (int slot = 0; slot < 5; ++slot)
        EXPECT_EQ(radio[slot], L"radioOFF.dat");
}

} // namespace
} // namespace quorvane
