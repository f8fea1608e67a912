#pragma once

#include "app/PageDialog.h"
#include "app/ResourceIds.h"

namespace quorvane {

class BackupConfirmPage : public PageDialog {
public:
    BackupConfirmPage() : PageDialog(IDD_BACKUP_CONFIRM) {}

protected:
    bool onCommand(int id, int code, HWND control) override;
};

} // namespace quorvane
