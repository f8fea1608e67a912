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

bool Canvas::save(const std::filesystem::path& file) const
{
    writeBmpFile(file, width_, height_, [this](int x, int y) { return at(x, y); });
    return std::filesystem::exists(file);
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

void writeBmpFile(const std::filesystem::path& file, int width, int height,
                  const std::function<COLORREF(int, int)>& paint)
{
    const int stride = (width * 3 + 3) / 4 * 4;
    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(header) + sizeof(info);
    header.bfSize = header.bfOffBits + stride * height;
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::vector<char> rows(static_cast<std::size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = paint(x, y);
            char* p = &rows[static_cast<std::size_t>(height - 1 - y) * stride + x * 3];
            p[0] = static_cast<char>(GetBValue(c));
            p[1] = static_cast<char>(GetGValue(c));
            p[2] = static_cast<char>(GetRValue(c));
        }
    }
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    out.write(rows.data(), static_cast<std::streamsize>(rows.size()));
}

void writePaletteRowBmpFile(const std::filesystem::path& file, const std::vector<COLORREF>& palette)
{
    const int width = static_cast<int>(palette.size());
    const int stride = (width + 3) / 4 * 4;
    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    const DWORD tableSize = static_cast<DWORD>(palette.size() * sizeof(RGBQUAD));
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(header) + sizeof(info) + tableSize;
    header.bfSize = header.bfOffBits + stride;
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = 1;
    info.biPlanes = 1;
    info.biBitCount = 8;
    info.biClrUsed = static_cast<DWORD>(palette.size());
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    for (COLORREF c : palette) {
        const RGBQUAD entry{GetBValue(c), GetGValue(c), GetRValue(c), 0};
        out.write(reinterpret_cast<const char*>(&entry), sizeof(entry));
    }
    std::vector<char> row(static_cast<std::size_t>(stride), 0);
    for (int x = 0; x < width; ++x)
        row[static_cast<std::size_t>(x)] = static_cast<char>(x);
    out.write(row.data(), stride);
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
