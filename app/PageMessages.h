// The private messages by which a page asks the shell for another page.
#pragma once

namespace quorvane {

enum PageMessage : unsigned {
    UM_SHOW_MAIN_MENU = 3025,
    UM_SHOW_BACKUP_OPTIONS = 3026,
    UM_SHOW_BACKUP_CONFIRM = 3027,
    UM_SHOW_RESTORE_SELECT = 3028,
    UM_SHOW_RESTORE_CONFIRM = 3029,
    UM_SHOW_TOOLS = 3030,
};

} // namespace quorvane
