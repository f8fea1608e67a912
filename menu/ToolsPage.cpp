#include "menu/ToolsPage.h"

namespace quorvane {

void ToolsPage::setHoverIndex(int index)
{
    hoverIndex_ = index;
    if (window())
        InvalidateRect(window(), nullptr, TRUE);
}

bool ToolsPage::onCommand(int id, int /*code*/, HWND /*control*/)
{
    switch (id) {
    case IDC_TOOLS_BACK:
        requestPage(UM_SHOW_MAIN_MENU);
        return true;
    default:
        return false;
    }
}

} // namespace quorvane
