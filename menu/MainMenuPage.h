#pragma once

#include "app/PageDialog.h"
#include "app/ResourceIds.h"

namespace quorvane {

class MainMenuPage : public PageDialog {
public:
    MainMenuPage() : PageDialog(IDD_MAIN_MENU) {}

    // Which button's description the page shows; 1 is the first button.
    void setHoverIndex(int index);
    int hoverIndex() const { return hoverIndex_; }

private:
    int hoverIndex_ = 1;

protected:
    bool onCommand(int id, int code, HWND control) override;
};

} // namespace quorvane
