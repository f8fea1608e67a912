// Checks of a page's drawing steps: where a catalogue text is drawn, in which
// font and colour, and the order of the steps in one line of names.
#pragma once

#include "skin/DrawingSteps.h"
#include "skin/WizardLayout.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace quorvane::testing {

// Index of the text step that draws catalogue text `id`; -1 when there is none.
inline int indexOfText(const DrawingSteps& steps, int id)
{
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const auto* text = std::get_if<TextStep>(&steps[i]);
        if (text && std::holds_alternative<int>(text->text) && std::get<int>(text->text) == id)
            return static_cast<int>(i);
    }
    return -1;
}

inline const TextStep& textStep(const DrawingSteps& steps, int id)
{
    const int index = indexOfText(steps, id);
    EXPECT_GE(index, 0) << "text " << id << " is not drawn";
    static const TextStep none;
    return index < 0 ? none : std::get<TextStep>(steps[static_cast<std::size_t>(index)]);
}

inline Colour colourOf(const DrawingSteps& steps, int id)
{
    return colourInForce(steps, static_cast<std::size_t>(indexOfText(steps, id)));
}

// Text `id` is drawn in `rect` and `font`, in `colour`.
inline void expectText(const DrawingSteps& steps, int id, PixelRect rect, FontSpec font, Colour colour)
{
    SCOPED_TRACE("text " + std::to_string(id));
    ASSERT_GE(indexOfText(steps, id), 0) << "not drawn";
    EXPECT_EQ(textStep(steps, id).rect, rect);
    EXPECT_EQ(textStep(steps, id).font, font);
    EXPECT_EQ(colourOf(steps, id), colour);
}

// A wizard's step panel in one language: the first page shows step 1 as the
// current step, the confirm page step 2; the others are in their own size.
struct StepPanel {
    const wchar_t* code;
    int firstPoints, firstLeft, firstTop; // the first page's current step
    int otherPoints, otherLeft, bottom;   // the other steps, and where step 3 ends
    int confirmTop, confirmPoints;        // step 1's top and step 2's size on the confirm page
};

// The step texts of both pages (the ids of steps 1 to 3 on each, and of the
// second lines of steps 1 and 3), the current one in white, the one before it
// in grey. English names steps 1 and 3 over two lines.
inline void expectStepPanels(const StepPanel& p, const DrawingSteps& first, std::array<int, 3> firstIds,
                             const DrawingSteps& confirm, std::array<int, 3> confirmIds, std::array<int, 2> secondLines)
{
    SCOPED_TRACE(narrow(p.code));
    const FontSpec current{p.firstPoints, 700}, other{p.otherPoints, 700};
    expectText(first, firstIds[0], {p.firstLeft, p.firstTop, 183, 208}, current, white);
    expectText(first, firstIds[1], {p.otherLeft, 207, 183, 270}, other, white);
    expectText(first, firstIds[2], {p.otherLeft, 270, 183, p.bottom}, other, white);
    expectText(confirm, confirmIds[0], {p.otherLeft, p.confirmTop, 183, 207}, other, otherStepGrey);
    expectText(confirm, confirmIds[1], {39, 208, 183, 271}, {p.confirmPoints, 700}, white);
    expectText(confirm, confirmIds[2], {p.otherLeft, 270, 183, p.bottom}, other, white);
    const bool english = p.code == std::wstring(L"409");
    for (const DrawingSteps* steps : {&first, &confirm})
        for (int id : secondLines)
            EXPECT_EQ(indexOfText(*steps, id) >= 0, english) << "second line " << id;
    if (english) {
        expectText(first, secondLines[0], {39, 163, 183, 208}, current, white);
        expectText(first, secondLines[1], {51, 288, 183, 333}, other, white);
        expectText(confirm, secondLines[0], {51, 162, 183, 207}, other, otherStepGrey);
        expectText(confirm, secondLines[1], {51, 288, 183, 333}, other, white);
    }
}

// The order of the steps as picture names and text ids ("17", "background_step.dat").
inline std::vector<std::string> outline(const DrawingSteps& steps)
{
    std::vector<std::string> names;
    for (const DrawingStep& step : steps) {
        if (const auto* picture = std::get_if<PictureStep>(&step))
            names.push_back(narrow(picture->picture));
        else if (const auto* text = std::get_if<TextStep>(&step))
            names.push_back(std::holds_alternative<int>(text->text) ? std::to_string(std::get<int>(text->text))
                                                                     : "\"" + narrow(std::get<std::wstring>(text->text)) + "\"");
    }
    return names;
}

} // namespace quorvane::testing
