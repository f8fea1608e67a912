#pragma once

#include "app/PageDialog.h"
#include "app/ResourceIds.h"

namespace quorvane {

class BackupOptionsPage : public PageDialog {
public:
    BackupOptionsPage() : PageDialog(IDD_BACKUP_OPTIONS) {}

protected:
    bool onCommand(int id, int code, HWND control) override;
};

} // namespace quorvane
