#include "app/DialogWindow.h"

namespace quorvane {

DialogWindow::~DialogWindow()
{
    if (window_ && IsWindow(window_)) {
        SetWindowLongPtrW(window_, DWLP_USER, 0);
        DestroyWindow(window_);
    }
}

bool DialogWindow::create(int templateId, HWND parent)
{
    HWND created = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId),
                                      parent, &DialogWindow::dialogProc,
                                      reinterpret_cast<LPARAM>(this));
    return created != nullptr;
}

DialogWindow* DialogWindow::objectOf(HWND window)
{
    return window ? reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, DWLP_USER)) : nullptr;
}

bool isEscapeKeyDown(const MSG& message)
{
    return message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE;
}

bool DialogWindow::preTranslateMessage(const MSG& message)
{
    return isEscapeKeyDown(message);
}

INT_PTR DialogWindow::messageResult(LONG_PTR result)
{
    SetWindowLongPtrW(window_, DWLP_MSGRESULT, result);
    return TRUE;
}

std::optional<INT_PTR> DialogWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog() ? TRUE : FALSE;
    case WM_ERASEBKGND:
        // Every window paints its whole area itself.
        return messageResult(TRUE);
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType == ODT_BUTTON && SendMessageW(item->hwndItem, reflectedDrawItem, wParam, lParam))
            return TRUE;
        return std::nullopt;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == IDOK) {
            onOk();
            return TRUE;
        }
        if (id == IDCANCEL) {
            onCancel();
            return TRUE;
        }
        if (onCommand(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam)))
            return TRUE;
        return std::nullopt;
    }
    case WM_NOTIFY:
        if (onNotify(*reinterpret_cast<const NMHDR*>(lParam)))
            return messageResult(0);
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

INT_PTR CALLBACK DialogWindow::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogWindow* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<DialogWindow*>(lParam);
        self->window_ = window;
        SetWindowLongPtrW(window, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    if (!self)
        return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        self->window_ = nullptr;
        return FALSE;
    }
    // No exception may unwind into the window manager.
    try {
        const std::optional<INT_PTR> result = self->onMessage(message, wParam, lParam);
        return result.value_or(FALSE);
    } catch (...) {
        return FALSE;
    }
}

} // namespace quorvane
