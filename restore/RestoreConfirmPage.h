#pragma once

#include "app/PageDialog.h"
#include "app/ResourceIds.h"

namespace quorvane {

class RestoreConfirmPage : public PageDialog {
public:
    RestoreConfirmPage() : PageDialog(IDD_RESTORE_CONFIRM) {}

protected:
    bool onCommand(int id, int code, HWND control) override;
};

} // namespace quorvane
