// The skin layer's drawing, run into memory devices: picture copies, the
// loader's colour replacement and the text steps.
#include "app/RecoveryApp.h"
#include "skin/SkinDrawing.h"
#include "support/Canvas.h"
#include "support/ProgramUnderTest.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

namespace quorvane::testing {
namespace {

constexpr COLORREF paper = RGB(250, 250, 250);

const StringCatalogue catalogue = catalogueOf({{1, L"Backup of the system partition"}});

bool isMagenta(COLORREF c) { return c == RGB(255, 0, 255); }

TEST(SkinDrawing, KeyedPlainAndStretchedCopiesAndMissingFiles)
{
    SkinPictures pictures;
    // 20 x 20: a magenta frame of 4 pixels around a blue square.
    pictures.adopt(L"square.dat", makeBitmap(20, 20, [](int x, int y) {
        return x < 4 || y < 4 || x >= 16 || y >= 16 ? RGB(255, 0, 255) : RGB(0, 0, 255);
    }));

    Canvas keyed(40, 40, paper);
    runDrawingSteps(keyed.dc(), {keyedPicture(L"square.dat", {0, 0, 20, 20}, 10, 10, magenta)}, pictures, catalogue);
    EXPECT_EQ(keyed.count(isMagenta), 0);
    EXPECT_EQ(keyed.count([](COLORREF c) { return c == RGB(0, 0, 255); }), 12 * 12);
    EXPECT_EQ(keyed.at(11, 11), paper); // the frame shows what was behind it

    Canvas plain(40, 40, paper);
    runDrawingSteps(plain.dc(), {copyPicture(L"square.dat", 20, 20, 10, 10)}, pictures, catalogue);
    EXPECT_EQ(plain.count(isMagenta), 20 * 20 - 12 * 12);

    // A missing file leaves the bitmap empty, and the page goes on.
    UniqueBitmap bitmap;
    EXPECT_FALSE(RecoveryApp::loadSkinImage(bitmap, L"C:\\no such folder\\background_main.dat"));
    EXPECT_FALSE(bitmap);
    pictures.load(L"gone.dat", L"C:\\no such folder\\gone.dat");
    Canvas canvas(60, 30, RGB(1, 2, 3));
    runDrawingSteps(canvas.dc(),
                    {copyPicture(L"gone.dat", 20, 20, 0, 0), keyedPicture(L"gone.dat", {0, 0, 20, 20}, 20, 0, magenta),
                     copyPicture(L"square.dat", 20, 20, 40, 0)},
                    pictures, catalogue);
    EXPECT_EQ(canvas.at(5, 5), RGB(255, 255, 255));   // an opaque picture's place is filled
    EXPECT_EQ(canvas.at(25, 5), RGB(1, 2, 3));        // a keyed one simply leaves it
    EXPECT_EQ(canvas.at(50, 10), RGB(0, 0, 255));     // and the next step still runs

    // A halftone stretch fills exactly its destination.
    pictures.adopt(L"frame.dat", makeBitmap(30, 10, [](int, int) { return RGB(40, 120, 200); }));
    Canvas stretched(100, 60, paper);
    const PixelRect to{7, 5, 88, 47};
    runDrawingSteps(stretched.dc(), {stretchPicture(L"frame.dat", {0, 0, 30, 10}, to)}, pictures, catalogue);
    EXPECT_EQ(GetStretchBltMode(stretched.dc()), HALFTONE);
    const auto inside = [&](int x, int y) { return x >= to.left && x < to.right && y >= to.top && y < to.bottom; };
    for (int y = 0; y < stretched.height(); ++y)
        for (int x = 0; x < stretched.width(); ++x)
            ASSERT_EQ(stretched.at(x, y), inside(x, y) ? RGB(40, 120, 200) : paper) << x << "," << y;
}

// A picture of the Data folder, as the pages draw them: drawn as it is and then
// stretched in one run, the stretch is made once and kept for the process. It
// must come out as a stretch of the picture, both when it is made (while the
// run's own device still holds the picture) and when it is found kept.
TEST(SkinDrawing, KeptStretchOfADataPictureIsThePictureStretched)
{
    const wchar_t* const name = L"partition_green_mid.dat";
    const SkinPictures pictures{name};
    HBITMAP picture = pictures.find(name);
    ASSERT_TRUE(picture);
    BITMAP size{};
    GetObjectW(picture, sizeof size, &size);
    const PixelRect whole{0, 0, size.bmWidth, size.bmHeight};
    const PixelRect to{0, size.bmHeight, 151, size.bmHeight + 29}; // a size no page uses

    Canvas expected(to.width(), to.height(), paper);
    {
        const UniqueMemoryDc from(CreateCompatibleDC(expected.dc()));
        const SelectionScope selection(from.get(), picture);
        SetStretchBltMode(expected.dc(), HALFTONE);
        StretchBlt(expected.dc(), 0, 0, to.width(), to.height(), from.get(), 0, 0, whole.width(), whole.height(),
                   SRCCOPY);
    }
    for (const char* run : {"made", "kept"}) {
        Canvas canvas(to.width(), to.bottom, paper);
        runDrawingSteps(canvas.dc(), {copyPicture(name, whole.width(), whole.height()), stretchPicture(name, whole, to)},
                        pictures, catalogue);
        GdiFlush();
        for (int y = 0; y < to.height(); ++y)
            for (int x = 0; x < to.width(); ++x)
                ASSERT_EQ(canvas.atFlushed(x, to.top + y), expected.atFlushed(x, y)) << run << " " << x << "," << y;
    }
}

TEST(SkinDrawing, PagePicturesGetTheSystemGreysAndButtonPicturesKeepTheirs)
{
    ScratchFolder folder;
    const auto file = folder.path() / L"greys.dat";
    // The loader replaces colours of a picture's colour table.
    const std::vector<COLORREF> greys = {RGB(128, 128, 128), RGB(192, 192, 192), RGB(223, 223, 223),
                                         RGB(10, 200, 30)};
    writePaletteRowBmpFile(file, greys);

    const COLORREF system[] = {GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DFACE), GetSysColor(COLOR_3DLIGHT),
                               RGB(10, 200, 30)};
    ASSERT_FALSE(system[0] == greys[0] && system[1] == greys[1] && system[2] == greys[2])
        << "the system colours are the greys themselves: nothing to see";

    SkinPictures pictures;
    pictures.load(L"page.dat", file.wstring());
    UniqueBitmap buttonPicture;
    ASSERT_TRUE(loadButtonImage(buttonPicture, file.wstring()));
    pictures.adopt(L"button.dat", std::move(buttonPicture));
    ASSERT_TRUE(pictures.find(L"page.dat"));

    Canvas canvas(4, 2, paper);
    runDrawingSteps(canvas.dc(), {copyPicture(L"page.dat", 4, 1, 0, 0), copyPicture(L"button.dat", 4, 1, 0, 1)},
                    pictures, catalogue);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(canvas.at(x, 0), system[x]) << "page picture, pixel " << x;
        EXPECT_EQ(canvas.at(x, 1), greys[x]) << "button picture, pixel " << x;
    }
}

bool isReddish(COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 110 && GetBValue(c) < 110; }
bool isDark(COLORREF c) { return GetRValue(c) < 90 && GetGValue(c) < 90 && GetBValue(c) < 90; }

TEST(SkinDrawing, TextKeepsTheColourInForceAndWrapsInsideItsRectangle)
{
    Canvas canvas(300, 120, paper);
    HGDIOBJ fontBefore = GetCurrentObject(canvas.dc(), OBJ_FONT);
    SetTextColor(canvas.dc(), RGB(0, 0, 0));
    const FontSpec bold{10, 700};
    const DrawingSteps steps = {
        TextStep{std::wstring(L"Red words"), bold, red, {0, 0, 300, 30}, textFlags::wordBreak},
        TextStep{std::wstring(L"Still red"), {9, 700}, std::nullopt, {0, 30, 300, 60}, textFlags::wordBreak},
        // id 1 is longer than its 90 x 40 rectangle: wrapped, then cut at the bottom
        catalogueText(1, bold, black, {100, 70, 190, 110}),
    };
    runDrawingSteps(canvas.dc(), steps, SkinPictures(), catalogue);

    EXPECT_GT(canvas.count(0, 0, 300, 30, isReddish), 20);
    EXPECT_GT(canvas.count(0, 30, 300, 60, isReddish), 20);
    EXPECT_EQ(canvas.count(0, 0, 300, 60, isDark), 0);
    EXPECT_GT(canvas.count(100, 70, 190, 85, isDark), 10);   // first line
    EXPECT_GT(canvas.count(100, 88, 190, 110, isDark), 10);  // the words that wrapped
    const int outside = canvas.count(0, 60, 300, 120, [](COLORREF c) { return c != paper; })
                        - canvas.count(100, 70, 190, 110, [](COLORREF c) { return c != paper; });
    EXPECT_EQ(outside, 0) << "text outside its rectangle";
    EXPECT_EQ(GetBkMode(canvas.dc()), TRANSPARENT);
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_FONT), fontBefore) << "the previous font is put back";
}

} // namespace
} // namespace quorvane::testing
