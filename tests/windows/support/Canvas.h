// A memory device with a 32-bit picture whose pixels a test can read.
#pragma once

#include "platform/Win32Handles.h"

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

namespace quorvane::testing {

class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() { SelectObject(dc_.get(), previous_); }

    HDC dc() const { return dc_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    // 0x00BBGGRR, like GetPixel.
    COLORREF at(int x, int y) const
    {
        GdiFlush();
        return atFlushed(x, y);
    }
    // The same without waiting for queued drawing: after one GdiFlush, for
    // reading many pixels.
    COLORREF atFlushed(int x, int y) const
    {
        const std::uint32_t pixel = bits_[y * width_ + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    // How many pixels of the rectangle [x0,x1) x [y0,y1) pass the test.
    int count(int x0, int y0, int x1, int y1, const std::function<bool(COLORREF)>& test) const;
    int count(const std::function<bool(COLORREF)>& test) const { return count(0, 0, width_, height_, test); }
    bool sameAs(const Canvas& other) const;

private:
    int width_;
    int height_;
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    HGDIOBJ previous_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

// What a rectangle of a window's client area shows on the screen now.
std::unique_ptr<Canvas> screenPicture(HWND window, RECT clientArea);

// The picture `take` gives once two takes 200 ms apart agree: painting has
// caught up (10 s at most).
std::unique_ptr<Canvas> settledPicture(const std::function<std::unique_ptr<Canvas>()>& take);

// A picture made in memory: `paint` gets the colour of each pixel.
UniqueBitmap makeBitmap(int width, int height, const std::function<COLORREF(int, int)>& paint);

// Writes an 8-bit BMP file of one row whose pixel x has colour table entry x.
void writePaletteRowBmpFile(const std::filesystem::path& file, const std::vector<COLORREF>& palette);

// Dispatches this thread's messages until the condition holds or the time is up.
bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

} // namespace quorvane::testing
