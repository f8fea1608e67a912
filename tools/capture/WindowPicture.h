// Finding the running program's main window and saving what it shows, for the
// tools that take pictures of it.
#pragma once

#include <windows.h>

#include <string>

namespace quorvane::capture {

// The visible main window of a running Quorvane (not one of its message
// boxes), waiting up to 30 s for it; nullptr when none shows.
HWND waitForProgramWindow();

// Lets the window finish painting: asks for an immediate repaint of it and
// its pages, then waits until its thread has handled what came before.
void settle(HWND window);

// A 24-bit BMP file of the window as it shows on the screen.
bool saveWindow(HWND window, const std::wstring& file);

} // namespace quorvane::capture
