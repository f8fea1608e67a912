#include "menu/MainMenuPage.h"

#include "app/RecoveryApp.h"

namespace quorvane {

std::vector<MenuButton> MainMenuPage::buttons() const
{
    return mainMenuButtons(RecoveryApp::current().languageCode);
}

DrawingSteps MainMenuPage::paintingSteps() const
{
    return mainMenuSteps(hoverIndex(), RecoveryApp::current().languageCode);
}

bool MainMenuPage::onCommand(int id, int /*code*/, HWND /*control*/)
{
    switch (id) {
    case IDC_MENU_BACKUP:
        requestPage(UM_SHOW_BACKUP_OPTIONS);
        return true;
    case IDC_MENU_RESTORE:
        requestPage(UM_SHOW_RESTORE_SELECT);
        return true;
    case IDC_MENU_TOOLS:
        requestPage(UM_SHOW_TOOLS);
        return true;
    default:
        return false;
    }
}

} // namespace quorvane
