// The names screen readers hear for the program's controls, asked through
// oleacc from another process as a screen reader asks.
#pragma once

#include "app/StringCatalogue.h"

#include <windows.h>

#include <string>
#include <vector>

namespace quorvane::testing {

// What oleacc names a control; empty when it gives no name.
std::wstring accessibleName(HWND control);

// Every control of every page of the running program whose name is not the
// one its page's view gives in `languageCode` with `texts`, described: a skin
// button's window text and name are its caption, a list's or an edit's name
// the caption its page draws above it.
std::vector<std::string> misnamedControls(HWND shell, const std::wstring& languageCode, const StringCatalogue& texts);

} // namespace quorvane::testing
