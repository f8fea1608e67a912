// The second and last step of the restore wizard: the image the selection page
// wrote into `job`, the system partition it replaces, and Start, which hands
// the restore over.
#pragma once

#include "app/PageDialog.h"
#include "app/ResourceIds.h"
#include "job/JobParameters.h"
#include "skin/SkinButton.h"
#include "skin/SkinDrawing.h"

namespace quorvane {

class RestoreConfirmPage : public PageDialog {
public:
    RestoreConfirmPage();

    // Written by the selection page just before it asks for this page; Start
    // on the factory entry puts the factory image's real path here for good.
    RestoreJobParameters job;

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
