#include "restore/RestoreSelectPage.h"

namespace quorvane {

void RestoreSelectPage::refreshPage()
{
    // The list of images is built here once the page shows one.
}

bool RestoreSelectPage::onCommand(int id, int /*code*/, HWND /*control*/)
{
    switch (id) {
    case IDC_RESTORE_BACK:
        requestPage(UM_SHOW_MAIN_MENU);
        return true;
    default:
        return false;
    }
}

} // namespace quorvane
