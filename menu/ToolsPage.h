// Opens the system's Disk Management console and the file explorer, with a
// description of each tool below its button and Back to the main menu.
#pragma once

#include "app/ResourceIds.h"
#include "menu/MenuPage.h"

namespace quorvane {

class ToolsPage : public MenuPage {
public:
    // Back is not tracked: only the two tools have a description.
    ToolsPage() : MenuPage(IDD_TOOLS, 2, toolsDescriptionArea) {}

protected:
    std::vector<MenuButton> buttons() const override;
    DrawingSteps paintingSteps() const override;
    bool onCommand(int id, int code, HWND control) override;
};

} // namespace quorvane
