// What the backup options and confirm pages draw in every language: the
// rectangles, colours and font sizes that each language's wording needs.
#include "backup/BackupPagesDrawing.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace quorvane {
namespace {

using testing::narrow;

const std::vector<std::wstring> tableCodes = {L"409", L"416", L"406", L"407", L"c0a", L"41d",
                                              L"40b", L"40c", L"410", L"414", L"816", L"41f",
                                              L"804", L"404", L"408", L"415", L"419", L"412"};

// Index of the text step that draws catalogue text `id`; -1 when there is none.
int indexOfText(const DrawingSteps& steps, int id)
{
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const auto* text = std::get_if<TextStep>(&steps[i]);
        if (text && std::holds_alternative<int>(text->text) && std::get<int>(text->text) == id)
            return static_cast<int>(i);
    }
    return -1;
}

const TextStep& textStep(const DrawingSteps& steps, int id)
{
    const int index = indexOfText(steps, id);
    EXPECT_GE(index, 0) << "text " << id << " is not drawn";
    static const TextStep none;
    return index < 0 ? none : std::get<TextStep>(steps[static_cast<std::size_t>(index)]);
}

Colour colourOf(const DrawingSteps& steps, int id)
{
    return colourInForce(steps, static_cast<std::size_t>(indexOfText(steps, id)));
}

// The order of the steps as picture names and text ids ("17", "background_step.dat").
std::vector<std::string> outline(const DrawingSteps& steps)
{
    std::vector<std::string> names;
    for (const DrawingStep& step : steps) {
        if (const auto* picture = std::get_if<PictureStep>(&step))
            names.push_back(narrow(picture->picture));
        else if (const auto* text = std::get_if<TextStep>(&step))
            names.push_back(std::holds_alternative<int>(text->text) ? std::to_string(std::get<int>(text->text))
                                                                     : "\"" + narrow(std::get<std::wstring>(text->text)) + "\"");
    }
    return names;
}

bool isOneOf(const std::wstring& code, std::initializer_list<const wchar_t*> codes)
{
    for (const wchar_t* each : codes) {
        if (code == each)
            return true;
    }
    return false;
}

// ---------------------------------------------------------------- options page

TEST(BackupOptionsDrawing, EnglishPageInOrder)
{
    const DrawingSteps steps = backupOptionsDrawing(L"409");
    EXPECT_EQ(outline(steps), (std::vector<std::string>{"background_step.dat", "background_box_1.dat",
                                                        "background_box_1.dat", "10", "11", "12", "13", "firstbg.dat",
                                                        "7", "98", "8", "9", "99", "partition_number_1.dat"}));
    // The frame's top-left 466 x 107, stretched behind the compression choices.
    EXPECT_EQ(std::get<PictureStep>(steps[2]),
              stretchPicture(L"background_box_1.dat", {0, 0, 466, 107}, {225, 238, 565, 323}));
    EXPECT_EQ(std::get<PictureStep>(steps[13]),
              keyedPicture(L"partition_number_1.dat", {0, 0, 24, 34}, 7, 138, black));
    EXPECT_EQ(textStep(steps, 10).font, (FontSpec{10, 700}));
    EXPECT_EQ(textStep(steps, 13).rect, (PixelRect{225, 333, 678, 351}));
    EXPECT_EQ(textStep(steps, 13).font, (FontSpec{10, 400}));
    EXPECT_EQ(textStep(steps, 99).rect, (PixelRect{51, 288, 183, 333}));
    for (const DrawingStep& step : steps) {
        if (const auto* text = std::get_if<TextStep>(&step)) {
            EXPECT_EQ(text->flags, textFlags::wordBreak);
        }
    }
}

TEST(BackupOptionsDrawing, EveryLanguageCodeGetsItsStepPanel)
{
    std::vector<std::wstring> codes = tableCodes;
    codes.insert(codes.end(), {L"c04", L"C0A", L""});
    for (const std::wstring& code : codes) {
        SCOPED_TRACE(narrow(code));
        const DrawingSteps steps = backupOptionsDrawing(code);

        int currentPoints = 12;
        if (isOneOf(code, {L"c0a", L"414", L"816", L"41d", L"408", L"415"}))
            currentPoints = 10;
        if (code == L"419")
            currentPoints = 9;
        const int otherPoints = isOneOf(code, {L"40b", L"414"}) ? 9 : 10;
        int currentTop = 145;
        if (isOneOf(code, {L"416", L"40b", L"40c", L"410", L"41f"}))
            currentTop = 130;
        if (isOneOf(code, {L"c0a", L"816", L"41d", L"408", L"415"}))
            currentTop = 135;
        const int otherLeft = code == L"40b" ? 23 : 41;

        EXPECT_EQ(textStep(steps, 7).rect, (PixelRect{39, currentTop, 183, 208}));
        EXPECT_EQ(textStep(steps, 7).font, (FontSpec{currentPoints, 700}));
        EXPECT_EQ(textStep(steps, 8).rect, (PixelRect{otherLeft, 207, 183, 270}));
        EXPECT_EQ(textStep(steps, 9).rect, (PixelRect{otherLeft, 270, 183, code == L"408" ? 351 : 333}));
        for (int id : {8, 9})
            EXPECT_EQ(textStep(steps, id).font, (FontSpec{otherPoints, 700})) << id;

        const bool secondLines = code == L"409" || code == L"406";
        EXPECT_EQ(indexOfText(steps, 98) >= 0, secondLines);
        EXPECT_EQ(indexOfText(steps, 99) >= 0, secondLines);
        if (secondLines) {
            EXPECT_EQ(textStep(steps, 98).font, textStep(steps, 7).font);
            EXPECT_EQ(textStep(steps, 99).font, textStep(steps, 8).font);
        }

        EXPECT_EQ(colourOf(steps, 10), black);
        for (int id : {7, 9})
            EXPECT_EQ(colourOf(steps, id), white) << id;
    }
}

// ---------------------------------------------------------------- confirm page

BackupJobParameters sampleJob()
{
    BackupJobParameters job;
    job.compression = 2;
    job.description = L"Monday";
    job.imagePath = L"D:\\backup.QVX";
    job.partitionId = 3;
    job.diskId = 0;
    return job;
}

struct Emphasis {
    int a;           // left of text 19
    int bLeft, bRight; // text 26
    int c1, c2, cRight; // left of 28, left and right of 29
};

// The three tables, as the page's wording places the emphasised parts.
const std::map<std::wstring, Emphasis> emphasis = {
    {L"409", {400, 365, 678, 255, 285, 678}}, {L"40b", {416, 425, 720, 283, 318, 678}},
    {L"804", {348, 348, 720, 252, 295, 678}}, {L"416", {463, 394, 678, 286, 320, 678}},
    {L"40c", {465, 397, 720, 293, 328, 678}}, {L"404", {390, 345, 720, 255, 285, 678}},
    {L"406", {480, 355, 720, 270, 303, 678}}, {L"410", {478, 450, 720, 412, 442, 678}},
    {L"408", {480, 480, 720, 510, 540, 720}}, {L"407", {480, 400, 720, 290, 323, 678}},
    {L"414", {400, 368, 720, 256, 287, 678}}, {L"415", {418, 467, 720, 364, 394, 720}},
    {L"c0a", {480, 367, 720, 298, 356, 678}}, {L"816", {440, 357, 720, 285, 316, 678}},
    {L"419", {430, 435, 720, 405, 438, 720}}, {L"41d", {495, 408, 720, 283, 316, 678}},
    {L"41f", {410, 407, 720, 257, 318, 720}}, {L"412", {365, 335, 678, 340, 385, 678}},
};

TEST(BackupConfirmDrawing, EnglishPageInOrder)
{
    const DrawingSteps steps = backupConfirmDrawing(L"409", sampleJob());
    EXPECT_EQ(outline(steps),
              (std::vector<std::string>{"background_step.dat", "17", "18", "19", "21", "22", "23", "24",
                                        "\"D:\\backup.QVX\"", "\"Monday\"", "\"Fast Compression\"", "25", "26",
                                        "27", "28", "29", "popup_warning.dat", "30", "31", "secondbg.dat", "14",
                                        "98", "15", "16", "99", "partition_number_2.dat"}));
    EXPECT_EQ(std::get<PictureStep>(steps[16]),
              keyedPicture(L"popup_warning.dat", {0, 0, 38, 38}, 235, 355, 0xDFDFDF));
    EXPECT_EQ(textStep(steps, 17).font, (FontSpec{10, 700}));
    EXPECT_EQ(textStep(steps, 22).rect, (PixelRect{252, 196, 678, 232}));
    EXPECT_EQ(textStep(steps, 30).rect, (PixelRect{275, 362, 678, 380}));
    EXPECT_EQ(textStep(steps, 31).rect, (PixelRect{222, 390, 678, 426}));
    for (int id : {18, 25, 27, 29, 31})
        EXPECT_EQ(textStep(steps, id).font, (FontSpec{10, 400})) << id;
    for (int id : {17, 18, 21, 24, 27})
        EXPECT_EQ(colourOf(steps, id), black) << id;
    for (int id : {25, 31})
        EXPECT_EQ(colourOf(steps, id), red) << id;
}

// Each value in its own 36-pixel row of the values column, in black body
// text clipped to the row (the skin layer's clipping is tested with it), so a
// long path wraps but never reaches the next row; the compression's name is
// fixed in every language.
TEST(BackupConfirmDrawing, SummaryValuesStayInTheirRows)
{
    const std::pair<int, const wchar_t*> names[] = {
        {1, L"None Compression"}, {2, L"Fast Compression"}, {3, L"Maximum Compression"}, {0, L""}, {4, L""}};
    for (const auto& [compression, name] : names) {
        BackupJobParameters job = sampleJob();
        job.compression = compression;
        job.imagePath = L"E:\\a very long folder name\\and another one that goes on\\and on\\backup of Monday.QVX";
        for (const wchar_t* code : {L"409", L"412", L"c04"}) {
            const DrawingSteps steps = backupConfirmDrawing(code, job);
            // The three values come just before the warning, text 25.
            const auto first = static_cast<std::size_t>(indexOfText(steps, 25) - 3);
            const std::wstring values[] = {job.imagePath, L"Monday", name};
            for (std::size_t row = 0; row < 3; ++row) {
                const auto& value = std::get<TextStep>(steps[first + row]);
                EXPECT_EQ(std::get<std::wstring>(value.text), values[row]) << compression;
                EXPECT_EQ(value.rect, (PixelRect{370, 196 + 36 * static_cast<int>(row), 678, 232 + 36 * static_cast<int>(row)}));
                EXPECT_EQ(value.font, (FontSpec{10, 400}));
                EXPECT_EQ(value.flags, textFlags::wordBreak) << "clipped to its rectangle";
                EXPECT_EQ(colourInForce(steps, first + row), black);
            }
        }
    }
}

TEST(BackupConfirmDrawing, EveryLanguageCodeGetsItsEmphasisAndStepPanel)
{
    for (const std::wstring& code : tableCodes) {
        SCOPED_TRACE(narrow(code));
        const DrawingSteps steps = backupConfirmDrawing(code, sampleJob());
        const Emphasis& row = emphasis.at(code);

        EXPECT_EQ(textStep(steps, 19).rect, (PixelRect{row.a, 124, 678, 142}));
        EXPECT_EQ(colourOf(steps, 19), blue);
        if (code == L"412") { // and text 20, in black, after the blue part
            EXPECT_EQ(indexOfText(steps, 20), indexOfText(steps, 19) + 1);
            EXPECT_EQ(textStep(steps, 20).rect, (PixelRect{410, 124, 678, 142}));
            EXPECT_EQ(colourOf(steps, 20), black);
        } else {
            EXPECT_EQ(indexOfText(steps, 20), -1);
        }
        EXPECT_EQ(textStep(steps, 26).rect, (PixelRect{row.bLeft, 315, row.bRight, 333}));
        EXPECT_EQ(colourOf(steps, 26), black);
        EXPECT_EQ(textStep(steps, 28).rect, (PixelRect{row.c1, 333, 678, 351}));
        EXPECT_EQ(colourOf(steps, 28), blue);
        EXPECT_EQ(textStep(steps, 29).rect, (PixelRect{row.c2, 333, row.cRight, 351}));
        for (int id : {27, 29, 30})
            EXPECT_EQ(colourOf(steps, id), black) << id;
        EXPECT_LT(indexOfText(steps, 26), indexOfText(steps, 27));
        EXPECT_LT(indexOfText(steps, 27), indexOfText(steps, 28));

        const int currentPoints = code == L"407" ? 11 : 12;
        const int otherPoints = isOneOf(code, {L"40b", L"414"}) ? 9 : 10;
        EXPECT_EQ(textStep(steps, 15).font, (FontSpec{currentPoints, 700}));
        EXPECT_EQ(textStep(steps, 15).rect, (PixelRect{39, 208, 183, 271}));
        for (int id : {14, 16})
            EXPECT_EQ(textStep(steps, id).font, (FontSpec{otherPoints, 700})) << id;
        const int otherLeft = code == L"40b" ? 23 : 41;
        const int firstTop = code == L"408" || code == L"419" ? 124 : 144;
        EXPECT_EQ(textStep(steps, 14).rect, (PixelRect{otherLeft, firstTop, 183, 207}));
        EXPECT_EQ(textStep(steps, 16).rect, (PixelRect{otherLeft, 270, 183, code == L"408" ? 351 : 333}));
        EXPECT_EQ(colourOf(steps, 14), otherStepGrey);
        EXPECT_EQ(colourOf(steps, 16), white);

        const bool secondLines = code == L"409" || code == L"406";
        EXPECT_EQ(indexOfText(steps, 98) >= 0, secondLines);
        EXPECT_EQ(indexOfText(steps, 99) >= 0, secondLines);
        if (secondLines) {
            EXPECT_EQ(colourOf(steps, 98), otherStepGrey);
            EXPECT_EQ(textStep(steps, 99).font, (FontSpec{otherPoints, 700}));
        }
    }
}

TEST(BackupConfirmDrawing, ALanguageWithoutARowDrawsNoEmphasisAndItsWarningsInRed)
{
    for (const wchar_t* code : {L"c04", L"C0A", L"0409", L""}) {
        SCOPED_TRACE(narrow(code));
        const DrawingSteps steps = backupConfirmDrawing(code, sampleJob());
        for (int id : {19, 20, 26, 28, 29})
            EXPECT_EQ(indexOfText(steps, id), -1) << id;
        EXPECT_EQ(colourOf(steps, 27), red);
        EXPECT_EQ(colourOf(steps, 30), red);
        EXPECT_EQ(colourOf(steps, 21), black);
        // The default layout elsewhere.
        EXPECT_EQ(textStep(steps, 15).font, (FontSpec{12, 700}));
        EXPECT_EQ(textStep(steps, 14).rect, (PixelRect{41, 144, 183, 207}));
        EXPECT_EQ(indexOfText(steps, 98), -1);
    }
}

} // namespace
} // namespace quorvane
