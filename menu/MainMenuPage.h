// The first page: Backup, Restore and Tools as large picture buttons, and the
// description of the button the pointer last touched below them.
#pragma once

#include "app/ResourceIds.h"
#include "menu/MenuPage.h"

namespace quorvane {

class MainMenuPage : public MenuPage {
public:
    MainMenuPage() : MenuPage(IDD_MAIN_MENU, 3, mainMenuDescriptionArea) {}

protected:
    std::vector<MenuButton> buttons() const override;
    DrawingSteps paintingSteps() const override;
    bool onCommand(int id, int code, HWND control) override;
};

} // namespace quorvane
