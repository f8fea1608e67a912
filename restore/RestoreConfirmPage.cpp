#include "restore/RestoreConfirmPage.h"

#include "app/RecoveryApp.h"
#include "job/JobHandOff.h"
#include "restore/RestorePagesDrawing.h"

namespace quorvane {

RestoreConfirmPage::RestoreConfirmPage()
    : PageDialog(IDD_RESTORE_CONFIRM),
      pictures{L"background_step.dat", L"partition_number_2.dat", L"popup_warning.dat", L"secondbg.dat"}
{
}

bool RestoreConfirmPage::onInitDialog()
{
    setUpPushButton(backButton, IDC_RESTORE_CONFIRM_BACK, L"ns", 78, buttonGrey, backButtonPlace);
    setUpPushButton(startButton, IDC_RESTORE_CONFIRM_START, L"ns", 79, buttonGrey, forwardButtonPlace);
    return PageDialog::onInitDialog();
}

bool RestoreConfirmPage::onCommand(int id, int code, HWND /*control*/)
{
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDC_RESTORE_CONFIRM_BACK:
        // The selection page rebuilds itself on the way back.
        requestPage(UM_SHOW_RESTORE_SELECT);
        return true;
    case IDC_RESTORE_CONFIRM_START:
        startRestoreJob(window(), job);
        return true;
    default:
        return false;
    }
}

DrawingSteps RestoreConfirmPage::paintingSteps() const
{
    const RecoveryApp& app = RecoveryApp::current();
    return restoreConfirmDrawing(app.languageCode, job, app.catalogue);
}

} // namespace quorvane
