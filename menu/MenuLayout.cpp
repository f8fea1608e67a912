#include "menu/MenuLayout.h"

#include <algorithm>
#include <utility>

namespace quorvane {

namespace {

constexpr CaptionFont standardCaption{10, 700};
constexpr int iconWidth = 137;
constexpr int iconHeight = 119;
constexpr int iconTop = 158;

struct CaptionOverride {
    std::wstring_view code;
    CaptionFont font;
};

// The smaller captions of languages whose words do not fit, tested in this
// order; at most one matches.
constexpr CaptionOverride backupOverrides[] = {
    {L"c0a", {8, 700}}, {L"40b", {8, 700}}, {L"40c", {8, 700}}, {L"414", {8, 700}}, {L"816", {8, 700}},
    {L"41d", {8, 700}}, {L"408", {8, 400}}, {L"415", {8, 400}}, {L"419", {8, 400}},
};
constexpr CaptionOverride restoreOverrides[] = {
    {L"416", {8, 700}}, {L"407", {8, 400}}, {L"c0a", {8, 700}}, {L"40b", {8, 700}}, {L"40c", {8, 700}},
    {L"414", {8, 700}}, {L"408", {8, 400}}, {L"415", {8, 700}}, {L"419", {8, 700}},
};
constexpr CaptionOverride diskManagementOverrides[] = {
    {L"416", {8, 700}},
};

template <std::size_t count>
CaptionFont captionFor(std::wstring_view code, const CaptionOverride (&overrides)[count])
{
    CaptionFont font = standardCaption;
    for (const CaptionOverride& row : overrides) {
        if (row.code == code)
            font = row.font;
    }
    return font;
}

MenuButton iconButton(int controlId, const std::wstring& picture, int labelId, int x, CaptionFont font)
{
    const std::wstring base = L"main_icon_" + picture;
    return {controlId,
            iconSlotFiles(base + L"_normal.dat", base + L"_rollover.dat", base + L"_pressed.dat"),
            SkinButtonMode::icon,
            labelId,
            {x, iconTop, x + iconWidth, iconTop + iconHeight},
            font};
}

constexpr FontSpec descriptionFont{10, 700};
constexpr FontSpec firstRestoreBlockFont{9, 700};

TextStep description(int id, FontSpec font, Colour colour, PixelRect rect)
{
    return catalogueText(id, font, colour, rect);
}

} // namespace

std::vector<MenuButton> mainMenuButtons(std::wstring_view languageCode)
{
    return {
        iconButton(1000, L"backup", 63, 148, captionFor(languageCode, backupOverrides)),
        iconButton(1001, L"recovery", 64, 290, captionFor(languageCode, restoreOverrides)),
        iconButton(1002, L"tool", 65, 432, standardCaption),
    };
}

std::vector<MenuButton> toolsPageButtons(std::wstring_view languageCode)
{
    return {
        iconButton(1019, L"control", 66, 220, captionFor(languageCode, diskManagementOverrides)),
        iconButton(1020, L"search", 67, 362, standardCaption),
        // Back keeps the weight the font mapper chooses.
        {1021, pushSlotFiles(L"ns"), SkinButtonMode::push, 68, {316, 436, 316 + 88, 436 + 25}, {10, 0}},
    };
}

DrawingSteps mainMenuSteps(int hoverIndex, std::wstring_view languageCode)
{
    DrawingSteps steps = {copyPicture(menuBackground, 720, 480)};
    const PixelRect area{125, 332, 594, 440};
    // Greek needs more room for the Restore texts.
    const bool greek = languageCode == L"408";
    switch (hoverIndex) {
    case 1:
        steps.push_back(description(1, descriptionFont, black, area));
        break;
    case 2:
        steps.push_back(description(2, firstRestoreBlockFont, black, {125, 332, 594, greek ? 386 : 368}));
        steps.push_back(description(3, descriptionFont, red, greek ? PixelRect{125, 386, 594, 480}
                                                                   : PixelRect{125, 368, 594, 440}));
        break;
    case 3:
        steps.push_back(description(4, descriptionFont, black, area));
        break;
    default:
        break;
    }
    return steps;
}

DrawingSteps toolsPageSteps(int hoverIndex)
{
    DrawingSteps steps = {copyPicture(menuBackground, 720, 480)};
    if (hoverIndex == 1 || hoverIndex == 2)
        steps.push_back(description(hoverIndex == 1 ? 5 : 6, descriptionFont, black, toolsDescriptionArea));
    return steps;
}

int hoverIndexAt(const std::vector<PixelRect>& buttons, ScreenPoint point)
{
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const PixelRect& r = buttons[i];
        if (point.x >= r.left && point.x <= r.right && point.y >= r.top && point.y <= r.bottom)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

} // namespace quorvane
