// The restore selection page's rules (the partition sizes it shows, which
// image a row stands for, the row texts) and what both restore pages draw in
// every language: the order of the steps, the partition bar, the places of
// the split sentences and the step panels.
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
    };
    for (const Case& each : cases) {
        const PartitionSizes sizes = measurePartitions(each.system, each.data);
        EXPECT_FALSE(sizes.bothUnderOneGB());
        EXPECT_EQ(sizes.systemSizeText, each.systemText);
        EXPECT_EQ(sizes.dataSizeText, each.dataText);
        EXPECT_EQ(sizes.mbPerPixel, each.mbPerPixel);
    }
    // Nothing to restore onto: under 1 GB each, or not there at all.
    for (const auto& [system, data] : {std::pair{900 * megabyte, std::int64_t{0}}, {gigabyte - 1, gigabyte - 1}, {0, 0}}) {
        const PartitionSizes sizes = measurePartitions(system, data);
        EXPECT_TRUE(sizes.bothUnderOneGB());
        EXPECT_TRUE(sizes.systemSizeText.empty() && sizes.dataSizeText.empty());
    }
    EXPECT_EQ(measurePartitions(900 * megabyte, 0).mbPerPixel, 2u);
}

TEST(RestoreRules, RowsStandForTheFactoryEntryTheCatalogueAndTheOtherFile)
{
    const auto kind = [](int row, bool factory, std::size_t count) {
        const ListRow chosen = listRowAt(row, factory, count);
        switch (chosen.kind) {
        case RowKind::nothing:
            return std::string("nothing");
        case RowKind::factory:
            return std::string("factory");
        case RowKind::catalogue:
            return "image " + std::to_string(chosen.catalogueIndex);
        case RowKind::other:
            return std::string("other");
        }
        return std::string();
    };
    const std::vector<std::string> withFactory = {"nothing", "factory", "image 0", "image 1", "other", "other"};
    const std::vector<std::string> without = {"nothing", "image 0", "image 1", "other", "other", "other"};
    for (int row = -1; row <= 4; ++row) {
        EXPECT_EQ(kind(row, true, 2), withFactory[static_cast<std::size_t>(row + 1)]) << row;
        EXPECT_EQ(kind(row, false, 2), without[static_cast<std::size_t>(row + 1)]) << row;
    }
    EXPECT_EQ(kind(1, true, 0), "other");
}

TEST(RestoreRules, RowTexts)
{
    EXPECT_EQ(fileNameOf(L"d:\\Backups\\Monday\\image.QVX"), L"image.QVX");
    EXPECT_EQ(folderOf(L"d:\\Backups\\Monday\\image.QVX"), L"d:\\Backups\\Monday");
    EXPECT_EQ(folderOf(L"d:\\image.QVX"), L"d:");
    EXPECT_EQ(fileNameOf(L"image.QVX"), L"image.QVX");
    EXPECT_EQ(folderOf(L"image.QVX"), L"");
    EXPECT_EQ(megabytesText(1572864), L"1 MB");
    EXPECT_EQ(megabytesText(5368709120), L"5120 MB");
    EXPECT_EQ(megabytesText(megabyte - 1), L"0 MB");
    EXPECT_EQ(systemDriveText(L"100 GB(66%)"), L"C: 100 GB(66%)");
}

// The five pieces of the bar as (picture, left, width); a middle piece of no
// width is left out.
std::vector<std::tuple<std::string, int, int>> barPieces(std::uint32_t systemMB, std::uint32_t mbPerPixel)
{
    std::vector<std::tuple<std::string, int, int>> pieces;
    for (const PictureStep& piece : partitionBar(systemMB, mbPerPixel)) {
        EXPECT_EQ(piece.destination.top, 385);
        EXPECT_EQ(piece.destination.height(), 36);
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
    const RestoreSelectView view{L"Monday", L"100 GB(66%)", L"50 GB(34%)", 102400, 51200, 370};
    const DrawingSteps steps = restoreSelectDrawing(L"409", view);
    EXPECT_EQ(outline(steps),
              (std::vector<std::string>{"background_step.dat", "background_box_1.dat", "51", "52", "61", "\"Monday\"", "62",
                                        "c_drive_enabled.dat", "d_drive_enabled.dat", "\"100 GB(66%)\"", "\"50 GB(34%)\"",
                                        "partition_green_start.dat", "partition_green_mid.dat", "partition_green_end.dat",
                                        "partition_violet_mid.dat", "partition_violet_end.dat", "\"100 GB(66%)\"",
                                        "\"50 GB(34%)\"", "firstbg.dat", "53", "96", "54", "55", "97",
                                        "partition_number_1.dat"}));
    EXPECT_EQ(std::get<PictureStep>(steps[1]),
              stretchPicture(L"background_box_1.dat", {0, 0, 466, 107}, {213, 342, 679, 427}));
    expectText(steps, 51, {222, 88, 678, 106}, {10, 700}, black);
    expectText(steps, 61, {225, 270, 678, 288}, {10, 400}, black);
    // The sizes: Arial 9 beside the drives, the page's face over the bar; the
    // data's in grey, from the right.
    const auto& small = std::get<TextStep>(steps[9]);
    EXPECT_EQ(small.font, (FontSpec{9, 400, FaceRule::arial}));
    EXPECT_EQ(small.rect, (PixelRect{285, 360, 385, 378}));
    const auto& data = std::get<TextStep>(steps[17]);
    EXPECT_EQ(data.font, (FontSpec{12, 700}));
    EXPECT_EQ(data.colour, Colour{0xD2D2D2});
    EXPECT_EQ(data.flags, textFlags::wordBreak | textFlags::right);
    EXPECT_EQ(data.rect, (PixelRect{465, 395, 665, 413}));
    EXPECT_EQ(std::get<PictureStep>(steps[7]), keyedPicture(L"c_drive_enabled.dat", {0, 0, 42, 30}, 237, 352, magenta));

    // Without a data partition: no D drive and no data texts, the violet pieces all the same.
    const DrawingSteps alone = restoreSelectDrawing(L"409", {L"", L"100 GB(100%)", L"0 GB(0%)", 102400, 0, 246});
    const std::vector<std::string> names = outline(alone);
    EXPECT_EQ(std::ranges::count(names, "d_drive_enabled.dat"), 0);
    EXPECT_EQ(std::ranges::count(names, "\"0 GB(0%)\""), 0);
    EXPECT_EQ(std::ranges::count(names, "partition_violet_end.dat"), 1);
}

TEST(RestoreSelectDrawing, EveryLanguageCodeGetsItsStepPanel)
{
    for (const std::wstring& code : allCodes()) {
        SCOPED_TRACE(narrow(code));
        const DrawingSteps steps = restoreSelectDrawing(code, {});
        int current = 12;
        if (code == L"407")
            current = 9;
        if (isOneOf(code, {L"414", L"41d"}))
            current = 10;
        int other = isOneOf(code, {L"40b", L"414"}) ? 9 : 10;
        if (code == L"407")
            other = 8;
        const int top = isOneOf(code, {L"416", L"c0a", L"40b", L"40c", L"410", L"816", L"408", L"415", L"419"}) ? 130 : 145;
        const int left = isOneOf(code, {L"407", L"40b"}) ? 23 : 41;
        expectText(steps, 53, {code == L"407" ? 28 : 39, top, 183, 208}, {current, 700}, white);
        expectText(steps, 54, {left, 207, 183, 270}, {other, 700}, white);
        expectText(steps, 55, {left, 270, 183, 333}, {other, 700}, white);
        if (hasSecondStepLines(code)) {
            expectText(steps, 96, {39, 163, 183, 208}, {current, 700}, white);
            expectText(steps, 97, {51, 288, 183, 333}, {other, 700}, white);
        } else {
            EXPECT_TRUE(indexOfText(steps, 96) < 0 && indexOfText(steps, 97) < 0);
        }
    }
}

StringCatalogue factoryTexts()
{
    StringCatalogue texts;
    std::wstring section;
    for (int id = 0; id <= 60; ++id)
        section += L"k=" + (id == 59 ? std::wstring(L"Factory image") : id == 60 ? L"Recovery partition" : id == 50 ? L"(system partition)" : L"t") + L'\0';
    texts.fillFromSection(section);
    return texts;
}

RestoreJobParameters listedJob(std::int64_t size)
{
    RestoreJobParameters job;
    job.imageSize = size;
    job.diskId = 0;
    job.partId = 3;
    job.imagePath = L"d:\\Monday.QVX";
    job.imageName = L"Monday";
    job.systemDriveText = L"C: 100 GB(66%)";
    return job;
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
    const StringCatalogue texts = factoryTexts();
    const DrawingSteps listed = restoreConfirmDrawing(L"409", listedJob(1572864), texts);
    EXPECT_EQ(valueAt(listed, 178), L"d:\\Monday.QVX");
    EXPECT_EQ(valueAt(listed, 214), L"Monday");
    EXPECT_EQ(valueAt(listed, 250), L"1 MB");
    EXPECT_EQ(valueAt(listed, 268), L"C: 100 GB(66%) (system partition)");
    EXPECT_EQ(valueAt(restoreConfirmDrawing(L"409", listedJob(5368709120), texts), 250), L"5120 MB");

    RestoreJobParameters factory = listedJob(0);
    factory.partId = 1;
    factory.imagePath = L"Recovery partition";
    factory.imageName = L"Factory image";
    EXPECT_EQ(valueAt(restoreConfirmDrawing(L"409", factory, texts), 250), L"");
    // Once Start put the factory image's path in, the record is no longer the entry.
    applyFactoryRule(factory, L"Factory image", L"Recovery partition");
    EXPECT_EQ(valueAt(restoreConfirmDrawing(L"409", factory, texts), 250), L"0 MB");
    // A listed image of size 0 on partition 1 of disk 0 is not the factory entry.
    RestoreJobParameters empty = listedJob(0);
    empty.partId = 1;
    EXPECT_EQ(valueAt(restoreConfirmDrawing(L"409", empty, texts), 250), L"0 MB");
}

TEST(RestoreConfirmDrawing, EveryLanguageFindsItsRowsAndStepPanel)
{
    struct Row {
        int text34, text42, text43;
    };
    const std::map<std::wstring, Row> rows = {
        {L"409", {400, 255, 285}}, {L"416", {460, 286, 320}}, {L"406", {480, 270, 303}}, {L"407", {480, 290, 323}},
        {L"c0a", {480, 298, 356}}, {L"40b", {415, 283, 318}}, {L"40c", {464, 293, 328}}, {L"410", {480, 302, 334}},
        {L"414", {410, 256, 287}}, {L"816", {440, 285, 316}}, {L"41d", {495, 283, 316}}, {L"804", {347, 253, 296}},
        {L"404", {389, 257, 290}}, {L"408", {482, 410, 442}}, {L"415", {419, 260, 293}}, {L"419", {430, 287, 320}},
        {L"41f", {410, 257, 320}}, {L"412", {365, 340, 385}},
    };
    const StringCatalogue texts = factoryTexts();
    for (const std::wstring& code : allCodes()) {
        SCOPED_TRACE(narrow(code));
        const DrawingSteps steps = restoreConfirmDrawing(code, listedJob(megabyte), texts);
        const FontSpec body{10, 400};
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

        int other = isOneOf(code, {L"40b", L"414"}) ? 9 : 10;
        if (code == L"407")
            other = 8;
        const int left = isOneOf(code, {L"407", L"40b"}) ? 23 : 41;
        expectText(steps, 46, {left, 144, 183, 207}, {other, 700}, otherStepGrey);
        expectText(steps, 47, {39, 208, 183, 271}, {code == L"407" ? 10 : 12, 700}, white);
        expectText(steps, 48, {left, 270, 183, 333}, {other, 700}, white);
        EXPECT_EQ(indexOfText(steps, 96) >= 0 && indexOfText(steps, 97) >= 0, hasSecondStepLines(code));
    }
}

} // namespace
} // namespace quorvane
