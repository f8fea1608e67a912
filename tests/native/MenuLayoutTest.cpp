// The main menu and tools pages as data: what they paint for each hover index
// and language, their buttons' captions per language, and the hit test.
#include "menu/MenuLayout.h"

#include <gtest/gtest.h>

#include <map>

namespace quorvane {
namespace {

const FontSpec fontA{10, 700};
const FontSpec fontB{9, 700};
const PictureStep background = copyPicture(L"background_main.dat", 720, 480);

TEST(MainMenuPainting, EachHoverIndexDrawsItsDescription)
{
    for (const wchar_t* code : {L"409", L"c0a", L"C0A", L"407", L""}) {
        SCOPED_TRACE(std::string(code, code + wcslen(code)));
        EXPECT_EQ(mainMenuSteps(1, code), (DrawingSteps{background, catalogueText(1, fontA, black, {125, 332, 594, 440})}));
        EXPECT_EQ(mainMenuSteps(2, code), (DrawingSteps{background, catalogueText(2, fontB, black, {125, 332, 594, 368}),
                                                        catalogueText(3, fontA, red, {125, 368, 594, 440})}));
        EXPECT_EQ(mainMenuSteps(3, code), (DrawingSteps{background, catalogueText(4, fontA, black, {125, 332, 594, 440})}));
        for (int other : {0, 4, -1})
            EXPECT_EQ(mainMenuSteps(other, code), (DrawingSteps{background}));
    }
}

TEST(MainMenuPainting, GreekMovesTheRestoreBlocksDown)
{
    const DrawingSteps greek = mainMenuSteps(2, L"408");
    EXPECT_EQ(greek, (DrawingSteps{background, catalogueText(2, fontB, black, {125, 332, 594, 386}),
                                   catalogueText(3, fontA, red, {125, 386, 594, 480})}));
    // Only the Restore description changes.
    EXPECT_EQ(mainMenuSteps(1, L"408"), mainMenuSteps(1, L"409"));
    EXPECT_EQ(mainMenuSteps(3, L"408"), mainMenuSteps(3, L"409"));
    // The whole repainted area holds the Greek second block.
    EXPECT_EQ(mainMenuDescriptionArea.bottom, 480);
}

TEST(ToolsPainting, EachHoverIndexDrawsItsDescription)
{
    EXPECT_EQ(toolsPageSteps(1), (DrawingSteps{background, catalogueText(5, fontA, black, {125, 332, 594, 440})}));
    EXPECT_EQ(toolsPageSteps(2), (DrawingSteps{background, catalogueText(6, fontA, black, {125, 332, 594, 440})}));
    EXPECT_EQ(toolsPageSteps(3), (DrawingSteps{background}));
    EXPECT_EQ(toolsDescriptionArea, (PixelRect{125, 332, 594, 440}));
}

std::map<int, CaptionFont> captionFonts(const std::vector<MenuButton>& buttons)
{
    std::map<int, CaptionFont> fonts;
    for (const MenuButton& button : buttons)
        fonts[button.controlId] = button.font;
    return fonts;
}

TEST(MainMenuButtons, CaptionSizeAndWeightForEveryLanguageRow)
{
    const CaptionFont standard{10, 700};
    const CaptionFont smallBold{8, 700};
    const CaptionFont smallNormal{8, 400};
    struct Row {
        const wchar_t* code;
        CaptionFont backup;
        CaptionFont restore;
    };
    const Row rows[] = {
        {L"c0a", smallBold, smallBold},     {L"40b", smallBold, smallBold},     {L"40c", smallBold, smallBold},
        {L"414", smallBold, smallBold},     {L"816", smallBold, standard},      {L"41d", smallBold, standard},
        {L"408", smallNormal, smallNormal}, {L"415", smallNormal, smallBold},   {L"419", smallNormal, smallBold},
        {L"416", standard, smallBold},      {L"407", standard, smallNormal},    {L"409", standard, standard},
        {L"C0A", standard, standard},       {L"804", standard, standard},       {L"", standard, standard},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.code, row.code + wcslen(row.code)));
        const auto fonts = captionFonts(mainMenuButtons(row.code));
        EXPECT_EQ(fonts.at(1000), row.backup);
        EXPECT_EQ(fonts.at(1001), row.restore);
        EXPECT_EQ(fonts.at(1002), standard);
    }
}

TEST(MainMenuButtons, PicturesCaptionsAndPlaces)
{
    const auto buttons = mainMenuButtons(L"409");
    ASSERT_EQ(buttons.size(), 3u);
    const int ids[] = {1000, 1001, 1002};
    const int labels[] = {63, 64, 65};
    const int lefts[] = {148, 290, 432};
    const wchar_t* const pictures[] = {L"backup", L"recovery", L"tool"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(buttons[i].controlId, ids[i]);
        EXPECT_EQ(buttons[i].labelId, labels[i]);
        EXPECT_EQ(buttons[i].mode, SkinButtonMode::icon);
        EXPECT_EQ(buttons[i].place, (PixelRect{lefts[i], 158, lefts[i] + 137, 158 + 119}));
        const std::wstring base = std::wstring(L"main_icon_") + pictures[i];
        EXPECT_EQ(buttons[i].pictures, iconSlotFiles(base + L"_normal.dat", base + L"_rollover.dat", base + L"_pressed.dat"));
    }
}

TEST(ToolsButtons, OnlyBrazilianPortugueseShrinksTheDiskManagementCaption)
{
    for (const wchar_t* code : {L"409", L"416", L"419", L"c0a", L"40c"}) {
        SCOPED_TRACE(std::string(code, code + wcslen(code)));
        const auto fonts = captionFonts(toolsPageButtons(code));
        EXPECT_EQ(fonts.at(1019), (std::wstring(code) == L"416" ? CaptionFont{8, 700} : CaptionFont{10, 700}));
        EXPECT_EQ(fonts.at(1020), (CaptionFont{10, 700}));
        EXPECT_EQ(fonts.at(1021), (CaptionFont{10, 0}));
    }
    const auto buttons = toolsPageButtons(L"409");
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[0].place, (PixelRect{220, 158, 357, 277}));
    EXPECT_EQ(buttons[1].place, (PixelRect{362, 158, 499, 277}));
    EXPECT_EQ(buttons[2].place, (PixelRect{316, 436, 404, 461}));
    EXPECT_EQ(buttons[0].labelId, 66);
    EXPECT_EQ(buttons[1].labelId, 67);
    EXPECT_EQ(buttons[2].labelId, 68);
    EXPECT_EQ(buttons[2].mode, SkinButtonMode::push);
    EXPECT_EQ(buttons[2].pictures, pushSlotFiles(L"ns"));
    EXPECT_EQ(buttons[0].pictures[0], L"main_icon_control_normal.dat");
    EXPECT_EQ(buttons[1].pictures[2], L"main_icon_search_pressed.dat");
}

TEST(HoverIndex, AllFourEdgesCountAndTheFirstButtonWins)
{
    const std::vector<PixelRect> buttons = {{100, 50, 237, 169}, {242, 50, 379, 169}};
    EXPECT_EQ(hoverIndexAt(buttons, {100, 50}), 1);
    EXPECT_EQ(hoverIndexAt(buttons, {237, 169}), 1); // right and bottom edges too
    EXPECT_EQ(hoverIndexAt(buttons, {238, 100}), 0);  // the gap between them
    EXPECT_EQ(hoverIndexAt(buttons, {379, 100}), 2);
    EXPECT_EQ(hoverIndexAt(buttons, {300, 170}), 0);
    EXPECT_EQ(hoverIndexAt(buttons, {99, 100}), 0);
    EXPECT_EQ(hoverIndexAt({{0, 0, 10, 10}, {10, 0, 20, 10}}, {10, 5}), 1);
    EXPECT_EQ(hoverIndexAt({}, {10, 5}), 0);
}

} // namespace
} // namespace quorvane
