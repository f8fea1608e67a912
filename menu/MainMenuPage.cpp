#include "menu/MainMenuPage.h"

namespace quorvane {

void MainMenuPage::setHoverIndex(int index)
{
    hoverIndex_ = index;
    if (window())
        InvalidateRect(window(), nullptr, TRUE);
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
