// Reads and clicks a list view of another process: its rows' texts and places
// are asked with the list's own messages, through memory in that process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quorvane::testing {

// The cells of every row, `columns` each.
std::vector<std::vector<std::wstring>> listRows(HWND list, int columns = 3);

// Clicks the middle of the row with the left (or the right) button, as the
// pointer would, and waits until the list has taken the click.
bool clickListRow(HWND list, int row, bool rightButton = false);

} // namespace quorvane::testing
