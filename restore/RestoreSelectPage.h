#pragma once

#include "app/PageDialog.h"
#include "app/ResourceIds.h"

namespace quorvane {

class RestoreSelectPage : public PageDialog {
public:
    RestoreSelectPage() : PageDialog(IDD_RESTORE_SELECT) {}

    // Rebuilds the list of restorable images; runs on every visit of the page.
    void refreshPage();

protected:
    bool onCommand(int id, int code, HWND control) override;
};

} // namespace quorvane
