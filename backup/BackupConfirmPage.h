// The second and last step of the backup wizard: the summary of the job the
// options page wrote into `job`, and Start, which hands it over.
#pragma once

#include "app/PageDialog.h"
#include "app/ResourceIds.h"
#include "job/JobParameters.h"
#include "skin/SkinButton.h"
#include "skin/SkinDrawing.h"

namespace quorvane {

class BackupConfirmPage : public PageDialog {
public:
    BackupConfirmPage();

    // Written by the options page just before it asks for this page.
    BackupJobParameters job;

protected:
    DrawingSteps paintingSteps() const override;
    const SkinPictures* paintingPictures() const override { return &pictures; }
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;

private:
    SkinPictures pictures;
    SkinButton backButton;
    SkinButton startButton;
};

} // namespace quorvane
