// The skin button: its pictures and captions rendered into memory devices,
// and its hover tracking in a real window with synthesized mouse moves.
#include "app/DialogWindow.h"
#include "skin/SkinButton.h"
#include "skin/SkinDrawing.h"
#include "support/Canvas.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quorvane::testing {
namespace {

constexpr COLORREF pageGrey = 0xDCDCDC;

// The push button without caption must be its picture on the page's grey with
// the magenta left out; the caption must change pixels to black. Answers the
// first row the caption touches.
int expectLook(SkinButton& button, const ButtonState& state, const std::wstring& file)
{
    SCOPED_TRACE(narrow(file));
    constexpr int width = 88, height = 25;
    Canvas expected(width, height, pageGrey);
    UniqueBitmap picture;
    EXPECT_TRUE(loadButtonImage(picture, skinImagePath(file)));
    {
        UniqueMemoryDc pictureDc(CreateCompatibleDC(expected.dc()));
        SelectionScope selection(pictureDc.get(), picture.get());
        TransparentBlt(expected.dc(), 0, 0, width, height, pictureDc.get(), 0, 0, width, height, RGB(255, 0, 255));
    }
    Canvas bare(width, height, 0), labelled(width, height, 0);
    button.setCaption(L"", pageGrey, L"Tahoma", 10, 700);
    button.paint(bare.dc(), width, height, state);
    EXPECT_TRUE(bare.sameAs(expected)) << "not this picture";
    button.setCaption(L"Back", pageGrey, L"Tahoma", 10, 700);
    button.paint(labelled.dc(), width, height, state);
    int changed = 0, black = 0, top = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (bare.at(x, y) != labelled.at(x, y)) {
                ++changed;
                black += labelled.at(x, y) == 0 ? 1 : 0;
                top = std::min(top, y);
            }
        }
    }
    EXPECT_GT(changed, 20) << "no caption";
    EXPECT_GT(black, changed / 3) << "caption not in its colour";
    return top;
}

// A push button paints the picture of its state and its caption at the
// height of that state (which picture and which colour is decided by the
// button's look, tested natively; here: that painting follows it). The focus
// cue is seen on the screen by the keyboard tests of the wizards.
TEST(SkinButtonLook, PressedPushPaintsItsPictureAndLowersItsCaption)
{
    SkinButton push;
    push.setImages(pushSlotFiles(L"ns"));
    // Pressed wins over hover; its caption sits one pixel lower.
    EXPECT_EQ(expectLook(push, {false, true, true, true}, L"btnDN.ns"), expectLook(push, {}, L"btnNN.ns") + 1);
}

// A top-level window holding one button and handing owner-draw requests back
// to it, as the pages do.
LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM)
        return SendMessageW(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem, reflectedDrawItem, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

// A mouse move at a point of the button's client area, the pointer there too.
void moveTo(const SkinButton& button, int x, int y)
{
    POINT screen{x, y};
    ClientToScreen(button.window(), &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageW(button.window(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

// Hover in a real window: entry, moves, leaving under capture, hiding, the
// timer that ends hover once only it sees the pointer, and the painting done
// through the owner-draw request the host hands back.
TEST(SkinButtonHover, EntryMovesHidingTheTimerAndTheHandedBackPainting)
{
    const WNDCLASSW windowClass{0, hostProcedure, 0, 0, GetModuleHandleW(nullptr), nullptr, LoadCursorW(nullptr, IDC_ARROW),
                                nullptr, nullptr, L"QuorvaneButtonHost"};
    RegisterClassW(&windowClass);
    HWND host = CreateWindowExW(WS_EX_TOPMOST, L"QuorvaneButtonHost", L"host", WS_POPUP | WS_VISIBLE, 100, 100, 300,
                                200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 50, 50, 88, 25, host,
                    reinterpret_cast<HMENU>(1021), GetModuleHandleW(nullptr), nullptr);
    SkinButton button;
    ASSERT_TRUE(button.attach(host, 1021));
    button.setImages(pushSlotFiles(L"ns"));
    button.setCaption(L"Back", pageGrey, L"Tahoma", 10, 0);
    // A window that becomes active later takes the capture away: the host
    // is the active window before the pointer comes.
    ASSERT_TRUE(pumpUntil([&] { return GetForegroundWindow() == host && GetActiveWindow() == host; }, 5000));

    EXPECT_FALSE(button.hovered());
    moveTo(button, 10, 10);
    EXPECT_TRUE(button.hovered());
    EXPECT_EQ(GetCapture(), button.window());
    moveTo(button, 20, 12); // still over the button
    EXPECT_TRUE(button.hovered());
    moveTo(button, -30, 12); // under capture the move still reaches the button
    EXPECT_FALSE(button.hovered());
    EXPECT_NE(GetCapture(), button.window());

    moveTo(button, 10, 10);
    ASSERT_TRUE(button.hovered());
    ReleaseCapture(); // now only the timer sees where the pointer is
    pumpUntil([] { return false; }, 700); // two timer intervals
    EXPECT_TRUE(button.hovered());
    SetCursorPos(500, 400); // beyond the host
    const DWORD left = GetTickCount();
    EXPECT_TRUE(pumpUntil([&] { return !button.hovered(); }, 2000));
    // The timer's interval is 300 ms: a few of them, however busy the machine.
    EXPECT_LE(GetTickCount() - left, 3 * 300u);

    // Hiding ends hover, and showing again does not bring it back; the next
    // move over the button does.
    moveTo(button, 10, 10);
    ASSERT_TRUE(button.hovered());
    ShowWindow(button.window(), SW_HIDE);
    EXPECT_FALSE(button.hovered());
    ShowWindow(button.window(), SW_SHOW);
    EXPECT_FALSE(button.hovered());
    moveTo(button, 12, 10);
    EXPECT_TRUE(button.hovered());

    // The corner of btnNN is magenta: the background colour must show there.
    button.setCaption(L"", RGB(18, 52, 86), L"Tahoma", 10, 0);
    InvalidateRect(button.window(), nullptr, TRUE);
    UpdateWindow(button.window());
    const auto corner = [&] { return screenPicture(button.window(), {0, 0, 1, 1})->at(0, 0); };
    EXPECT_TRUE(pumpUntil([&] { return corner() == RGB(18, 52, 86); }, 3000)) << std::hex << corner();
    DestroyWindow(host);
}

} // namespace
} // namespace quorvane::testing
