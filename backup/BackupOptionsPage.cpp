#include "backup/BackupOptionsPage.h"

namespace quorvane {

bool BackupOptionsPage::onCommand(int id, int /*code*/, HWND /*control*/)
{
    switch (id) {
    case IDC_BACKUP_BACK:
        requestPage(UM_SHOW_MAIN_MENU);
        return true;
    default:
        return false;
    }
}

} // namespace quorvane
