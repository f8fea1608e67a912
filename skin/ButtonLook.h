// How a skin button looks in a given state: which of its six pictures it shows
// and where and in which colour its caption goes. No Windows here, so the rules
// are checked natively; SkinButton applies them.
#pragma once

#include "skin/DrawingSteps.h"

#include <array>
#include <string>

namespace quorvane {

enum class SkinButtonMode { push = 0, radio = 1, icon = 2 };

// The six picture slots, in the order the button keeps them.
enum class ButtonSlot { normal = 0, hover = 1, pressed = 2, focused = 3, focusedHover = 4, disabled = 5 };
inline constexpr int buttonSlotCount = 6;

struct ButtonState {
    bool disabled = false;
    bool pressed = false;
    bool hover = false;
    bool focused = false; // holds the keyboard focus while the keyboard is in use
};

// First match wins: disabled, pressed, hover with focus, hover, focus, normal.
ButtonSlot chooseSlot(const ButtonState& state);

struct CaptionLayout {
    PixelRect rect;
    Colour colour = black;
    unsigned flags = 0;
    bool operator==(const CaptionLayout&) const = default;
};

// The caption of a button of width x height pixels.
CaptionLayout captionLayout(SkinButtonMode mode, int width, int height, const ButtonState& state);

// The part of the chosen picture that is copied to the button's top-left
// corner: the button's size, a radio picture's 15 x 15.
PixelRect pictureSource(SkinButtonMode mode, int width, int height);

using SlotFiles = std::array<std::wstring, buttonSlotCount>;

// Which file each slot gets, in slot order.
SlotFiles iconSlotFiles(const std::wstring& normal, const std::wstring& hover, const std::wstring& pressed);
SlotFiles radioSlotFiles();
// The six push-button pictures of a set: L"ns" for btnNN.ns and so on.
SlotFiles pushSlotFiles(const std::wstring& set);

} // namespace quorvane
