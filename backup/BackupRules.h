// The rules of the backup options page that need no window: the target's
// extension, the file-name check, the description and the compression choice.
#pragma once

#include <string>
#include <string_view>

namespace quorvane {

// ".QVX" stays; a final ".qvx" becomes ".QVX"; anything else gets ".QVX"
// appended (another extension, another mixture of cases, no '.' at all, or a
// '.' that belongs to a folder name).
std::wstring withImageExtension(std::wstring path);

// True when the file-name part holds one of \ / : * ? " < > |.
bool hasForbiddenFileNameCharacter(std::wstring_view fileName);

// True when the description holds nothing but blanks and tabs (or nothing).
bool isBlankDescription(std::wstring_view description);

// The description that stands in for a blank one: "YYYY-MM-DD hh:mm " (with
// the trailing blank).
std::wstring descriptionTimeStamp(int year, int month, int day, int hour, int minute);

enum class Compression : int { none = 1, fast = 2, maximum = 3 };

// The chosen level is the one whose button is disabled, tested None, Fast,
// Maximum; Maximum when none is.
Compression chosenCompression(bool noneDisabled, bool fastDisabled);

} // namespace quorvane
