// The backup pages' rules for the image path, the description and the chosen
// compression, and what the options and confirm pages draw in every language:
// the order of the steps, the colours in force, and the places and font sizes
// that each language's wording needs.
#include "backup/BackupPagesDrawing.h"
#include "backup/BackupRules.h"
#include "native/support/DrawingChecks.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    for (const wchar_t* text : {L"", L" \t  \t"})
        EXPECT_TRUE(isBlankDescription(text));
    for (const wchar_t* text : {L"  x ", L"\u00A0", L"\n"})
        EXPECT_FALSE(isBlankDescription(text));
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
    for (const DrawingSteps* steps : {&options, &confirm}) {
        for (const DrawingStep& step : *steps) {
            if (const auto* text = std::get_if<TextStep>(&step)) {
                EXPECT_EQ(text->flags, textFlags::wordBreak);
            }
        }
    }
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
// and black after the red warnings; one without draws none of them, and its
// warnings stay red.
TEST(BackupConfirmDrawing, EveryLanguageCodeGetsItsEmphasis)
{
    for (const std::wstring& code : allCodes()) {
        SCOPED_TRACE(narrow(code));
        const DrawingSteps steps = backupConfirmDrawing(code, sampleJob());
        const bool hasRow = std::ranges::count(tableCodes, code) > 0;
        for (int id : {19, 26, 28, 29})
            EXPECT_EQ(indexOfText(steps, id) >= 0, hasRow) << id;
        EXPECT_EQ(indexOfText(steps, 20) >= 0, code == L"412");
        EXPECT_EQ(colourOf(steps, 21), black);
        if (hasRow) {
            const PixelRect a = textStep(steps, 19).rect, b = textStep(steps, 26).rect;
            const PixelRect c1 = textStep(steps, 28).rect, c2 = textStep(steps, 29).rect;
            EXPECT_TRUE(a.top == 124 && b.top == 315 && c1.top == 333 && c2.top == 333);
            EXPECT_TRUE(a.left > 222 && b.left > 222 && c1.left > 222 && c2.left > c1.left);
            for (const auto& [id, colour] : {std::pair{19, blue}, {26, black}, {27, black}, {28, blue}, {29, black}, {30, black}})
                EXPECT_EQ(colourOf(steps, id), colour) << id;
            EXPECT_TRUE(indexOfText(steps, 26) < indexOfText(steps, 27) && indexOfText(steps, 27) < indexOfText(steps, 28));
        } else {
            EXPECT_EQ(colourOf(steps, 27), red);
            EXPECT_EQ(colourOf(steps, 30), red);
        }
    }
}

// Each language finds its own row: Korean's, with its black text 20 after the
// blue part, and another that differs in every place.
TEST(BackupConfirmDrawing, EachLanguageFindsItsOwnRow)
{
    const auto places = [](const wchar_t* code) {
        const DrawingSteps steps = backupConfirmDrawing(code, sampleJob());
        std::vector<PixelRect> rects;
        for (int id : {19, 20, 26, 28, 29})
            rects.push_back(indexOfText(steps, id) < 0 ? PixelRect{} : textStep(steps, id).rect);
        return rects;
    };
    EXPECT_EQ(places(L"412"), (std::vector<PixelRect>{{365, 124, 678, 142}, {410, 124, 678, 142},
                                                      {335, 315, 678, 333}, {340, 333, 678, 351},
                                                      {385, 333, 678, 351}}));
    EXPECT_EQ(places(L"408"), (std::vector<PixelRect>{{480, 124, 678, 142}, {}, {480, 315, 720, 333},
                                                      {510, 333, 678, 351}, {540, 333, 720, 351}}));
}

// The step panel of both pages in every language: the current step in white in
// its own size, the others in theirs; English and Danish step names run over
// two lines.
TEST(BackupPagesDrawing, EveryLanguageCodeGetsItsStepPanel)
{
    for (const std::wstring& code : allCodes()) {
        SCOPED_TRACE(narrow(code));
        const DrawingSteps options = backupOptionsDrawing(code);
        const DrawingSteps confirm = backupConfirmDrawing(code, sampleJob());
        int optionsPoints = isOneOf(code, {L"c0a", L"414", L"816", L"41d", L"408", L"415"}) ? 10 : 12;
        if (code == L"419")
            optionsPoints = 9;
        int optionsTop = isOneOf(code, {L"416", L"40b", L"40c", L"410", L"41f"}) ? 130 : 145;
        if (isOneOf(code, {L"c0a", L"816", L"41d", L"408", L"415"}))
            optionsTop = 135;
        const FontSpec other{isOneOf(code, {L"40b", L"414"}) ? 9 : 10, 700};
        const int left = code == L"40b" ? 23 : 41;
        const int bottom = code == L"408" ? 351 : 333;
        const int confirmTop = isOneOf(code, {L"408", L"419"}) ? 124 : 144;

        expectText(options, 7, {39, optionsTop, 183, 208}, {optionsPoints, 700}, white);
        expectText(options, 8, {left, 207, 183, 270}, other, white);
        expectText(options, 9, {left, 270, 183, bottom}, other, white);
        expectText(confirm, 14, {left, confirmTop, 183, 207}, other, otherStepGrey);
        expectText(confirm, 15, {39, 208, 183, 271}, {code == L"407" ? 11 : 12, 700}, white);
        expectText(confirm, 16, {left, 270, 183, bottom}, other, white);
        EXPECT_EQ(colourOf(options, 10), black);
        if (isOneOf(code, {L"409", L"406"})) {
            expectText(options, 98, {39, 163, 183, 208}, {optionsPoints, 700}, white);
            expectText(options, 99, {51, 288, 183, 333}, other, white);
            expectText(confirm, 98, {51, 162, 183, 207}, other, otherStepGrey);
            expectText(confirm, 99, {51, 288, 183, 333}, other, white);
        } else {
            for (const DrawingSteps* steps : {&options, &confirm})
                EXPECT_TRUE(indexOfText(*steps, 98) < 0 && indexOfText(*steps, 99) < 0);
        }
    }
}

} // namespace
} // namespace quorvane
