// What the two backup pages draw, as drawing steps for a language code. No
// Windows here, so every language's layout is checked anywhere.
#pragma once

#include "job/JobParameters.h"
#include "skin/DrawingSteps.h"
#include "skin/WizardLayout.h"

#include <string>

namespace quorvane {

// Where the pages' controls lie, in page pixels.
inline constexpr PixelRect browseButtonPlace{570, 172, 658, 197};
inline constexpr PixelRect targetEditPlace{225, 172, 565, 197};
inline constexpr PixelRect compressionChoicePlaces[3] = {
    {227, 240, 427, 255}, {227, 265, 427, 280}, {227, 290, 427, 305}}; // None, Fast, Maximum
inline constexpr PixelRect descriptionEditPlace{225, 358, 565, 383};
// The page background behind the Browse button and the compression choices.
inline constexpr Colour boxBackground = 0xF6F6F6;

// The options page: its frame, the area captions and the step panel with
// step 1 highlighted.
DrawingSteps backupOptionsDrawing(const std::wstring& languageCode);

// The confirm page: the summary of `job` with the explanatory and warning
// texts, and the step panel with step 2 highlighted.
DrawingSteps backupConfirmDrawing(const std::wstring& languageCode, const BackupJobParameters& job);

// The summary's fixed name of a compression level, the same in every
// language; empty for a value other than 1, 2 or 3.
std::wstring compressionName(int compression);

} // namespace quorvane
