// The skin button: its pictures and captions rendered into memory devices,
// and its hover tracking in a real window with synthesized mouse moves.
#include "app/DialogWindow.h"
#include "skin/SkinButton.h"
#include "skin/SkinDrawing.h"
#include "support/Canvas.h"

#include <gtest/gtest.h>

namespace quorvane::testing {
namespace {

constexpr COLORREF pageGrey = 0xDCDCDC;
constexpr COLORREF disabledText = 0xB4B4B4;

// What the button must show without its caption: the picture on the
// background colour with the magenta left out.
void composeByHand(Canvas& canvas, const std::wstring& file, COLORREF background, int width, int height)
{
    UniqueBrush brush(CreateSolidBrush(background));
    const RECT whole{0, 0, canvas.width(), canvas.height()};
    FillRect(canvas.dc(), &whole, brush.get());
    UniqueBitmap picture;
    ASSERT_TRUE(loadButtonImage(picture, skinImagePath(file))) << "missing " << std::string(file.begin(), file.end());
    UniqueMemoryDc pictureDc(CreateCompatibleDC(canvas.dc()));
    SelectionScope selection(pictureDc.get(), picture.get());
    TransparentBlt(canvas.dc(), 0, 0, width, height, pictureDc.get(), 0, 0, width, height, RGB(255, 0, 255));
}

// The pixels the caption changed: the rendering with and without the label.
struct Caption {
    int changed = 0;
    int top = -1;
    std::vector<COLORREF> colours;
};

Caption captionOf(SkinButton& button, const std::wstring& label, int weight, int width, int height,
                  const ButtonState& state, COLORREF background = pageGrey)
{
    Canvas bare(width, height, 0);
    button.setCaption(L"", background, L"Tahoma", 10, weight);
    button.paint(bare.dc(), width, height, state);
    Canvas labelled(width, height, 0);
    button.setCaption(label, background, L"Tahoma", 10, weight);
    button.paint(labelled.dc(), width, height, state);
    Caption caption;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (labelled.at(x, y) == bare.at(x, y))
                continue;
            ++caption.changed;
            if (caption.top < 0)
                caption.top = y;
            caption.colours.push_back(labelled.at(x, y));
        }
    }
    return caption;
}

int countOf(const std::vector<COLORREF>& colours, COLORREF wanted)
{
    return static_cast<int>(std::count(colours.begin(), colours.end(), wanted));
}

TEST(SkinButtonLook, DisabledPushButtonShowsItsPictureAndGreyTextEvenHoveredAndPressed)
{
    SkinButton button;
    button.setImages(pushSlotFiles(L"ns"));
    const ButtonState everything{true, true, true, true};
    Canvas expected(88, 25, 0);
    composeByHand(expected, L"btnXX.ns", pageGrey, 88, 25);
    Canvas actual(88, 25, 0);
    button.setCaption(L"", pageGrey, L"Tahoma", 10, 0);
    button.paint(actual.dc(), 88, 25, everything);
    EXPECT_TRUE(actual.sameAs(expected)) << "not btnXX";

    const Caption caption = captionOf(button, L"Back", 0, 88, 25, everything);
    ASSERT_GT(caption.changed, 20);
    EXPECT_GT(countOf(caption.colours, disabledText), caption.changed / 3);
    EXPECT_EQ(countOf(caption.colours, RGB(0, 0, 0)), 0);
}

TEST(SkinButtonLook, PressedBeatsHoverAndThePushCaptionMovesDownOnePixel)
{
    SkinButton button;
    button.setImages(pushSlotFiles(L"ns"));
    Canvas expected(88, 25, 0);
    composeByHand(expected, L"btnDN.ns", pageGrey, 88, 25);
    Canvas actual(88, 25, 0);
    button.setCaption(L"", pageGrey, L"Tahoma", 10, 0);
    button.paint(actual.dc(), 88, 25, {false, true, true, true});
    EXPECT_TRUE(actual.sameAs(expected)) << "not btnDN";

    const Caption resting = captionOf(button, L"Next", 0, 88, 25, {});
    const Caption pressed = captionOf(button, L"Next", 0, 88, 25, {false, true, false, false});
    ASSERT_GE(resting.top, 5);
    EXPECT_EQ(pressed.top, resting.top + 1);
    EXPECT_GT(countOf(resting.colours, RGB(0, 0, 0)), resting.changed / 3);
}

TEST(SkinButtonLook, RadioShowsOnWhenDisabledAndOffOtherwiseWithBlackText)
{
    SkinButton button;
    button.setRadio(L"", 0xF6F6F6, L"Tahoma", 9);
    EXPECT_EQ(button.mode(), SkinButtonMode::radio);
    for (const auto& [state, file] : {std::pair{ButtonState{true, false, false, false}, L"radioON.dat"},
                                      std::pair{ButtonState{false, false, false, false}, L"radioOFF.dat"},
                                      std::pair{ButtonState{false, false, true, true}, L"radioOFF.dat"}}) {
        SCOPED_TRACE(std::string(file, file + wcslen(file)));
        Canvas expected(200, 17, 0);
        composeByHand(expected, file, 0xF6F6F6, 15, 15);
        Canvas actual(200, 17, 0);
        button.setCaption(L"", 0xF6F6F6, L"Tahoma", 9, 0);
        button.paint(actual.dc(), 200, 17, state);
        EXPECT_TRUE(actual.sameAs(expected));
        const Caption caption = captionOf(button, L"Fast Compression", 0, 200, 17, state, 0xF6F6F6);
        ASSERT_GT(caption.changed, 20);
        EXPECT_GT(countOf(caption.colours, RGB(0, 0, 0)), caption.changed / 3);
    }
}

TEST(SkinButtonLook, IconMagentaShowsTheBackgroundAndTheCaptionLightsUpWithThePointer)
{
    SkinButton button;
    button.setIconImages(L"main_icon_backup_normal.dat", L"main_icon_backup_rollover.dat",
                         L"main_icon_backup_pressed.dat");
    EXPECT_EQ(button.mode(), SkinButtonMode::icon);
    Canvas canvas(137, 119, 0);
    button.setCaption(L"", RGB(18, 52, 86), L"Tahoma", 10, 700);
    button.paint(canvas.dc(), 137, 119, {});
    EXPECT_EQ(canvas.count([](COLORREF c) { return c == RGB(255, 0, 255); }), 0);
    EXPECT_EQ(canvas.at(0, 0), RGB(18, 52, 86));
    EXPECT_EQ(canvas.at(136, 118), RGB(18, 52, 86));

    const Caption resting = captionOf(button, L"Backup", 700, 137, 119, {});
    const Caption lit = captionOf(button, L"Backup", 700, 137, 119, {false, false, true, false});
    const Caption pressed = captionOf(button, L"Backup", 700, 137, 119, {false, true, false, false});
    EXPECT_GT(countOf(resting.colours, 0x646464), resting.changed / 3);
    EXPECT_GT(countOf(lit.colours, RGB(255, 255, 255)), lit.changed / 3);
    EXPECT_GT(countOf(pressed.colours, RGB(255, 255, 255)), pressed.changed / 3);
    ASSERT_GE(resting.top, 93);
    EXPECT_EQ(lit.top, resting.top);
    EXPECT_EQ(pressed.top, resting.top + 2);
}

// A top-level window holding one button and handing owner-draw requests back
// to it, as the pages do.
class ButtonHost {
public:
    ButtonHost()
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &ButtonHost::procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QuorvaneButtonHost";
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClassW(&windowClass);
        host = CreateWindowExW(WS_EX_TOPMOST, L"QuorvaneButtonHost", L"host", WS_POPUP | WS_VISIBLE, 100, 100, 300,
                               200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 50, 50, 88, 25, host,
                        reinterpret_cast<HMENU>(controlId), GetModuleHandleW(nullptr), nullptr);
    }
    ~ButtonHost() { DestroyWindow(host); }

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_DRAWITEM) {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            return SendMessageW(item->hwndItem, reflectedDrawItem, wParam, lParam);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    static constexpr int controlId = 1021;
    HWND host = nullptr;
};

class SkinButtonHover : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(button.attach(host.host, ButtonHost::controlId));
        button.setImages(pushSlotFiles(L"ns"));
        button.setCaption(L"Back", pageGrey, L"Tahoma", 10, 0);
        pumpUntil([] { return false; }, 50);
    }

    // A mouse move at a point of the button's client area, the pointer there too.
    void moveTo(int x, int y)
    {
        POINT screen{x, y};
        ClientToScreen(button.window(), &screen);
        SetCursorPos(screen.x, screen.y);
        SendMessageW(button.window(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    }

    ButtonHost host;
    SkinButton button;
};

TEST_F(SkinButtonHover, AttachingMakesTheControlOwnerDrawn)
{
    EXPECT_EQ(GetWindowLongW(button.window(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
}

TEST_F(SkinButtonHover, EntryShowsHoverAndAMoveOutsideEndsIt)
{
    EXPECT_FALSE(button.hovered());
    moveTo(10, 10);
    EXPECT_TRUE(button.hovered());
    EXPECT_EQ(GetCapture(), button.window());
    moveTo(20, 12); // still over the button
    EXPECT_TRUE(button.hovered());
    moveTo(-30, 12); // under capture the move still reaches the button
    EXPECT_FALSE(button.hovered());
    EXPECT_NE(GetCapture(), button.window());
}

TEST_F(SkinButtonHover, TheTimerEndsHoverWithin300MillisecondsWhenNoMoveArrives)
{
    moveTo(10, 10);
    ASSERT_TRUE(button.hovered());
    ReleaseCapture(); // now only the timer sees the pointer leave
    EXPECT_TRUE(button.hovered());
    RECT frame{};
    GetWindowRect(host.host, &frame);
    SetCursorPos(frame.right + 50, frame.bottom + 50);
    const DWORD left = GetTickCount();
    EXPECT_TRUE(pumpUntil([&] { return !button.hovered(); }, 2000));
    EXPECT_LE(GetTickCount() - left, 300u + 150u); // one interval, and time for the pump
}

TEST_F(SkinButtonHover, TheTimerKeepsHoverWhileThePointerStaysOver)
{
    moveTo(10, 10);
    ReleaseCapture();
    pumpUntil([] { return false; }, 700); // two timer intervals
    EXPECT_TRUE(button.hovered());
}

TEST_F(SkinButtonHover, HidingAHoveredButtonResetsHoverAndTheWindowShowsNormalAgain)
{
    moveTo(10, 10);
    ASSERT_TRUE(button.hovered());
    ShowWindow(button.window(), SW_HIDE);
    EXPECT_FALSE(button.hovered());
    ShowWindow(button.window(), SW_SHOW);
    EXPECT_FALSE(button.hovered());
}

TEST_F(SkinButtonHover, TheWindowIsPaintedThroughTheHandedBackOwnerDrawRequest)
{
    button.setCaption(L"", RGB(18, 52, 86), L"Tahoma", 10, 0);
    InvalidateRect(button.window(), nullptr, TRUE);
    UpdateWindow(button.window());
    // The corner of btnNN is magenta: the background colour must show there.
    RECT frame{};
    GetWindowRect(button.window(), &frame);
    auto corner = [&] {
        HDC screen = GetDC(nullptr);
        const COLORREF pixel = GetPixel(screen, frame.left, frame.top);
        ReleaseDC(nullptr, screen);
        return pixel;
    };
    EXPECT_TRUE(pumpUntil([&] { return corner() == RGB(18, 52, 86); }, 3000)) << std::hex << corner();
}

} // namespace
} // namespace quorvane::testing
