// What the main menu and tools pages share: the background picture, the row
// of buttons configured from their layout, the description chosen by the
// last button the pointer touched, and painting as drawing steps.
#pragma once

#include "app/PageDialog.h"
#include "menu/MenuLayout.h"
#include "skin/SkinButton.h"
#include "skin/SkinDrawing.h"

#include <memory>
#include <vector>

namespace quorvane {

class MenuPage : public PageDialog {
public:
    // Which button's description the page shows; 1 is the first button.
    void setHoverIndex(int index);
    int hoverIndex() const { return hoverIndex_; }

    // Escape is discarded; a mouse move over a tracked button chooses its
    // description. Mouse moves are never consumed.
    bool preTranslateMessage(const MSG& message) override;

protected:
    MenuPage(int templateId, int trackedButtons, PixelRect descriptionArea);

    // The buttons of the page in the language of the program.
    virtual std::vector<MenuButton> buttons() const = 0;
    DrawingSteps paintingSteps() const override = 0;
    const SkinPictures* paintingPictures() const override { return &pictures_; }

    bool onInitDialog() override;

private:
    SkinPictures pictures_;
    int hoverIndex_ = 1;
    int trackedButtons_;
    PixelRect descriptionArea_;
    std::vector<int> controlIds_;
    std::vector<std::unique_ptr<SkinButton>> buttons_;
};

} // namespace quorvane
