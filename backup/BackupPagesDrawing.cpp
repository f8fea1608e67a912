#include "backup/BackupPagesDrawing.h"

#include <algorithm>
#include <initializer_list>
#include <optional>

namespace quorvane {

namespace {

// Where the confirm page's emphasised parts start (and end) per language, so
// that each follows the part before it in that language's wording.
struct EmphasisRow {
    const wchar_t* code;
    int text19Left;
    int text26Left;
    int text26Right;
    int text28Left;
    int text29Left;
    int text29Right;
};

constexpr EmphasisRow emphasisRows[] = {
    {L"409", 400, 365, 678, 255, 285, 678}, {L"416", 463, 394, 678, 286, 320, 678},
    {L"406", 480, 355, 720, 270, 303, 678}, {L"407", 480, 400, 720, 290, 323, 678},
    {L"c0a", 480, 367, 720, 298, 356, 678}, {L"41d", 495, 408, 720, 283, 316, 678},
    {L"40b", 416, 425, 720, 283, 318, 678}, {L"40c", 465, 397, 720, 293, 328, 678},
    {L"410", 478, 450, 720, 412, 442, 678}, {L"414", 400, 368, 720, 256, 287, 678},
    {L"816", 440, 357, 720, 285, 316, 678}, {L"41f", 410, 407, 720, 257, 318, 720},
    {L"804", 348, 348, 720, 252, 295, 678}, {L"404", 390, 345, 720, 255, 285, 678},
    {L"408", 480, 480, 720, 510, 540, 720}, {L"415", 418, 467, 720, 364, 394, 720},
    {L"419", 430, 435, 720, 405, 438, 720}, {L"412", 365, 335, 678, 340, 385, 678},
};

const EmphasisRow* emphasisRow(const std::wstring& code)
{
    for (const EmphasisRow& row : emphasisRows) {
        if (code == row.code)
            return &row;
    }
    return nullptr;
}

} // namespace

DrawingSteps backupOptionsDrawing(const std::wstring& code)
{
    const FontSpec fontA{10, 400};
    const FontSpec fontB{10, 700};
    FontSpec fontC{12, 700};
    if (isOneOf(code, {L"c0a", L"414", L"816", L"41d", L"408", L"415"}))
        fontC.points = 10;
    if (code == L"419")
        fontC.points = 9;
    FontSpec fontD{10, 700};
    if (isOneOf(code, {L"40b", L"414"}))
        fontD.points = 9;

    DrawingSteps steps{
        wizardBackground(),
        stretchPicture(L"background_box_1.dat", {0, 0, 466, 107}, {212, 142, 212 + 466, 142 + 252}),
        stretchPicture(L"background_box_1.dat", {0, 0, 466, 107}, {225, 238, 225 + 340, 238 + 85}),
        catalogueText(10, fontB, black, {222, 88, contentRight, 106}),
        catalogueText(11, fontA, std::nullopt, {225, 150, contentRight, 168}),
        catalogueText(12, fontA, std::nullopt, {225, 215, contentRight, 233}),
        catalogueText(13, fontA, std::nullopt, {225, 333, contentRight, 351}),
        copyPicture(L"firstbg.dat", 183, 57, 0, 130),
    };

    int currentTop = 145;
    if (isOneOf(code, {L"416", L"40b", L"40c", L"410", L"41f"}))
        currentTop = 130;
    if (isOneOf(code, {L"c0a", L"816", L"41d", L"408", L"415"}))
        currentTop = 135;
    steps.push_back(catalogueText(7, fontC, white, {39, currentTop, 183, 208}));
    if (hasSecondStepLines(code))
        steps.push_back(catalogueText(98, fontC, std::nullopt, {39, 163, 183, 208}));

    const int otherLeft = code == L"40b" ? 23 : 41;
    steps.push_back(catalogueText(8, fontD, std::nullopt, {otherLeft, 207, 183, 270}));
    steps.push_back(catalogueText(9, fontD, std::nullopt, {otherLeft, 270, 183, code == L"408" ? 351 : 333}));
    if (hasSecondStepLines(code))
        steps.push_back(catalogueText(99, fontD, std::nullopt, {51, 288, 183, 333}));

    steps.push_back(keyedPicture(L"partition_number_1.dat", {0, 0, 24, 34}, 7, 138, black));
    return steps;
}

std::wstring compressionName(int compression)
{
    switch (compression) {
    case 1:
        return L"None Compression";
    case 2:
        return L"Fast Compression";
    case 3:
        return L"Maximum Compression";
    default:
        return {};
    }
}

DrawingSteps backupConfirmDrawing(const std::wstring& code, const BackupJobParameters& job)
{
    const FontSpec body{10, 400};
    const FontSpec heading{10, 700};
    const FontSpec currentStep{code == L"407" ? 11 : 12, 700};
    const FontSpec otherStep{isOneOf(code, {L"40b", L"414"}) ? 9 : 10, 700};
    const EmphasisRow* row = emphasisRow(code);
    const auto value = [&](std::wstring text, int top) {
        return TextStep{std::move(text), body, std::nullopt, {370, top, contentRight, top + 36}, textFlags::wordBreak};
    };

    DrawingSteps steps{
        wizardBackground(),
        catalogueText(17, heading, black, {222, 88, contentRight, 106}),
        catalogueText(18, body, std::nullopt, {222, 124, contentRight, 142}),
    };
    if (row) {
        steps.push_back(catalogueText(19, body, blue, {row->text19Left, 124, contentRight, 142}));
        if (code == L"412")
            steps.push_back(catalogueText(20, body, black, {410, 124, contentRight, 142}));
    }
    steps.push_back(catalogueText(21, body, black, {222, 160, contentRight, 178}));
    steps.push_back(catalogueText(22, body, std::nullopt, {252, 196, contentRight, 232}));
    steps.push_back(catalogueText(23, body, std::nullopt, {252, 232, contentRight, 268}));
    steps.push_back(catalogueText(24, body, std::nullopt, {252, 268, contentRight, 304}));
    steps.push_back(value(job.imagePath, 196));
    steps.push_back(value(job.description, 232));
    steps.push_back(value(compressionName(job.compression), 268));

    steps.push_back(catalogueText(25, body, red, {222, 315, contentRight, 333}));
    if (row)
        steps.push_back(catalogueText(26, body, black, {row->text26Left, 315, row->text26Right, 333}));
    // Without a row the warning's red stays in force for texts 27 and 30.
    steps.push_back(catalogueText(27, body, std::nullopt, {222, 333, contentRight, 351}));
    if (row) {
        steps.push_back(catalogueText(28, body, blue, {row->text28Left, 333, contentRight, 351}));
        steps.push_back(catalogueText(29, body, black, {row->text29Left, 333, row->text29Right, 351}));
    }
    steps.push_back(keyedPicture(L"popup_warning.dat", {0, 0, 38, 38}, 235, 355, 0xDFDFDF));
    steps.push_back(catalogueText(30, body, std::nullopt, {275, 362, contentRight, 380}));
    steps.push_back(catalogueText(31, body, red, {222, 390, contentRight, 426}));

    steps.push_back(copyPicture(L"secondbg.dat", 183, 57, 0, 190));
    const int otherLeft = code == L"40b" ? 23 : 41;
    const int firstTop = isOneOf(code, {L"408", L"419"}) ? 124 : 144;
    steps.push_back(catalogueText(14, otherStep, otherStepGrey, {otherLeft, firstTop, 183, 207}));
    if (hasSecondStepLines(code))
        steps.push_back(catalogueText(98, otherStep, std::nullopt, {51, 162, 183, 207}));
    steps.push_back(catalogueText(15, currentStep, white, {39, 208, 183, 271}));
    steps.push_back(catalogueText(16, otherStep, std::nullopt, {otherLeft, 270, 183, code == L"408" ? 351 : 333}));
    if (hasSecondStepLines(code))
        steps.push_back(catalogueText(99, otherStep, std::nullopt, {51, 288, 183, 333}));
    steps.push_back(keyedPicture(L"partition_number_2.dat", {0, 0, 24, 34}, 7, 201, black));
    return steps;
}

} // namespace quorvane
