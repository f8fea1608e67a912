// What the main menu and tools pages show, as data: their buttons with
// pictures, captions and places, the caption sizes each language gets, the
// description under the buttons as drawing steps, and which button a pointer
// position is over. No Windows here.
#pragma once

#include "skin/ButtonLook.h"
#include "skin/DrawingSteps.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

struct CaptionFont {
    int points = 10;
    int weight = 700;
    bool operator==(const CaptionFont&) const = default;
};

struct MenuButton {
    int controlId = 0;
    SlotFiles pictures;       // in slot order
    SkinButtonMode mode = SkinButtonMode::icon;
    int labelId = 0;          // catalogue id of the caption
    PixelRect place;          // in page pixels
    CaptionFont font;
};

inline constexpr wchar_t menuBackground[] = L"background_main.dat";
inline constexpr Colour menuButtonBackground = buttonGrey;

// Backup, Restore, Tools; the caption sizes of `languageCode`.
std::vector<MenuButton> mainMenuButtons(std::wstring_view languageCode);
// Disk Management, file explorer, Back.
std::vector<MenuButton> toolsPageButtons(std::wstring_view languageCode);

// The rectangle a new description repaints.
inline constexpr PixelRect mainMenuDescriptionArea{125, 332, 594, 480};
inline constexpr PixelRect toolsDescriptionArea{125, 332, 594, 440};

// The page painted with the description of `hoverIndex` (1 the first button;
// any other value shows none).
DrawingSteps mainMenuSteps(int hoverIndex, std::wstring_view languageCode);
DrawingSteps toolsPageSteps(int hoverIndex);

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

// 1 + the position of the first rectangle that holds the point, all four
// edges included; 0 when none does.
int hoverIndexAt(const std::vector<PixelRect>& buttons, ScreenPoint point);

} // namespace quorvane
