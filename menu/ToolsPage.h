#pragma once

#include "app/PageDialog.h"
#include "app/ResourceIds.h"

namespace quorvane {

class ToolsPage : public PageDialog {
public:
    ToolsPage() : PageDialog(IDD_TOOLS) {}

    // Which button's description the page shows; 1 is the first button.
    void setHoverIndex(int index);
    int hoverIndex() const { return hoverIndex_; }

private:
    int hoverIndex_ = 1;

protected:
    bool onCommand(int id, int code, HWND control) override;
};

} // namespace quorvane
