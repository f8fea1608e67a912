// The main menu and tools pages as data: what they paint for each hover index
// and language, their caption sizes per language, and the hit test.
#include "menu/MenuLayout.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

const FontSpec fontA{10, 700};
const FontSpec fontB{9, 700};
const PictureStep background = copyPicture(L"background_main.dat", 720, 480);

TEST(MenuPainting, DescriptionPerHoverIndexAndLanguage)
{
    const PixelRect area{125, 332, 594, 440};
    for (const std::wstring code : {L"409", L"C0A", L"", L"408"}) {
        // Greek moves the Restore blocks down, and only those.
        const bool greek = code == L"408";
        const int split = greek ? 386 : 368;
        EXPECT_EQ(mainMenuSteps(1, code), (DrawingSteps{background, catalogueText(1, fontA, black, area)}));
        EXPECT_EQ(mainMenuSteps(2, code), (DrawingSteps{background, catalogueText(2, fontB, black, {125, 332, 594, split}),
                                                        catalogueText(3, fontA, red, {125, split, 594, greek ? 480 : 440})}));
        EXPECT_EQ(mainMenuSteps(3, code), (DrawingSteps{background, catalogueText(4, fontA, black, area)}));
        EXPECT_EQ(mainMenuSteps(0, code), (DrawingSteps{background}));
        EXPECT_EQ(mainMenuSteps(4, code), (DrawingSteps{background}));
    }
    EXPECT_EQ(toolsPageSteps(1), (DrawingSteps{background, catalogueText(5, fontA, black, area)}));
    EXPECT_EQ(toolsPageSteps(2), (DrawingSteps{background, catalogueText(6, fontA, black, area)}));
    EXPECT_EQ(toolsPageSteps(3), (DrawingSteps{background}));
}

CaptionFont fontOf(const std::vector<MenuButton>& buttons, int controlId)
{
    for (const MenuButton& button : buttons)
        if (button.controlId == controlId)
            return button.font;
    ADD_FAILURE() << "no button " << controlId;
    return {};
}

TEST(MenuButtons, CaptionSizeAndWeightForEveryLanguageRow)
{
    const CaptionFont standard{10, 700};
    const CaptionFont bold8{8, 700};
    const CaptionFont normal8{8, 400};
    // The Backup and Restore captions per language.
    const std::tuple<const wchar_t*, CaptionFont, CaptionFont> rows[] = {
        {L"c0a", bold8, bold8},     {L"40b", bold8, bold8},   {L"40c", bold8, bold8},       {L"414", bold8, bold8},
        {L"816", bold8, standard},  {L"41d", bold8, standard}, {L"408", normal8, normal8},  {L"415", normal8, bold8},
        {L"419", normal8, bold8},   {L"416", standard, bold8}, {L"407", standard, normal8}, {L"409", standard, standard},
        {L"C0A", standard, standard},
    };
    for (const auto& [code, backup, restore] : rows) {
        SCOPED_TRACE(std::string(code, code + wcslen(code)));
        const auto buttons = mainMenuButtons(code);
        EXPECT_EQ(fontOf(buttons, 1000), backup);
        EXPECT_EQ(fontOf(buttons, 1001), restore);
        EXPECT_EQ(fontOf(buttons, 1002), standard);
        const auto tools = toolsPageButtons(code);
        EXPECT_EQ(fontOf(tools, 1019), std::wstring(code) == L"416" ? bold8 : standard);
        EXPECT_EQ(fontOf(tools, 1020), standard);
        EXPECT_EQ(fontOf(tools, 1021), (CaptionFont{10, 0}));
    }
}

TEST(MenuButtons, HoverIndexCountsAllFourEdgesAndTheFirstButtonWins)
{
    const std::vector<PixelRect> buttons = {{100, 50, 237, 169}, {242, 50, 379, 169}};
    EXPECT_EQ(hoverIndexAt(buttons, {100, 50}), 1);
    EXPECT_EQ(hoverIndexAt(buttons, {237, 169}), 1);
    EXPECT_EQ(hoverIndexAt(buttons, {238, 100}), 0); // between the two
    EXPECT_EQ(hoverIndexAt(buttons, {379, 100}), 2);
    EXPECT_EQ(hoverIndexAt(buttons, {300, 170}), 0);
    EXPECT_EQ(hoverIndexAt({{0, 0, 10, 10}, {10, 0, 20, 10}}, {10, 5}), 1);
}

} // namespace
} // namespace quorvane
