// Every page of the program as the tools see it: the drawing steps of each of
// its states and the controls the page places on top, for one language. The
// screen renderer paints these and the fit check measures them, so that both
// look at what the pages really draw.
#pragma once

#include "menu/MenuLayout.h"
#include "skin/ButtonLook.h"
#include "skin/DrawingSteps.h"

#include <string>
#include <variant>
#include <vector>

namespace quorvane {

class StringCatalogue;

enum class ControlKind { skinButton, edit, list };

struct ControlView {
    ControlKind kind = ControlKind::skinButton;
    int controlId = 0;
    PixelRect place;
    // Skin buttons: pictures, caption and state.
    SkinButtonMode mode = SkinButtonMode::push;
    SlotFiles pictures;
    std::variant<int, std::wstring> caption; // a catalogue id, or the text itself
    CaptionFont font;
    Colour background = buttonGrey;
    bool disabled = false;
    // Edits: the text they hold.
    std::wstring text;
    // Edits and lists: the catalogue id of the caption the page draws above
    // them, which is also their name for screen readers.
    int labelId = 0;
    // Lists: the rows they show, three cells each.
    std::vector<std::vector<std::wstring>> rows;
};

struct PageView {
    std::string name; // a file name: "restore-select", "main-menu-hover-2"
    DrawingSteps steps;
    std::vector<ControlView> controls;
    // The control under the pointer (menu pages: the button whose description shows), or 0.
    int hoveredControl = 0;
    // Sentences drawn in pieces on one line, as the catalogue ids of their
    // pieces in reading order.
    std::vector<std::vector<int>> splitSentences;
};

// The six pages in every state that shows other texts (each hover index of
// the menu pages), in the language `languageCode` with `texts`, filled with
// sample values: a backup to D:\backup.QVX, a restore of a listed image of a
// 100 GB system and a 50 GB data partition with its description shown.
std::vector<PageView> pageViews(const std::wstring& languageCode, const StringCatalogue& texts);

} // namespace quorvane
