#include "backup/BackupConfirmPage.h"

#include "app/RecoveryApp.h"
#include "backup/BackupPagesDrawing.h"
#include "job/JobHandOff.h"

namespace quorvane {

BackupConfirmPage::BackupConfirmPage()
    : PageDialog(IDD_BACKUP_CONFIRM),
      pictures{L"background_step.dat", L"partition_number_2.dat", L"popup_warning.dat", L"secondbg.dat"}
{
}

bool BackupConfirmPage::onInitDialog()
{
    setUpPushButton(backButton, IDC_BACKUP_CONFIRM_BACK, L"ns", 87, buttonGrey, backButtonPlace);
    setUpPushButton(startButton, IDC_BACKUP_CONFIRM_START, L"ns", 88, buttonGrey, forwardButtonPlace);
    return PageDialog::onInitDialog();
}

bool BackupConfirmPage::onCommand(int id, int code, HWND /*control*/)
{
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDC_BACKUP_CONFIRM_BACK:
        requestPage(UM_SHOW_BACKUP_OPTIONS);
        return true;
    case IDC_BACKUP_CONFIRM_START:
        startBackupJob(window(), job);
        return true;
    default:
        return false;
    }
}

DrawingSteps BackupConfirmPage::paintingSteps() const
{
    return backupConfirmDrawing(RecoveryApp::current().languageCode, job);
}

} // namespace quorvane
