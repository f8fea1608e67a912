#include "restore/RestorePagesDrawing.h"

#include "app/StringCatalogue.h"
#include "job/JobContent.h"
#include "restore/RestoreRules.h"

#include <algorithm>

namespace quorvane {

namespace {

constexpr Colour dataSizeGrey = 0xD2D2D2;
constexpr int barTop = 385;
constexpr int barHeight = 36;
constexpr int barLeft = 237;
constexpr PixelRect barMiddleSource{0, 0, 411, 36};

constexpr int textFactoryName = 59;
constexpr int textFactoryPath = 60;
constexpr int textSystemPartition = 50;

// Where the confirm page's emphasised parts start per language, so that each
// follows the part before it in that language's wording: text 34, then texts
// 42 and 43.
struct ConfirmRow {
    const wchar_t* code;
    int text34Left;
    int text42Left;
    int text43Left;
};

constexpr ConfirmRow confirmRows[] = {
    {L"409", 400, 255, 285}, {L"416", 460, 286, 320}, {L"406", 480, 270, 303}, {L"407", 480, 290, 323},
    {L"c0a", 480, 298, 356}, {L"40b", 415, 283, 318}, {L"40c", 464, 293, 328}, {L"410", 480, 302, 334},
    {L"414", 410, 256, 287}, {L"816", 440, 285, 316}, {L"41d", 495, 283, 316}, {L"804", 347, 253, 296},
    {L"404", 389, 257, 290}, {L"408", 482, 410, 442}, {L"415", 419, 260, 293}, {L"419", 430, 287, 320},
    {L"41f", 410, 257, 320}, {L"412", 365, 340, 385},
};

const ConfirmRow* confirmRow(const std::wstring& code)
{
    const auto row = std::ranges::find_if(confirmRows, [&](const ConfirmRow& each) { return code == each.code; });
    return row == std::end(confirmRows) ? nullptr : row;
}

TextStep literalText(std::wstring text, FontSpec font, std::optional<Colour> colour, PixelRect rect,
                     unsigned flags = textFlags::wordBreak)
{
    return {std::move(text), font, colour, rect, flags};
}

} // namespace

std::vector<PictureStep> partitionBar(std::uint32_t systemMB, std::uint32_t mbPerPixel)
{
    if (mbPerPixel == 0)
        return {};
    // A data partition smaller than the scale's rounding can leave the green
    // share past the bar's end; it stops at the end.
    const int green = static_cast<int>(std::min(systemMB / mbPerPixel, partitionBarWidth));
    const int barWidth = static_cast<int>(partitionBarWidth);
    std::vector<PictureStep> pieces{copyPicture(L"partition_green_start.dat", 10, barHeight, barLeft, barTop)};
    if (green - 8 > 0)
        pieces.push_back(stretchPicture(L"partition_green_mid.dat", barMiddleSource,
                                        {barLeft + 10, barTop, barLeft + 10 + green - 8, barTop + barHeight}));
    pieces.push_back(copyPicture(L"partition_green_end.dat", 10, barHeight, green + 239, barTop));
    if (barWidth - green > 0)
        pieces.push_back(stretchPicture(L"partition_violet_mid.dat", barMiddleSource,
                                        {green + 249, barTop, green + 249 + barWidth - green, barTop + barHeight}));
    pieces.push_back(copyPicture(L"partition_violet_end.dat", 10, barHeight, 658, barTop));
    return pieces;
}

DrawingSteps restoreSelectDrawing(const std::wstring& code, const RestoreSelectView& view)
{
    const FontSpec f1{10, 400};
    const FontSpec f2{10, 700};
    FontSpec f3{12, 700};
    if (code == L"407")
        f3.points = 9;
    if (isOneOf(code, {L"414", L"41d"}))
        f3.points = 10;
    FontSpec f4{10, 700};
    if (code == L"407")
        f4.points = 8;
    if (isOneOf(code, {L"40b", L"414"}))
        f4.points = 9;
    const FontSpec figures{9, 400, FaceRule::arial};
    const bool hasData = view.dataMB != 0;

    DrawingSteps steps{
        wizardBackground(),
        stretchPicture(L"background_box_1.dat", {0, 0, 466, 107}, {213, 342, 213 + 466, 342 + 85}),
        catalogueText(51, f2, black, {222, 88, contentRight, 106}),
        catalogueText(52, f1, std::nullopt, {225, 124, contentRight, 142}),
        catalogueText(61, f1, std::nullopt, {225, 270, contentRight, 288}),
        literalText(view.shownImageName, f1, std::nullopt, imageDescriptionArea),
        catalogueText(62, f1, std::nullopt, {225, 324, contentRight, 342}),
        keyedPicture(L"c_drive_enabled.dat", {0, 0, 42, 30}, 237, 352, magenta),
    };
    if (hasData)
        steps.push_back(keyedPicture(L"d_drive_enabled.dat", {0, 0, 42, 30}, 625, 352, magenta));
    steps.push_back(literalText(view.systemSizeText, figures, black, {285, 360, 385, 378}));
    if (hasData)
        steps.push_back(literalText(view.dataSizeText, figures, std::nullopt, {550, 360, 625, 378}));
    for (PictureStep& piece : partitionBar(view.systemMB, view.mbPerPixel))
        steps.push_back(std::move(piece));
    steps.push_back(literalText(view.systemSizeText, f3, black, {245, 395, 445, 413}));
    if (hasData)
        steps.push_back(literalText(view.dataSizeText, f3, dataSizeGrey, {465, 395, 665, 413},
                                    textFlags::wordBreak | textFlags::right));

    steps.push_back(copyPicture(L"firstbg.dat", 183, 57, 0, 130));
    PixelRect current{39, 145, 183, 208};
    if (isOneOf(code, {L"416", L"c0a", L"40b", L"40c", L"410", L"816", L"408", L"415", L"419"}))
        current.top = 130;
    if (code == L"407")
        current.left = 28;
    steps.push_back(catalogueText(53, f3, white, current));
    if (hasSecondStepLines(code))
        steps.push_back(catalogueText(96, f3, std::nullopt, {39, 163, 183, 208}));
    const int otherLeft = isOneOf(code, {L"407", L"40b"}) ? 23 : 41;
    steps.push_back(catalogueText(54, f4, std::nullopt, {otherLeft, 207, 183, 270}));
    steps.push_back(catalogueText(55, f4, std::nullopt, {otherLeft, 270, 183, 333}));
    if (hasSecondStepLines(code))
        steps.push_back(catalogueText(97, f4, std::nullopt, {51, 288, 183, 333}));
    steps.push_back(keyedPicture(L"partition_number_1.dat", {0, 0, 24, 34}, 7, 138, black));
    return steps;
}

DrawingSteps restoreConfirmDrawing(const std::wstring& code, const RestoreJobParameters& job,
                                   const StringCatalogue& texts)
{
    const FontSpec body{10, 400};
    const FontSpec heading{10, 700};
    const FontSpec currentStep{code == L"407" ? 10 : 12, 700};
    FontSpec otherStep{10, 700};
    if (code == L"407")
        otherStep.points = 8;
    if (isOneOf(code, {L"40b", L"414"}))
        otherStep.points = 9;
    const ConfirmRow* row = confirmRow(code);
    const bool korean = code == L"412";

    DrawingSteps steps{
        wizardBackground(),
        catalogueText(32, heading, black, {222, 88, contentRight, 106}),
        catalogueText(33, body, std::nullopt, {222, 124, contentRight, 142}),
    };
    if (row) {
        steps.push_back(catalogueText(34, body, blue, {row->text34Left, 124, contentRight, 142}));
        if (korean)
            steps.push_back(catalogueText(89, body, black, {410, 124, contentRight, 142}));
    }
    steps.push_back(catalogueText(35, body, black, {222, 142, contentRight, 160}));
    steps.push_back(catalogueText(36, body, std::nullopt, {252, 178, contentRight, 214}));
    steps.push_back(catalogueText(37, body, std::nullopt, {252, 214, contentRight, 250}));
    steps.push_back(catalogueText(38, body, std::nullopt, {252, 250, contentRight, 268}));
    steps.push_back(catalogueText(49, body, std::nullopt, {252, 268, contentRight, 286}));
    steps.push_back(literalText(job.imagePath, body, std::nullopt, {370, 178, contentRight, 214}));
    steps.push_back(literalText(job.imageName, body, std::nullopt, {370, 214, contentRight, 250}));
    // The factory image has no file here whose size could be shown.
    const bool factory = isFactoryEntry(job, texts.text(textFactoryName), texts.text(textFactoryPath));
    steps.push_back(literalText(factory ? std::wstring() : megabytesText(job.imageSize), body, std::nullopt,
                                {370, 250, contentRight, 268}));
    steps.push_back(literalText(job.systemDriveText + L" " + texts.text(textSystemPartition), body, std::nullopt,
                                {code == L"415" ? 390 : 370, 268, contentRight, 304}));

    steps.push_back(catalogueText(40, body, black, {222, 309, 720, 327}));
    if (korean) {
        steps.push_back(catalogueText(90, body, red, {410, 309, contentRight, 327}));
        steps.push_back(catalogueText(91, body, black, {530, 309, contentRight, 327}));
    }
    steps.push_back(catalogueText(41, body, black, {222, 327, contentRight, 345}));
    if (row) {
        steps.push_back(catalogueText(42, body, blue, {row->text42Left, 327, contentRight, 345}));
        steps.push_back(catalogueText(43, body, black, {row->text43Left, 327, contentRight, 345}));
    }
    steps.push_back(keyedPicture(L"popup_warning.dat", {0, 0, 38, 38}, 235, 349, 0xDFDFDF));
    steps.push_back(catalogueText(44, body, black, {275, 356, contentRight, 374}));
    steps.push_back(catalogueText(45, body, red, {222, 384, contentRight, 456}));
    if (code == L"408")
        steps.push_back(catalogueText(20, body, std::nullopt, {222, 447, contentRight, 480}));

    steps.push_back(copyPicture(L"secondbg.dat", 183, 57, 0, 190));
    const int otherLeft = isOneOf(code, {L"407", L"40b"}) ? 23 : 41;
    steps.push_back(catalogueText(46, otherStep, otherStepGrey, {otherLeft, 144, 183, 207}));
    if (hasSecondStepLines(code))
        steps.push_back(catalogueText(96, otherStep, std::nullopt, {51, 162, 183, 207}));
    steps.push_back(catalogueText(47, currentStep, white, {39, 208, 183, 271}));
    steps.push_back(catalogueText(48, otherStep, std::nullopt, {otherLeft, 270, 183, 333}));
    if (hasSecondStepLines(code))
        steps.push_back(catalogueText(97, otherStep, std::nullopt, {51, 288, 183, 333}));
    steps.push_back(keyedPicture(L"partition_number_2.dat", {0, 0, 24, 34}, 7, 201, black));
    return steps;
}

} // namespace quorvane
