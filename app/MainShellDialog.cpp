#include "app/MainShellDialog.h"

#include "app/RecoveryApp.h"
#include "app/ResourceIds.h"

namespace quorvane {

namespace {

constexpr int shellWidth = 726;
constexpr int shellHeightBelowTitle = 483;
constexpr UINT leavingBoxType = MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2;
constexpr int leavingTextId = 92;

// Sizes the window, centres it on the screen's work area and brings it to the
// top in one move: every move of a window is a round to the display.
void placeCentred(HWND window, int width, int height)
{
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + ((work.right - work.left) - width) / 2;
    const int y = work.top + ((work.bottom - work.top) - height) / 2;
    SetWindowPos(window, HWND_TOP, x > work.left ? x : work.left, y > work.top ? y : work.top, width, height,
                 SWP_NOACTIVATE);
}

bool isFocusMovingKey(const MSG& message)
{
    if (message.message != WM_KEYDOWN)
        return false;
    switch (message.wParam) {
    case VK_TAB:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        return true;
    default:
        return false;
    }
}

bool isShown(HWND window)
{
    // Its own flag: the shell itself is not visible yet while it starts.
    return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

} // namespace

MainShellDialog::MainShellDialog()
    : icon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_QUORVANE)))
{
}

std::array<PageDialog*, 6> MainShellDialog::pages()
{
    return {&mainMenuPage, &backupOptionsPage, &backupConfirmPage,
            &restoreSelectPage, &restoreConfirmPage, &toolsPage};
}

INT_PTR MainShellDialog::runModal()
{
    if (!create(IDD_MAIN_SHELL, nullptr))
        return -1;
    MSG message{};
    while (!ended_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // A WM_QUIT meant for an outer loop: hand it on after leaving.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got < 0)
            break;
        if (preTranslateMessage(message))
            continue;
        if (window() && IsDialogMessageW(window(), &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (window())
        DestroyWindow(window());
    return result_;
}

bool MainShellDialog::preTranslateMessage(const MSG& message)
{
    if (isFocusMovingKey(message))
        showKeyboardFocus();
    // The page that holds the message's window looks at it first.
    for (PageDialog* page : pages()) {
        HWND pageWindow = page->window();
        if (pageWindow && (message.hwnd == pageWindow || IsChild(pageWindow, message.hwnd)))
            return page->preTranslateMessage(message);
    }
    return DialogWindow::preTranslateMessage(message);
}

void MainShellDialog::endModal(INT_PTR result)
{
    result_ = result;
    ended_ = true;
    // Wakes the loop so it sees that the run has ended.
    PostMessageW(window(), WM_NULL, 0, 0);
}

void MainShellDialog::onCancel()
{
    endModal(IDCANCEL);
}

bool MainShellDialog::onInitDialog()
{
    SendMessageW(window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SetWindowTextW(window(), L"Quorvane");

    TITLEBARINFO titleBar{};
    titleBar.cbSize = sizeof(titleBar);
    GetTitleBarInfo(window(), &titleBar);
    const int titleHeight = titleBar.rcTitleBar.bottom - titleBar.rcTitleBar.top;
    placeCentred(window(), shellWidth, titleHeight + shellHeightBelowTitle);

    // The main menu shows first. The backup options page takes the time and
    // proposes its target as the program starts; like the other pages, its
    // window is made when it first shows, so that the program comes up sooner.
    mainMenuPage.create(window());
    backupOptionsPage.takeStartValues();
    showPage(UM_SHOW_MAIN_MENU);
    return true;
}

PageDialog* MainShellDialog::pageFor(UINT message)
{
    switch (message) {
    case UM_SHOW_MAIN_MENU:
        return &mainMenuPage;
    case UM_SHOW_BACKUP_OPTIONS:
        return &backupOptionsPage;
    case UM_SHOW_BACKUP_CONFIRM:
        return &backupConfirmPage;
    case UM_SHOW_RESTORE_SELECT:
        return &restoreSelectPage;
    case UM_SHOW_RESTORE_CONFIRM:
        return &restoreConfirmPage;
    case UM_SHOW_TOOLS:
        return &toolsPage;
    default:
        return nullptr;
    }
}

void MainShellDialog::showPage(UINT message)
{
    PageDialog* shown = pageFor(message);
    if (!shown)
        return;
    for (PageDialog* page : pages()) {
        if (page->window())
            ShowWindow(page->window(), SW_HIDE);
    }
    if (!shown->window()) {
        shown->create(window());
        // A page made after the keyboard was first used shows its focus at once.
        if (keyboardInUse_)
            showFocusBelow(shown->window());
    }
    ShowWindow(shown->window(), SW_SHOW);
    if (shown == &mainMenuPage)
        mainMenuPage.setHoverIndex(1);
    else if (shown == &toolsPage)
        toolsPage.setHoverIndex(1);
    else if (shown == &restoreSelectPage)
        restoreSelectPage.refreshPage();
    focusVisiblePage();
}

// As dialogs of the platform do, the focus shows once the keyboard moves it.
// Every window below the shell is told itself, so that this does not depend on
// the platform handing the state down.
void MainShellDialog::showKeyboardFocus()
{
    if (keyboardInUse_)
        return;
    keyboardInUse_ = true;
    showFocusBelow(window());
}

void MainShellDialog::showFocusBelow(HWND parent)
{
    EnumChildWindows(parent, [](HWND child, LPARAM) {
        SendMessageW(child, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        return TRUE;
    }, 0);
}

// The keyboard's place is always on the page that shows, never on a hidden one.
void MainShellDialog::focusVisiblePage()
{
    for (PageDialog* page : pages()) {
        if (page->window() && isShown(page->window())) {
            if (HWND first = GetNextDlgTabItem(page->window(), nullptr, FALSE))
                SetFocus(first);
            return;
        }
    }
}

bool MainShellDialog::confirmLeaving()
{
    const std::wstring text = RecoveryApp::current().catalogue.text(leavingTextId);
    return MessageBoxW(window(), text.c_str(), L"Quorvane", leavingBoxType) != IDNO;
}

void MainShellDialog::paintMinimized()
{
    PaintScope paint(window());
    SendMessageW(window(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.dc()), 0);
    RECT client{};
    GetClientRect(window(), &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(paint.dc(), x, y, icon);
}

std::optional<INT_PTR> MainShellDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        if (!IsIconic(window()))
            return std::nullopt;
        paintMinimized();
        return TRUE;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(icon);
    case WM_CLOSE:
        if (!confirmLeaving())
            return TRUE;
        return std::nullopt; // the default processing ends the dialog with IDCANCEL
    case UM_SHOW_MAIN_MENU:
    case UM_SHOW_BACKUP_OPTIONS:
    case UM_SHOW_BACKUP_CONFIRM:
    case UM_SHOW_RESTORE_SELECT:
    case UM_SHOW_RESTORE_CONFIRM:
    case UM_SHOW_TOOLS:
        showPage(message);
        return messageResult(0);
    default:
        return DialogWindow::onMessage(message, wParam, lParam);
    }
}

} // namespace quorvane
