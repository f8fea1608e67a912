#include "support/Canvas.h"

#include <fstream>

namespace quorvane::testing {

namespace {

BITMAPINFO topDownInfo(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

std::uint32_t toDibPixel(COLORREF colour)
{
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

} // namespace

Canvas::Canvas(int width, int height, COLORREF fill)
    : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr))
{
    const BITMAPINFO info = topDownInfo(width, height);
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<std::uint32_t*>(bits);
    previous_ = SelectObject(dc_.get(), bitmap_.get());
    for (int i = 0; i < width * height; ++i)
        bits_[i] = toDibPixel(fill);
}

Canvas::~Canvas()
{
    SelectObject(dc_.get(), previous_);
}

COLORREF Canvas::at(int x, int y) const
{
    GdiFlush();
    const std::uint32_t pixel = bits_[y * width_ + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

int Canvas::count(int x0, int y0, int x1, int y1, const std::function<bool(COLORREF)>& test) const
{
    int found = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            found += test(at(x, y)) ? 1 : 0;
    return found;
}

bool Canvas::sameAs(const Canvas& other) const
{
    if (width_ != other.width_ || height_ != other.height_)
        return false;
    GdiFlush();
    for (int i = 0; i < width_ * height_; ++i)
        if ((bits_[i] & 0xFFFFFF) != (other.bits_[i] & 0xFFFFFF))
            return false;
    return true;
}

UniqueBitmap makeBitmap(int width, int height, const std::function<COLORREF(int, int)>& paint)
{
    const BITMAPINFO info = topDownInfo(width, height);
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[y * width + x] = toDibPixel(paint(x, y));
    return bitmap;
}

void writePaletteRowBmpFile(const std::filesystem::path& file, const std::vector<COLORREF>& palette)
{
    const auto width = static_cast<std::uint32_t>(palette.size());
    const std::uint32_t stride = (width + 3) / 4 * 4;
    const std::uint32_t offset = 14 + 40 + 4 * width;
    std::vector<std::uint8_t> bytes;
    const auto put = [&](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    // BITMAPFILEHEADER, then BITMAPINFOHEADER: 8 bits per pixel, one row, `width` colours.
    const std::pair<std::uint32_t, int> headers[] = {
        {0x4D42, 2}, {offset + stride, 4}, {0, 4}, {offset, 4},
        {40, 4}, {width, 4}, {1, 4}, {1, 2}, {8, 2}, {BI_RGB, 4}, {stride, 4}, {0, 4}, {0, 4}, {width, 4}, {0, 4},
    };
    for (const auto& [value, size] : headers)
        put(value, size);
    for (COLORREF c : palette)
        put(GetBValue(c) | GetGValue(c) << 8 | GetRValue(c) << 16, 4);
    for (std::uint32_t x = 0; x < stride; ++x)
        bytes.push_back(static_cast<std::uint8_t>(x < width ? x : 0));
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

} // namespace quorvane::testing
