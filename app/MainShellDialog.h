// The program's only top-level window: holds the six pages as child dialogs and
// always shows exactly one of them.
#pragma once

#include "app/DialogWindow.h"
#include "backup/BackupConfirmPage.h"
#include "backup/BackupOptionsPage.h"
#include "menu/MainMenuPage.h"
#include "menu/ToolsPage.h"
#include "platform/Win32Handles.h"
#include "restore/RestoreConfirmPage.h"
#include "restore/RestoreSelectPage.h"

#include <array>

namespace quorvane {

class MainShellDialog : public DialogWindow {
public:
    MainShellDialog();

    // Creates the window and runs it until the user leaves; answers IDCANCEL
    // then. Messages pass the page's and the shell's filters before dialog
    // processing.
    INT_PTR runModal();

    // A key that moves the focus (Tab, an arrow) makes the controls show the
    // focus from then on; then the page's own filter, or the shell's.
    bool preTranslateMessage(const MSG& message) override;

    MainMenuPage mainMenuPage;
    BackupOptionsPage backupOptionsPage;
    BackupConfirmPage backupConfirmPage;
    RestoreSelectPage restoreSelectPage;
    RestoreConfirmPage restoreConfirmPage;
    ToolsPage toolsPage;

protected:
    std::optional<INT_PTR> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool onInitDialog() override;
    void onCancel() override;

private:
    std::array<PageDialog*, 6> pages();
    PageDialog* pageFor(UINT message);
    // Hides every page, shows the one of the message (made now if it was not
    // yet) and runs its extra step.
    void showPage(UINT message);
    void focusVisiblePage();
    void showKeyboardFocus();
    static void showFocusBelow(HWND parent);
    void paintMinimized();
    bool confirmLeaving();
    void endModal(INT_PTR result);

    HICON icon; // shared resource icon: the system owns it
    bool ended_ = false;
    bool keyboardInUse_ = false;
    INT_PTR result_ = 0;
};

} // namespace quorvane
