// The first step of the backup wizard: the target image file (chosen only
// through the save dialog), the compression level and the description. Next
// hands them to the confirm page. Created once, so the choices survive going
// back and forth.
#pragma once

#include "app/PageDialog.h"
#include "app/ResourceIds.h"
#include "skin/SkinButton.h"
#include "skin/SkinDrawing.h"

#include <cstdint>
#include <string>

namespace quorvane {

class BackupOptionsPage : public PageDialog {
public:
    BackupOptionsPage();

    // A left click on one of the compression choices chooses it before the
    // button sees it; Escape is dropped.
    bool preTranslateMessage(const MSG& message) override;

    // The time of the start as the description, and the default target as
    // the machine is at the start; the window, made later, shows them.
    void takeStartValues();

    std::int32_t compression = 0; // 1 none, 2 fast, 3 maximum; decided on Next
    std::wstring description;
    std::wstring imagePath;       // empty until a target is known
    std::uint32_t partitionId = 0; // 0 while there is no target
    std::int32_t diskId = 0;

protected:
    DrawingSteps paintingSteps() const override;
    const SkinPictures* paintingPictures() const override { return &pictures; }
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;

private:
    void setUpControls();
    // The chosen level's button is the disabled one. By mouse press or by
    // Space on the focused choice.
    void choose(const SkinButton& chosen);
    void browse();
    void next();

    SkinPictures pictures;
    std::wstring startTimeStamp_;
    SkinButton browseButton;
    SkinButton noneChoice;
    SkinButton fastChoice;
    SkinButton maximumChoice;
    SkinButton backButton;
    SkinButton nextButton;
};

} // namespace quorvane
