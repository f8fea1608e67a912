// Checks of a page's drawing steps: where a catalogue text is drawn, in which
// font and colour, and the order of the steps in one line of names.
#pragma once

#include "skin/DrawingSteps.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvane::testing {

// The languages with a row of their own, then codes that have none.
inline const std::vector<std::wstring> allCodes = {L"409", L"416", L"406", L"407", L"c0a", L"41d", L"40b", L"40c",
                                                   L"410", L"414", L"816", L"41f", L"804", L"404", L"408", L"415",
                                                   L"419", L"412", L"c04", L"C0A", L"0409", L""};

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
