#include "skin/ButtonLook.h"

namespace quorvane {

namespace {

constexpr Colour disabledPushText = 0xB4B4B4;
constexpr Colour restingIconText = 0x646464;
constexpr int radioPictureSize = 15;
constexpr int radioCaptionLeft = 20;

} // namespace

ButtonSlot chooseSlot(const ButtonState& state)
{
    if (state.disabled)
        return ButtonSlot::disabled;
    if (state.pressed)
        return ButtonSlot::pressed;
    if (state.hover && state.focused)
        return ButtonSlot::focusedHover;
    if (state.hover)
        return ButtonSlot::hover;
    if (state.focused)
        return ButtonSlot::focused;
    return ButtonSlot::normal;
}

CaptionLayout captionLayout(SkinButtonMode mode, int width, int height, const ButtonState& state)
{
    switch (mode) {
    case SkinButtonMode::push:
        // A pressed caption sits one pixel lower.
        return {{0, state.pressed ? 6 : 5, width, height},
                state.disabled ? disabledPushText : black,
                textFlags::singleLine | textFlags::centre};
    case SkinButtonMode::radio:
        return {{radioCaptionLeft, 0, width, height}, black, textFlags::singleLine | textFlags::verticalCentre};
    case SkinButtonMode::icon:
        // Under the picture, two pixels lower while pressed.
        return {{0, state.pressed ? 95 : 93, width, height},
                state.pressed || state.hover ? white : restingIconText,
                textFlags::centre | textFlags::wordBreak};
    }
    return {};
}

PixelRect pictureSource(SkinButtonMode mode, int width, int height)
{
    if (mode == SkinButtonMode::radio)
        return {0, 0, radioPictureSize, radioPictureSize};
    return {0, 0, width, height};
}

SlotFiles iconSlotFiles(const std::wstring& normal, const std::wstring& hover, const std::wstring& pressed)
{
    return {normal, hover, pressed, normal, hover, normal};
}

SlotFiles radioSlotFiles()
{
    const std::wstring off = L"radioOFF.dat";
    return {off, off, off, off, off, L"radioON.dat"};
}

SlotFiles pushSlotFiles(const std::wstring& set)
{
    SlotFiles files;
    const wchar_t* const states[buttonSlotCount] = {L"NN", L"UP", L"DN", L"FF", L"FU", L"XX"};
    for (int slot = 0; slot < buttonSlotCount; ++slot)
        files[slot] = std::wstring(L"btn") + states[slot] + L"." + set;
    return files;
}

} // namespace quorvane
