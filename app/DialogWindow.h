// The base of every dialog window of the program: one static dialog procedure
// that finds the C++ object and calls its message table (onMessage).
#pragma once

#include <windows.h>

#include <optional>

namespace quorvane {

// An owner-draw request handed back to the control that asked for it, so that
// the control draws itself (the skin button does).
inline constexpr UINT reflectedDrawItem = 0x2000 + WM_DRAWITEM;

class DialogWindow {
public:
    DialogWindow() = default;
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;
    virtual ~DialogWindow();

    HWND window() const { return window_; }

    // The object of one of the program's own dialog windows, or nullptr.
    static DialogWindow* objectOf(HWND window);

    // Creates the window from a dialog template as a modeless dialog.
    bool create(int templateId, HWND parent);

    // Looks at a message before dialog processing; true when it is consumed.
    // Every dialog discards Escape here, so Escape never closes anything.
    virtual bool preTranslateMessage(const MSG& message);

protected:
    // The message table. Answers the dialog procedure's result, or nothing
    // when the message is left to the default dialog processing.
    virtual std::optional<INT_PTR> onMessage(UINT message, WPARAM wParam, LPARAM lParam);

    virtual bool onInitDialog() { return true; }
    // A command other than OK and Cancel; true when handled.
    virtual bool onCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
    // A control's notification; true when handled (its result is then 0).
    virtual bool onNotify(const NMHDR& /*header*/) { return false; }
    // Enter (IDOK) does nothing anywhere in the program.
    virtual void onOk() {}
    // IDCANCEL arrives only through the default processing of WM_CLOSE.
    virtual void onCancel() {}

    // Sets the result of a message whose result travels in DWLP_MSGRESULT.
    INT_PTR messageResult(LONG_PTR result);

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};

bool isEscapeKeyDown(const MSG& message);

} // namespace quorvane
