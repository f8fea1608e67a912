#include "restore/RestoreConfirmPage.h"

namespace quorvane {

bool RestoreConfirmPage::onCommand(int id, int /*code*/, HWND /*control*/)
{
    switch (id) {
    case IDC_RESTORE_CONFIRM_BACK:
        requestPage(UM_SHOW_RESTORE_SELECT);
        return true;
    default:
        return false;
    }
}

} // namespace quorvane
