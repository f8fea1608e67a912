// The backup pages' rules for the image path, the description and the chosen
// compression, and what the options and confirm pages draw: the order of the
// steps, the colours in force, each language's emphasis and the step panels
// of a few languages.
#include "backup/BackupPagesDrawing.h"
#include "backup/BackupRules.h"
#include "native/support/DrawingChecks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace quorvane {
namespace {

using namespace testing;

TEST(BackupRules, ImageExtensionIsAddedUnlessItIsExactlyQvx)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"D:\\backup", L"D:\\backup.QVX"},         {L"D:\\backup.QVX", L"D:\\backup.QVX"},
        {L"D:\\backup.qvx", L"D:\\backup.QVX"},     {L"D:\\backup.Qvx", L"D:\\backup.Qvx.QVX"},
        {L"D:\\backup.bak", L"D:\\backup.bak.QVX"}, {L"D:\\old.sets\\backup", L"D:\\old.sets\\backup.QVX"},
        {L"D:\\a.qvx.qvx", L"D:\\a.qvx.QVX"},       {L"D:\\.qvx", L"D:\\.QVX"},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(withImageExtension(path), expected);
}

TEST(BackupRules, ForbiddenCharactersBlankDescriptionsAndTimeStamps)
{
    for (const wchar_t* name : {L"a\\b", L"a/b", L"a:b", L"a*b", L"a?b", L"a\"b", L"a<b", L"a>b", L"a|b"})
        EXPECT_TRUE(hasForbiddenFileNameCharacter(name)) << name;
    for (const wchar_t* name : {L"backup.QVX", L"my backup (1).QVX", L"sauvegarde-été.QVX", L""})
        EXPECT_FALSE(hasForbiddenFileNameCharacter(name)) << name;
    // Only blanks and tabs make a description blank; a no-break space is a visible choice.
    for (const wchar_t* text : {L"", L" \t  \t", L"  x ", L"\u00A0", L"\n"})
        EXPECT_EQ(isBlankDescription(text), std::wstring(text).find_first_not_of(L" \t") == std::wstring::npos);
    EXPECT_EQ(descriptionTimeStamp(2026, 12, 6, 9, 5), L"2026-12-06 09:05 ");
    EXPECT_EQ(descriptionTimeStamp(999, 1, 1, 0, 0), L"0999-01-01 00:00 ");
}

TEST(BackupRules, TheDisabledButtonIsTheChosenLevelTestedInOrder)
{
    EXPECT_EQ(chosenCompression(true, false), Compression::none);
    EXPECT_EQ(chosenCompression(false, true), Compression::fast);
    EXPECT_EQ(chosenCompression(false, false), Compression::maximum);
    EXPECT_EQ(chosenCompression(true, true), Compression::none);
}

BackupJobParameters sampleJob(int compression = 2, std::wstring path = L"D:\\backup.QVX")
{
    return {.compression = compression, .description = L"Monday", .imagePath = path, .partitionId = 3, .diskId = 0};
}

TEST(BackupPagesDrawing, EnglishPagesInOrder)
{
    const DrawingSteps options = backupOptionsDrawing(L"409");
    EXPECT_EQ(outline(options), (std::vector<std::string>{"background_step.dat", "background_box_1.dat",
                                                          "background_box_1.dat", "10", "11", "12", "13", "firstbg.dat",
                                                          "7", "98", "8", "9", "99", "partition_number_1.dat"}));
    // The frame's top-left 466 x 107, stretched behind the compression choices.
    EXPECT_EQ(std::get<PictureStep>(options[2]),
              stretchPicture(L"background_box_1.dat", {0, 0, 466, 107}, {225, 238, 565, 323}));
    EXPECT_EQ(std::get<PictureStep>(options[13]),
              keyedPicture(L"partition_number_1.dat", {0, 0, 24, 34}, 7, 138, black));

    const DrawingSteps confirm = backupConfirmDrawing(L"409", sampleJob());
    EXPECT_EQ(outline(confirm),
              (std::vector<std::string>{"background_step.dat", "17", "18", "19", "21", "22", "23", "24",
                                        "\"D:\\backup.QVX\"", "\"Monday\"", "\"Fast Compression\"", "25", "26",
                                        "27", "28", "29", "popup_warning.dat", "30", "31", "secondbg.dat", "14",
                                        "98", "15", "16", "99", "partition_number_2.dat"}));
    EXPECT_EQ(std::get<PictureStep>(confirm[16]),
              keyedPicture(L"popup_warning.dat", {0, 0, 38, 38}, 235, 355, 0xDFDFDF));
    EXPECT_EQ(textStep(confirm, 17).font, (FontSpec{10, 700}));
    for (int id : {18, 25, 27, 29, 31})
        EXPECT_EQ(textStep(confirm, id).font, (FontSpec{10, 400})) << id;
    for (int id : {17, 18, 21, 24, 27})
        EXPECT_EQ(colourOf(confirm, id), black) << id;
    for (int id : {25, 31})
        EXPECT_EQ(colourOf(confirm, id), red) << id;
    // Every text wraps inside its rectangle, clipped to it.
    for (const DrawingSteps* steps : {&options, &confirm})
        for (const DrawingStep& step : *steps)
            EXPECT_TRUE(!std::holds_alternative<TextStep>(step) || std::get<TextStep>(step).flags == textFlags::wordBreak);
}

// Each value in its own 36-pixel row of the values column, in black body
// text clipped to the row (the skin layer's clipping is tested with it), so a
// long path wraps but never reaches the next row; the compression's name is
// fixed in every language.
TEST(BackupConfirmDrawing, SummaryValuesStayInTheirRows)
{
    const wchar_t* names[] = {L"", L"None Compression", L"Fast Compression", L"Maximum Compression", L""};
    const std::wstring path = L"E:\\a very long folder name\\and another one that goes on\\and on\\backup of Monday.QVX";
    for (int compression = 0; compression <= 4; ++compression) {
        for (const wchar_t* code : {L"409", L"412", L"c04"}) {
            const DrawingSteps steps = backupConfirmDrawing(code, sampleJob(compression, path));
            // The three values come just before the warning, text 25.
            const auto first = static_cast<std::size_t>(indexOfText(steps, 25) - 3);
            const std::wstring values[] = {path, L"Monday", names[compression]};
            for (std::size_t row = 0; row < 3; ++row) {
                const int top = 196 + 36 * static_cast<int>(row);
                const TextStep expected{values[row], {10, 400}, std::nullopt, {370, top, 678, top + 36}, textFlags::wordBreak};
                EXPECT_EQ(steps[first + row], DrawingStep(expected)) << compression;
                EXPECT_EQ(colourInForce(steps, first + row), black);
            }
        }
    }
}

// A language with a row of its own emphasises parts of its wording in blue
// and black after the red warnings, each where that language's wording puts
// it (Korean with its black text 20); one without draws none of them, and its
// warnings stay red. That the parts meet in every language is measured by the
// fit check.
TEST(BackupConfirmDrawing, EmphasisOfALanguageWithARowAndOfOneWithout)
{
    const std::map<std::wstring, std::vector<PixelRect>> places = {
        {L"409", {{400, 124, 678, 142}, {}, {365, 315, 678, 333}, {255, 333, 678, 351}, {285, 333, 678, 351}}},
        {L"412", {{365, 124, 678, 142}, {410, 124, 678, 142}, {335, 315, 678, 333}, {340, 333, 678, 351}, {385, 333, 678, 351}}},
        {L"408", {{480, 124, 678, 142}, {}, {480, 315, 720, 333}, {510, 333, 678, 351}, {540, 333, 720, 351}}},
        {L"c04", {{}, {}, {}, {}, {}}},
    };
    for (const auto& [code, expected] : places) {
        SCOPED_TRACE(narrow(code));
        const DrawingSteps steps = backupConfirmDrawing(code, sampleJob());
        std::vector<PixelRect> drawn;
        for (int id : {19, 20, 26, 28, 29})
            drawn.push_back(indexOfText(steps, id) < 0 ? PixelRect{} : textStep(steps, id).rect);
        EXPECT_EQ(drawn, expected);
        EXPECT_EQ(colourOf(steps, 21), black);
        const bool hasRow = code != L"c04";
        for (const auto& [id, colour] : {std::pair{19, blue}, {26, black}, {28, blue}, {29, black}})
            EXPECT_TRUE(!hasRow || colourOf(steps, id) == colour) << id;
        for (int id : {27, 30})
            EXPECT_EQ(colourOf(steps, id), hasRow ? black : red) << id;
    }
}

// The step panel of both pages for languages whose sizes and places differ,
// and a code without a row.
TEST(BackupPagesDrawing, StepPanelsOfBothPages)
{
    const StepPanel panels[] = {
        {L"409", 12, 39, 145, 10, 41, 333, 144, 12}, {L"40b", 12, 39, 130, 9, 23, 333, 144, 12},
        {L"408", 10, 39, 135, 10, 41, 351, 124, 12}, {L"419", 9, 39, 145, 10, 41, 333, 124, 12},
        {L"407", 12, 39, 145, 10, 41, 333, 144, 11}, {L"c04", 12, 39, 145, 10, 41, 333, 144, 12},
    };
    for (const StepPanel& p : panels) {
        const DrawingSteps options = backupOptionsDrawing(p.code);
        expectStepPanels(p, options, {7, 8, 9}, backupConfirmDrawing(p.code, sampleJob()), {14, 15, 16}, {98, 99});
        EXPECT_EQ(colourOf(options, 10), black);
    }
}

} // namespace
} // namespace quorvane
