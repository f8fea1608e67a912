// What the four wizard pages share in their layout: the background, the places
// of Back and Next (or Start), the right edge of the content, the step panel's
// colours, and the language tests their per-language rules are made of.
#pragma once

#include "skin/DrawingSteps.h"

#include <initializer_list>
#include <string_view>

namespace quorvane {

inline constexpr PixelRect backButtonPlace{494, 436, 582, 461};    // Back
inline constexpr PixelRect forwardButtonPlace{596, 436, 684, 461}; // Next, and Start
// The right edge of the texts of the content area.
inline constexpr int contentRight = 678;
// The step panel's text colour for the steps before the current one.
inline constexpr Colour otherStepGrey = 0xAAAAC8;

// The wizard pages' background, 720 x 480.
PictureStep wizardBackground();

// An exact, case-sensitive comparison with each code in turn.
bool isOneOf(std::wstring_view code, std::initializer_list<std::wstring_view> codes);

// English and Danish name steps 1 and 3 over two texts, a first and a second
// line; every other language names each step in one text.
bool hasSecondStepLines(std::wstring_view code);

} // namespace quorvane
