#include "skin/SkinButton.h"

#include "app/DialogWindow.h"
#include "skin/SkinDrawing.h"

#include <commctrl.h>

#include <algorithm>

namespace quorvane {

namespace {

constexpr UINT_PTR subclassId = 1;
constexpr LONG styleLowByte = 0xFF;
// The focus frame of an icon tile lies this far inside its edge.
constexpr int focusFrameInset = 4;

} // namespace

SkinButton::~SkinButton()
{
    detach();
}

bool SkinButton::attach(HWND dialog, int controlId)
{
    HWND control = GetDlgItem(dialog, controlId);
    if (!control || !SetWindowSubclass(control, &SkinButton::subclassProc, subclassId,
                                       reinterpret_cast<DWORD_PTR>(this)))
        return false;
    window_ = control;
    const LONG style = (GetWindowLongW(control, GWL_STYLE) & styleLowByte) | BS_OWNERDRAW;
    SendMessageW(control, BM_SETSTYLE, static_cast<WPARAM>(style), TRUE);
    return true;
}

void SkinButton::detach()
{
    if (!window_)
        return;
    KillTimer(window_, hoverTimerId);
    RemoveWindowSubclass(window_, &SkinButton::subclassProc, subclassId);
    window_ = nullptr;
}

void SkinButton::setImages(const SlotFiles& files)
{
    pictures_ = files;
}

void SkinButton::setIconImages(const std::wstring& normal, const std::wstring& hover, const std::wstring& pressed)
{
    pictures_ = iconSlotFiles(normal, hover, pressed);
    mode_ = SkinButtonMode::icon;
}

void SkinButton::setLabel(const std::wstring& label)
{
    label_ = label;
    if (window_)
        SetWindowTextW(window_, label_.c_str());
}

void SkinButton::setRadio(const std::wstring& label, Colour background, const std::wstring& face, int pointSize)
{
    pictures_ = radioSlotFiles();
    setLabel(label);
    background_ = background;
    face_ = face;
    pointSize_ = pointSize;
    mode_ = SkinButtonMode::radio;
}

void SkinButton::setCaption(const std::wstring& label, Colour background, const std::wstring& face,
                            int pointSize, int weight)
{
    setLabel(label);
    background_ = background;
    face_ = face;
    pointSize_ = pointSize;
    weight_ = weight;
}

void SkinButton::invalidate() const
{
    InvalidateRect(window_, nullptr, TRUE);
}

void SkinButton::onMouseMove(LPARAM lParam)
{
    if (GetCapture() != window_) {
        // The pointer has just come in.
        hover_ = 1;
        SetTimer(window_, hoverTimerId, hoverTimerInterval, nullptr);
        SetCapture(window_);
        invalidate();
        return;
    }
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(window_, &point);
    if (WindowFromPoint(point) == window_)
        return;
    hover_ = 0;
    ReleaseCapture();
    invalidate();
}

// Catches the pointer leaving when no mouse move reaches the button any more.
void SkinButton::onHoverTimer()
{
    if (!hover_) {
        KillTimer(window_, hoverTimerId);
        return;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT frame{};
    GetWindowRect(window_, &frame);
    if (!PtInRect(&frame, cursor)) {
        hover_ = 0;
        KillTimer(window_, hoverTimerId);
        invalidate();
    }
}

void SkinButton::onUiStateUpdate(WPARAM wParam)
{
    const WORD action = LOWORD(wParam);
    if (!(HIWORD(wParam) & UISF_HIDEFOCUS) || (action != UIS_SET && action != UIS_CLEAR))
        return;
    const bool shown = action == UIS_CLEAR;
    if (shown != focusShown_) {
        focusShown_ = shown;
        invalidate();
    }
}

void SkinButton::paint(HDC target, int width, int height, const ButtonState& state) const
{
    UniqueMemoryDc canvasDc(CreateCompatibleDC(target));
    UniqueBitmap canvas(CreateCompatibleBitmap(target, width, height));
    UniqueBrush backgroundBrush(CreateSolidBrush(background_));
    HFONT font = sharedSkinFont(target, pointSize_, weight_, face_);
    SelectionScope canvasSelection(canvasDc.get(), canvas.get());

    const RECT whole{0, 0, width, height};
    FillRect(canvasDc.get(), &whole, backgroundBrush.get());

    if (HBITMAP picture = sharedSkinPicture(pictures_[static_cast<int>(chooseSlot(state))], PictureUse::button)) {
        BITMAP size{};
        GetObjectW(picture, sizeof(size), &size);
        const PixelRect source = pictureSource(mode_, width, height);
        // A button larger than its picture shows its background around it.
        const int copyWidth = std::min(source.width(), static_cast<int>(size.bmWidth));
        const int copyHeight = std::min(source.height(), static_cast<int>(size.bmHeight));
        UniqueMemoryDc pictureDc(CreateCompatibleDC(target));
        SelectionScope pictureSelection(pictureDc.get(), picture);
        TransparentBlt(canvasDc.get(), 0, 0, copyWidth, copyHeight, pictureDc.get(), 0, 0, copyWidth, copyHeight,
                       magenta);
    }

    const CaptionLayout caption = captionLayout(mode_, width, height, state);
    SelectionScope fontSelection(canvasDc.get(), font);
    SetBkMode(canvasDc.get(), TRANSPARENT);
    SetTextColor(canvasDc.get(), caption.colour);
    RECT rect{caption.rect.left, caption.rect.top, caption.rect.right, caption.rect.bottom};
    DrawTextW(canvasDc.get(), label_.c_str(), -1, &rect, caption.flags);

    if (state.focused && mode_ != SkinButtonMode::push) {
        RECT cue{focusFrameInset, focusFrameInset, width - focusFrameInset, height - focusFrameInset};
        if (mode_ == SkinButtonMode::radio) {
            // Around the caption, as a radio button of the platform shows it.
            DrawTextW(canvasDc.get(), label_.c_str(), -1, &rect, caption.flags | DT_CALCRECT);
            cue = {rect.left - 2, 0, rect.right + 2, height};
        }
        DrawFocusRect(canvasDc.get(), &cue);
    }

    BitBlt(target, 0, 0, width, height, canvasDc.get(), 0, 0, SRCCOPY);
}

void SkinButton::draw(const DRAWITEMSTRUCT& item) const
{
    RECT client{};
    GetClientRect(window_, &client);
    const ButtonState state{(item.itemState & ODS_DISABLED) != 0, (item.itemState & ODS_SELECTED) != 0,
                            hover_ != 0, focusShown_ && (item.itemState & ODS_FOCUS) != 0};
    paint(item.hDC, client.right - client.left, client.bottom - client.top, state);
}

LRESULT CALLBACK SkinButton::subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR selfPointer)
{
    auto* self = reinterpret_cast<SkinButton*>(selfPointer);
    switch (message) {
    case WM_MOUSEMOVE:
        self->onMouseMove(lParam);
        break;
    case WM_TIMER:
        if (wParam != hoverTimerId)
            break;
        self->onHoverTimer();
        return 0;
    case WM_CAPTURECHANGED:
        if (self->hover_)
            self->invalidate();
        break;
    case WM_SHOWWINDOW:
        if (!wParam) {
            // A page shown again starts with the normal pictures, and the
            // pointer's next move over the button lights it again.
            self->hover_ = 0;
            if (GetCapture() == window)
                ReleaseCapture();
            self->invalidate();
        }
        break;
    case WM_UPDATEUISTATE:
        self->onUiStateUpdate(wParam);
        break;
    case WM_ERASEBKGND:
        return TRUE; // the owner-draw request covers the whole button
    case reflectedDrawItem:
        self->draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_NCDESTROY:
        self->detach();
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace quorvane
