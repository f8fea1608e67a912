#include "app/PageDialog.h"

namespace quorvane {

void PageDialog::requestPage(PageMessage message) const
{
    PostMessageW(GetParent(window()), message, 0, 0);
}

void PageDialog::placeOnShell() const
{
    MoveWindow(window(), 0, 0, width, height, TRUE);
    RECT client{};
    GetClientRect(GetParent(window()), &client);
    const int x = (client.right - client.left - width) / 2;
    const int y = (client.bottom - client.top - height) / 2;
    SetWindowPos(window(), nullptr, x > 0 ? x : 0, y > 0 ? y : 0, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool PageDialog::onInitDialog()
{
    placeOnShell();
    return true;
}

} // namespace quorvane
