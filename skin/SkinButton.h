// The owner-drawn button of every page: a push-button control that paints
// itself from skin pictures (push, radio or icon mode) and tracks the pointer
// itself to show its hover picture. Its window text is its caption, which is
// what screen readers read; it shows the keyboard focus only once the keyboard
// is in use (WM_UPDATEUISTATE clearing UISF_HIDEFOCUS).
#pragma once

#include "platform/Win32Handles.h"
#include "skin/ButtonLook.h"

#include <windows.h>

#include <array>
#include <string>

namespace quorvane {

class SkinButton {
public:
    SkinButton() = default;
    SkinButton(const SkinButton&) = delete;
    SkinButton& operator=(const SkinButton&) = delete;
    ~SkinButton();

    // Takes over the dialog's control: owner drawing, and this object's
    // handling of the pointer, the timer and the owner-draw requests.
    bool attach(HWND dialog, int controlId);
    HWND window() const { return window_; }

    // The six pictures in slot order (normal, hover, pressed, focused,
    // focused and hovered, disabled); the mode stays as it is.
    void setImages(const SlotFiles& files);
    // Normal, hover and pressed pictures; icon mode.
    void setIconImages(const std::wstring& normal, const std::wstring& hover, const std::wstring& pressed);
    // The radio pictures and the caption except its weight; radio mode.
    void setRadio(const std::wstring& label, Colour background, const std::wstring& face, int pointSize);
    // The caption; the window text follows it.
    void setCaption(const std::wstring& label, Colour background, const std::wstring& face, int pointSize,
                    int weight);

    bool hovered() const { return hover_ != 0; }
    SkinButtonMode mode() const { return mode_; }
    int pointSize() const { return pointSize_; }
    int weight() const { return weight_; }

    // Composes the button as it looks in `state`, width x height pixels,
    // off-screen and copies it to (0, 0) of `target`. A focused push button
    // shows its focused pictures; icon and radio buttons a dotted focus frame.
    void paint(HDC target, int width, int height, const ButtonState& state) const;

    static constexpr UINT_PTR hoverTimerId = 4357;
    static constexpr UINT hoverTimerInterval = 300;

private:
    static LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    void detach();
    void setLabel(const std::wstring& label);
    void onUiStateUpdate(WPARAM wParam);
    void onMouseMove(LPARAM lParam);
    void onHoverTimer();
    void draw(const DRAWITEMSTRUCT& item) const;
    void invalidate() const;

    HWND window_ = nullptr;
    SlotFiles pictures_; // drawn from the shared skin pictures
    int hover_ = 0;
    bool focusShown_ = false; // the keyboard is in use: the focus shows
    std::wstring label_;
    Colour background_ = white;
    std::wstring face_;
    int pointSize_ = 0;
    int weight_ = 0;
    SkinButtonMode mode_ = SkinButtonMode::push;
};

} // namespace quorvane
