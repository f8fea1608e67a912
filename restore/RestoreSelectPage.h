// Step 1 of the restore wizard: the images that can be restored (the factory
// image, the listed backups and one file found with Browse), the name of the
// clicked one, and the sizes of the system and data partitions. Rebuilt from
// the disks as they are on every visit; Next hands the chosen image to the
// confirm page.
#pragma once

#include "app/PageDialog.h"
#include "app/ResourceIds.h"
#include "platform/Win32Handles.h"
#include "restore/ImageCatalogue.h"
#include "skin/SkinButton.h"
#include "skin/SkinDrawing.h"

#include <cstdint>
#include <string>

namespace quorvane {

class RestoreSelectPage : public PageDialog {
public:
    RestoreSelectPage();

    // Rebuilds the list, the sizes and everything else the page shows; runs
    // on every visit of the page. Ends the program when neither the system
    // nor the data partition reaches 1 GB.
    void refreshPage();

    HWND listView = nullptr;
    ImageCatalogue catalogue;
    ImageEntry browsedImage;     // the file accepted by Browse; empty until then
    std::wstring shownImageName; // the name of the last clicked row
    std::wstring systemSizeText;
    std::wstring dataSizeText;
    bool hasFactoryRow = false;
    std::uint32_t systemMB = 0;
    std::uint32_t dataMB = 0;
    std::uint32_t mbPerPixel = 0;

protected:
    DrawingSteps paintingSteps() const override;
    const SkinPictures* paintingPictures() const override { return &pictures; }
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    bool onNotify(const NMHDR& header) override;

private:
    void onRowClick(int row);
    void browse();
    void next();
    // The image a row stands for, checked as a restore needs it; nothing (after
    // telling the user why) when it cannot be handed on.
    const ImageEntry* chosenImage(int row, ImageEntry& factory);
    void showOtherRow();

    SkinPictures pictures;
    UniqueFont listFont;
    SkinButton browseButton;
    SkinButton backButton;
    SkinButton nextButton;
};

} // namespace quorvane
