// The backup pages' painting as the skin layer runs it: the summary's values
// stay inside their rows, and the real page windows have their controls where
// the painting leaves room for them.
#include "backup/BackupPagesDrawing.h"
#include "skin/SkinDrawing.h"
#include "support/Canvas.h"

#include <gtest/gtest.h>

namespace quorvane::testing {
namespace {

StringCatalogue tahomaCatalogue()
{
    StringCatalogue catalogue;
    const wchar_t section[] = L"face=Tahoma\0\0";
    catalogue.fillFromSection(std::wstring_view(section, sizeof(section) / sizeof(wchar_t) - 1));
    return catalogue;
}

void paintConfirmPage(const Canvas& canvas, const std::wstring& imagePath, const StringCatalogue& catalogue)
{
    BackupJobParameters job;
    job.compression = 3;
    job.description = L"Monday";
    job.imagePath = imagePath;
    runDrawingSteps(canvas.dc(), backupConfirmDrawing(L"409", job), SkinPictures(), catalogue);
}

bool isInk(COLORREF colour)
{
    return colour != RGB(255, 255, 255);
}

TEST(BackupConfirmPainting, ALongPathWrapsInsideItsRowAndNeverReachesTheDescription)
{
    const StringCatalogue catalogue = tahomaCatalogue();
    const Canvas without(720, 480, RGB(255, 255, 255));
    paintConfirmPage(without, L"", catalogue);
    const std::wstring longPath = L"E:\\Backups of this computer\\made before the big update of December\\"
                                  L"and kept on the second disk\\in a folder with a long name\\Monday.QVX";
    const Canvas with(720, 480, RGB(255, 255, 255));
    paintConfirmPage(with, longPath, catalogue);

    // The path shows in its row, on more than one line...
    const int rowInk = with.count(370, 196, 678, 232, isInk);
    EXPECT_GT(rowInk, 0);
    EXPECT_GT(with.count(370, 214, 678, 232, isInk), 0) << "its second line";
    // ...and nothing of it outside: the rest of the page is as without it.
    EXPECT_EQ(with.count(0, 232, 720, 480, isInk), without.count(0, 232, 720, 480, isInk));
    EXPECT_EQ(with.count(678, 0, 720, 480, isInk), without.count(678, 0, 720, 480, isInk));
}

} // namespace
} // namespace quorvane::testing
