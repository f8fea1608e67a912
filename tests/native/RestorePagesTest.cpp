// The restore selection page's rules (the partition sizes it shows, which
// image a row stands for, the row texts) and what both restore pages draw:
// the order of the steps, the partition bar, the step panels of a few
// languages and the confirm page's per-language places for every code.
#include "app/StringCatalogue.h"
#include "job/JobContent.h"
#include "native/support/DrawingChecks.h"
#include "restore/RestorePagesDrawing.h"
#include "restore/RestoreRules.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

using namespace testing;

constexpr std::int64_t megabyte = 1 << 20;
constexpr std::int64_t gigabyte = std::int64_t{1} << 30;

TEST(RestoreRules, PartitionSizesAsThePageShowsThem)
{
    struct Case {
        std::int64_t system, data;
        const wchar_t* systemText;
        const wchar_t* dataText;
        std::uint32_t mbPerPixel;
    };
    const Case cases[] = {
        {100 * gigabyte, 50 * gigabyte, L"100 GB(66%)", L"50 GB(34%)", 370},
        // Shown sizes are rounded up from megabytes, percentages come from whole gigabytes.
        {1500 * megabyte, 100 * megabyte, L"2 GB(100%)", L"0 GB(0%)", 3},
        // 29 / 100 times 100 is just under 29 in double precision.
        {29 * gigabyte, 71 * gigabyte, L"29 GB(28%)", L"71 GB(72%)", 246},
        {1024 * megabyte, 0, L"1 GB(100%)", L"0 GB(0%)", 2},
        {0, 1024 * megabyte + 1, L"0 GB(0%)", L"1 GB(100%)", 2},
        // Nothing to restore onto: under 1 GB each, or not there at all.
        {900 * megabyte, 0, L"", L"", 2},
        {gigabyte - 1, gigabyte - 1, L"", L"", 4},
        {0, 0, L"", L"", 0},
    };
    for (const Case& each : cases) {
        const PartitionSizes sizes = measurePartitions(each.system, each.data);
        EXPECT_EQ(sizes.bothUnderOneGB(), *each.systemText == L'\0') << each.system;
        EXPECT_EQ(sizes.systemSizeText, each.systemText);
        EXPECT_EQ(sizes.dataSizeText, each.dataText);
        EXPECT_EQ(sizes.mbPerPixel, each.mbPerPixel);
    }
}

TEST(RestoreRules, RowsStandForTheFactoryEntryTheCatalogueAndTheOtherFile)
{
    const auto kind = [](int row, bool factory, std::size_t count) {
        const ListRow chosen = listRowAt(row, factory, count);
        const char* names[] = {"nothing", "factory", "image ", "other"};
        return names[static_cast<int>(chosen.kind)]
            + (chosen.kind == RowKind::catalogue ? std::to_string(chosen.catalogueIndex) : "");
    };
    const std::vector<std::string> withFactory = {"nothing", "factory", "image 0", "image 1", "other", "other"};
    const std::vector<std::string> without = {"nothing", "image 0", "image 1", "other", "other", "other"};
    for (int row = -1; row <= 4; ++row) {
        EXPECT_EQ(kind(row, true, 2), withFactory[static_cast<std::size_t>(row + 1)]) << row;
        EXPECT_EQ(kind(row, false, 2), without[static_cast<std::size_t>(row + 1)]) << row;
    }
    EXPECT_EQ(kind(1, true, 0), "other");
}

// The row texts of listed images are seen by the Windows restore tests; here
// the edges: a path without a backslash, a size under 1 MB, one past 4 GB.
TEST(RestoreRules, RowTexts)
{
    EXPECT_EQ(fileNameOf(L"image.QVX"), L"image.QVX");
    EXPECT_EQ(folderOf(L"image.QVX"), L"");
    EXPECT_EQ(megabytesText(megabyte - 1), L"0 MB");
    EXPECT_EQ(megabytesText(5368709120), L"5120 MB");
    EXPECT_EQ(systemDriveText(L"100 GB(66%)"), L"C: 100 GB(66%)");
}

// The pieces of the bar as (picture, left, width), each 36 high at 385.
std::vector<std::tuple<std::string, int, int>> barPieces(std::uint32_t systemMB, std::uint32_t mbPerPixel)
{
    std::vector<std::tuple<std::string, int, int>> pieces;
    for (const PictureStep& piece : partitionBar(systemMB, mbPerPixel)) {
        EXPECT_TRUE(piece.destination.top == 385 && piece.destination.height() == 36);
        pieces.emplace_back(narrow(piece.picture), piece.destination.left, piece.destination.width());
    }
    return pieces;
}

TEST(RestoreSelectDrawing, PartitionBarGeometry)
{
    using Pieces = std::vector<std::tuple<std::string, int, int>>;
    // 100 and 50 GB: 370 MB a pixel, the system's share g = 276; green ends at 525.
    EXPECT_EQ(barPieces(102400, 370), (Pieces{{"partition_green_start.dat", 237, 10},
                                              {"partition_green_mid.dat", 247, 268},
                                              {"partition_green_end.dat", 515, 10},
                                              {"partition_violet_mid.dat", 525, 139},
                                              {"partition_violet_end.dat", 658, 10}}));
    // No system share: no green middle.
    EXPECT_EQ(barPieces(0, 1), (Pieces{{"partition_green_start.dat", 237, 10}, {"partition_green_end.dat", 239, 10},
                                       {"partition_violet_mid.dat", 249, 415}, {"partition_violet_end.dat", 658, 10}}));
    // 900 MB alone (painted while message 94 is up): g = 450 stops at the bar's end.
    EXPECT_EQ(barPieces(900, 2), (Pieces{{"partition_green_start.dat", 237, 10}, {"partition_green_mid.dat", 247, 407},
                                         {"partition_green_end.dat", 654, 10}, {"partition_violet_end.dat", 658, 10}}));
    // Before the partitions were measured there is no bar: no division by zero.
    EXPECT_TRUE(barPieces(102400, 0).empty());
}

TEST(RestoreSelectDrawing, EnglishPageInOrderAndWithoutADataPartition)
{
    const DrawingSteps steps = restoreSelectDrawing(L"409", {L"Monday", L"100 GB(66%)", L"50 GB(34%)", 102400, 51200, 370});
    EXPECT_EQ(outline(steps),
              (std::vector<std::string>{"background_step.dat", "background_box_1.dat", "51", "52", "61", "\"Monday\"", "62",
                                        "c_drive_enabled.dat", "d_drive_enabled.dat", "\"100 GB(66%)\"", "\"50 GB(34%)\"",
                                        "partition_green_start.dat", "partition_green_mid.dat", "partition_green_end.dat",
                                        "partition_violet_mid.dat", "partition_violet_end.dat", "\"100 GB(66%)\"",
                                        "\"50 GB(34%)\"", "firstbg.dat", "53", "96", "54", "55", "97",
                                        "partition_number_1.dat"}));
    EXPECT_EQ(std::get<PictureStep>(steps[1]),
              stretchPicture(L"background_box_1.dat", {0, 0, 466, 107}, {213, 342, 679, 427}));
    EXPECT_EQ(std::get<PictureStep>(steps[7]), keyedPicture(L"c_drive_enabled.dat", {0, 0, 42, 30}, 237, 352, magenta));
    expectText(steps, 51, {222, 88, 678, 106}, {10, 700}, black);
    expectText(steps, 61, {225, 270, 678, 288}, {10, 400}, black);
    // The sizes: Arial 9 beside the drives, the page's face over the bar; the
    // data's in grey, from the right.
    EXPECT_EQ(std::get<TextStep>(steps[9]), (TextStep{L"100 GB(66%)", {9, 400, FaceRule::arial}, black,
                                                      {285, 360, 385, 378}, textFlags::wordBreak}));
    EXPECT_EQ(std::get<TextStep>(steps[17]), (TextStep{L"50 GB(34%)", {12, 700}, Colour{0xD2D2D2}, {465, 395, 665, 413},
                                                       textFlags::wordBreak | textFlags::right}));

    // Without a data partition: no D drive and no data texts, one violet piece.
    const std::vector<std::string> alone = outline(restoreSelectDrawing(L"409", {L"", L"100 GB(100%)", L"0 GB(0%)", 102400, 0, 246}));
    EXPECT_EQ(std::ranges::count(alone, "d_drive_enabled.dat"), 0);
    EXPECT_EQ(std::ranges::count(alone, "\"0 GB(0%)\""), 0);
    EXPECT_EQ(std::ranges::count(alone, "partition_violet_end.dat"), 1);
}

// The step panels of both pages for languages whose sizes and places differ,
// and a code without a row.
TEST(RestorePagesDrawing, StepPanelsOfBothPages)
{
    const StepPanel panels[] = {
        {L"409", 12, 39, 145, 10, 41, 333, 144, 12}, {L"407", 9, 28, 145, 8, 23, 333, 144, 10},
        {L"40b", 12, 39, 130, 9, 23, 333, 144, 12},  {L"414", 10, 39, 145, 9, 41, 333, 144, 12},
        {L"c04", 12, 39, 145, 10, 41, 333, 144, 12},
    };
    for (const StepPanel& p : panels)
        expectStepPanels(p, restoreSelectDrawing(p.code, {}), {53, 54, 55}, restoreConfirmDrawing(p.code, {}, {}),
                         {46, 47, 48}, {96, 97});
}

const StringCatalogue factoryTexts = catalogueOf({{50, L"(system partition)"}, {59, L"Factory image"}, {60, L"Recovery partition"}});

RestoreJobParameters listedJob(std::int64_t size, std::uint32_t partId = 3)
{
    return {.imageSize = size, .diskId = 0, .partId = partId, .imagePath = L"d:\\Monday.QVX", .imageName = L"Monday",
            .systemDriveText = L"C: 100 GB(66%)"};
}

// The literal text drawn at `top` in the value column.
std::wstring valueAt(const DrawingSteps& steps, int top)
{
    for (const DrawingStep& step : steps) {
        const auto* text = std::get_if<TextStep>(&step);
        if (text && text->rect.top == top && text->rect.left >= 370 && std::holds_alternative<std::wstring>(text->text))
            return std::get<std::wstring>(text->text);
    }
    return L"(none)";
}

TEST(RestoreConfirmDrawing, SummaryValuesAndTheFactoryEntry)
{
    const DrawingSteps listed = restoreConfirmDrawing(L"409", listedJob(1572864), factoryTexts);
    EXPECT_EQ(valueAt(listed, 178), L"d:\\Monday.QVX");
    EXPECT_EQ(valueAt(listed, 214), L"Monday");
    EXPECT_EQ(valueAt(listed, 250), L"1 MB");
    EXPECT_EQ(valueAt(listed, 268), L"C: 100 GB(66%) (system partition)");
    // The factory entry has no size; a listed image of size 0 on partition 1 is no factory entry.
    RestoreJobParameters factory = listedJob(0, 1);
    factory.imagePath = L"Recovery partition";
    factory.imageName = L"Factory image";
    EXPECT_EQ(valueAt(restoreConfirmDrawing(L"409", factory, factoryTexts), 250), L"");
    EXPECT_EQ(valueAt(restoreConfirmDrawing(L"409", listedJob(0, 1), factoryTexts), 250), L"0 MB");
}

// Where the emphasised parts start (texts 34, 42 and 43) in English and in the
// languages with rules of their own: Korean's and Greek's own texts, Polish's
// shifted system partition; codes without a row draw none. That the parts meet
// in every language is measured by the fit check.
TEST(RestoreConfirmDrawing, TheLanguagesWithRulesOfTheirOwnFindTheirPlaces)
{
    struct Row {
        int text34, text42, text43;
    };
    const std::map<std::wstring, Row> rows = {
        {L"409", {400, 255, 285}}, {L"408", {482, 410, 442}}, {L"415", {419, 260, 293}}, {L"412", {365, 340, 385}}};
    const FontSpec body{10, 400};
    for (const std::wstring code : {L"409", L"408", L"415", L"412", L"c04", L"C0A", L"0409", L""}) {
        SCOPED_TRACE(narrow(code));
        const DrawingSteps steps = restoreConfirmDrawing(code, listedJob(megabyte), factoryTexts);
        if (const auto row = rows.find(code); row != rows.end()) {
            expectText(steps, 34, {row->second.text34, 124, 678, 142}, body, blue);
            expectText(steps, 42, {row->second.text42, 327, 678, 345}, body, blue);
            expectText(steps, 43, {row->second.text43, 327, 678, 345}, body, black);
        } else {
            EXPECT_TRUE(indexOfText(steps, 34) < 0 && indexOfText(steps, 42) < 0 && indexOfText(steps, 43) < 0);
        }
        expectText(steps, 40, {222, 309, 720, 327}, body, black);
        expectText(steps, 44, {275, 356, 678, 374}, body, black);
        expectText(steps, 45, {222, 384, 678, 456}, body, red);
        const bool korean = code == L"412";
        EXPECT_EQ(indexOfText(steps, 89) >= 0 && indexOfText(steps, 90) >= 0 && indexOfText(steps, 91) >= 0, korean);
        if (korean) {
            expectText(steps, 89, {410, 124, 678, 142}, body, black);
            expectText(steps, 90, {410, 309, 678, 327}, body, red);
            expectText(steps, 91, {530, 309, 678, 327}, body, black);
        }
        EXPECT_EQ(indexOfText(steps, 20) >= 0, code == L"408");
        if (code == L"408")
            expectText(steps, 20, {222, 447, 678, 480}, body, red);
        const auto system = std::ranges::find_if(steps, [](const DrawingStep& step) {
            const auto* text = std::get_if<TextStep>(&step);
            return text && text->rect.top == 268 && text->rect.left >= 370;
        });
        ASSERT_NE(system, steps.end());
        EXPECT_EQ(std::get<TextStep>(*system).rect.left, code == L"415" ? 390 : 370);
    }
}

} // namespace
} // namespace quorvane
