// What the two restore pages draw, as drawing steps for a language code. No
// Windows here, so every language's layout is checked anywhere.
#pragma once

#include "job/JobParameters.h"
#include "skin/DrawingSteps.h"
#include "skin/WizardLayout.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quorvane {

class StringCatalogue;

// Where the selection page's controls lie, in page pixels.
inline constexpr PixelRect imageListPlace{213, 145, 666, 265};
inline constexpr PixelRect restoreBrowsePlace{578, 265, 666, 290};
// The description of the clicked image: the only part a row click repaints.
inline constexpr PixelRect imageDescriptionArea{230, 288, 678, 324};
// The list's columns: file name, folder, size.
inline constexpr int imageListColumnWidths[3] = {145, 200, 103};

// What the selection page shows of its state.
struct RestoreSelectView {
    std::wstring shownImageName;
    std::wstring systemSizeText;
    std::wstring dataSizeText;
    std::uint32_t systemMB = 0;
    std::uint32_t dataMB = 0;
    std::uint32_t mbPerPixel = 0; // 0 until the partitions were measured
};

// The selection page: frame, texts, the clicked image's description, the two
// drives with their sizes, the partition bar and the step panel with step 1
// highlighted.
DrawingSteps restoreSelectDrawing(const std::wstring& languageCode, const RestoreSelectView& view);

// The bar's five pieces, green for the system partition and violet for the
// rest, at 415 pixels for both partitions together. Nothing before the
// partitions were measured; a middle piece of no width is left out, and a
// system share past the bar's end keeps the end pieces on the bar.
std::vector<PictureStep> partitionBar(std::uint32_t systemMB, std::uint32_t mbPerPixel);

// The confirm page: the chosen image, the system partition it replaces, the
// explanatory and warning texts, and the step panel with step 2 highlighted.
// The catalogue gives the factory entry's texts and the system partition's
// label.
DrawingSteps restoreConfirmDrawing(const std::wstring& languageCode, const RestoreJobParameters& job,
                                   const StringCatalogue& texts);

} // namespace quorvane
