#include "backup/BackupConfirmPage.h"

namespace quorvane {

bool BackupConfirmPage::onCommand(int id, int /*code*/, HWND /*control*/)
{
    switch (id) {
    case IDC_BACKUP_CONFIRM_BACK:
        requestPage(UM_SHOW_BACKUP_OPTIONS);
        return true;
    default:
        return false;
    }
}

} // namespace quorvane
