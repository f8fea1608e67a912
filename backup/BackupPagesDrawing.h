// What the two backup pages draw, as drawing steps for a language code. No
// Windows here, so every language's layout is checked anywhere.
#pragma once

#include "job/JobParameters.h"
#include "skin/DrawingSteps.h"

#include <string>

namespace quorvane {

// The options page: its frame, the area captions and the step panel with
// step 1 highlighted.
DrawingSteps backupOptionsDrawing(const std::wstring& languageCode);

// The confirm page: the summary of `job` with the explanatory and warning
// texts, and the step panel with step 2 highlighted.
DrawingSteps backupConfirmDrawing(const std::wstring& languageCode, const BackupJobParameters& job);

// The summary's fixed name of a compression level, the same in every
// language; empty for a value other than 1, 2 or 3.
std::wstring compressionName(int compression);

// The step panel's text colour for the steps that are not the current one.
inline constexpr Colour otherStepGrey = 0xAAAAC8;

} // namespace quorvane
