// The skin button: its pictures and captions rendered into memory devices,
// and its hover tracking in a real window with synthesized mouse moves.
#include "app/DialogWindow.h"
#include "skin/SkinButton.h"
#include "skin/SkinDrawing.h"
#include "support/Canvas.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace quorvane::testing {
namespace {

constexpr COLORREF pageGrey = 0xDCDCDC;
constexpr COLORREF disabledText = 0xB4B4B4;

// Where two pictures of one size differ: how many pixels, how many of them
// `after` shows in `colour`, and their bounding box.
struct Difference {
    int changed = 0;
    int inColour = 0;
    RECT box{};
};

Difference difference(const Canvas& before, const Canvas& after, COLORREF colour = CLR_INVALID)
{
    Difference found{0, 0, {before.width(), before.height(), 0, 0}};
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (before.at(x, y) == after.at(x, y))
                continue;
            ++found.changed;
            found.inColour += after.at(x, y) == colour ? 1 : 0;
            found.box = {std::min<LONG>(found.box.left, x), std::min<LONG>(found.box.top, y),
                         std::max<LONG>(found.box.right, x + 1), std::max<LONG>(found.box.bottom, y + 1)};
        }
    }
    return found;
}

// The button without caption must be its picture on its background with the
// magenta left out; the caption must change pixels to `captionColour` only.
// Answers the first row the caption touches.
int expectLook(SkinButton& button, const std::wstring& label, int width, int height, const ButtonState& state,
               const std::wstring& file, COLORREF background, COLORREF captionColour)
{
    SCOPED_TRACE(narrow(file));
    Canvas expected(width, height, background);
    UniqueBitmap picture;
    EXPECT_TRUE(loadButtonImage(picture, skinImagePath(file)));
    BITMAP size{};
    GetObjectW(picture.get(), sizeof(size), &size);
    {
        UniqueMemoryDc pictureDc(CreateCompatibleDC(expected.dc()));
        SelectionScope selection(pictureDc.get(), picture.get());
        TransparentBlt(expected.dc(), 0, 0, size.bmWidth, size.bmHeight, pictureDc.get(), 0, 0, size.bmWidth,
                       size.bmHeight, RGB(255, 0, 255));
    }
    Canvas bare(width, height, 0), labelled(width, height, 0);
    button.setCaption(L"", background, L"Tahoma", 10, 700);
    button.paint(bare.dc(), width, height, state);
    EXPECT_TRUE(bare.sameAs(expected)) << "not this picture";
    button.setCaption(label, background, L"Tahoma", 10, 700);
    button.paint(labelled.dc(), width, height, state);
    const Difference caption = difference(bare, labelled, captionColour);
    EXPECT_GT(caption.changed, 20) << "no caption";
    EXPECT_GT(caption.inColour, caption.changed / 3) << "caption not in its colour";
    return caption.box.top;
}

// What showing the focus adds to a button's look.
Difference focusCue(const SkinButton& button, int width, int height, ButtonState state)
{
    Canvas plain(width, height, 0), focused(width, height, 0);
    button.paint(plain.dc(), width, height, state);
    state.focused = true;
    button.paint(focused.dc(), width, height, state);
    return difference(plain, focused);
}

// Each mode paints the picture of its state and its caption in the colour and
// at the height of that state (which picture and which colour is decided by
// the button's look, tested natively; here: that painting follows it). Icon
// and radio buttons show the focus as a dotted frame: inside the tile, and
// around the caption beside the radio picture.
TEST(SkinButtonLook, PushRadioAndIconPaintTheirStates)
{
    SkinButton push;
    push.setImages(pushSlotFiles(L"ns"));
    // Disabled wins over pointer and press, and greys the caption.
    expectLook(push, L"Back", 88, 25, {true, true, true, true}, L"btnXX.ns", pageGrey, disabledText);
    // Pressed wins over hover; its caption sits one pixel lower.
    const int pressed = expectLook(push, L"Back", 88, 25, {false, true, true, true}, L"btnDN.ns", pageGrey, 0);
    EXPECT_EQ(pressed, expectLook(push, L"Back", 88, 25, {}, L"btnNN.ns", pageGrey, 0) + 1);

    // A radio shows On only when disabled, always with black text.
    SkinButton radio;
    radio.setRadio(L"", 0xF6F6F6, L"Tahoma", 9);
    expectLook(radio, L"Fast", 200, 17, {true, false, false, false}, L"radioON.dat", 0xF6F6F6, 0);
    expectLook(radio, L"Fast", 200, 17, {false, false, true, false}, L"radioOFF.dat", 0xF6F6F6, 0);
    const Difference radioCue = focusCue(radio, 200, 17, {});
    EXPECT_GT(radioCue.changed, 40);
    EXPECT_GE(radioCue.box.left, 15) << "the frame leaves the radio picture alone";
    EXPECT_LT(radioCue.box.right, 100) << "the frame hugs the caption";
    EXPECT_EQ(std::tuple(radioCue.box.top, radioCue.box.bottom), std::tuple(0L, 17L));

    // An icon shows the background for magenta and lights its caption under the pointer.
    SkinButton icon;
    const std::wstring base = L"main_icon_backup_";
    icon.setIconImages(base + L"normal.dat", base + L"rollover.dat", base + L"pressed.dat");
    const COLORREF odd = RGB(18, 52, 86);
    const COLORREF white = RGB(255, 255, 255);
    const int resting = expectLook(icon, L"Backup", 137, 119, {}, base + L"normal.dat", odd, 0x646464);
    EXPECT_GE(resting, 93);
    EXPECT_EQ(expectLook(icon, L"Backup", 137, 119, {false, false, true, false}, base + L"rollover.dat", odd, white), resting);
    EXPECT_EQ(expectLook(icon, L"Backup", 137, 119, {false, true, false, false}, base + L"pressed.dat", odd, white), resting + 2);
    const Difference iconCue = focusCue(icon, 137, 119, {});
    EXPECT_EQ(std::tuple(iconCue.box.left, iconCue.box.top, iconCue.box.right, iconCue.box.bottom),
              std::tuple(4L, 4L, 133L, 115L));
    EXPECT_GT(iconCue.changed, 200);
    EXPECT_LT(iconCue.changed, 2 * (129 + 111)) << "only the frame changes";
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
    pumpUntil([] { return false; }, 50);

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
    EXPECT_LE(GetTickCount() - left, 300u + 150u); // one interval, and time for the pump

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
