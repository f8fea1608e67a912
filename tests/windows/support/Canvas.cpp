#include "support/Canvas.h"

#include <algorithm>
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
    std::fill(bits_, bits_ + width * height, toDibPixel(fill));
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

std::unique_ptr<Canvas> screenPicture(HWND window, RECT clientArea)
{
    POINT origin{clientArea.left, clientArea.top};
    ClientToScreen(window, &origin);
    auto picture = std::make_unique<Canvas>(clientArea.right - clientArea.left, clientArea.bottom - clientArea.top, 0);
    HDC screen = GetDC(nullptr);
    BitBlt(picture->dc(), 0, 0, picture->width(), picture->height(), screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return picture;
}

std::unique_ptr<Canvas> settledPicture(const std::function<std::unique_ptr<Canvas>()>& take)
{
    auto last = take();
    for (int tries = 0; tries < 50; ++tries) {
        Sleep(200);
        auto now = take();
        if (now->sameAs(*last))
            return now;
        last = std::move(now);
    }
    return last;
}

UniqueBitmap makeBitmap(int width, int height, const std::function<COLORREF(int, int)>& paint)
{
    const BITMAPINFO info = topDownInfo(width, height);
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            static_cast<std::uint32_t*>(bits)[y * width + x] = toDibPixel(paint(x, y));
    return bitmap;
}

void writePaletteRowBmpFile(const std::filesystem::path& file, const std::vector<COLORREF>& palette)
{
    const auto width = static_cast<DWORD>(palette.size());
    const DWORD stride = (width + 3) / 4 * 4;
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + 4 * width;
    const BITMAPFILEHEADER header{0x4D42, offset + stride, 0, 0, offset};
    const BITMAPINFOHEADER info{sizeof(info), static_cast<LONG>(width), 1, 1, 8, BI_RGB, stride, 0, 0, width, 0};
    std::vector<char> bytes(reinterpret_cast<const char*>(&header), reinterpret_cast<const char*>(&header + 1));
    bytes.insert(bytes.end(), reinterpret_cast<const char*>(&info), reinterpret_cast<const char*>(&info + 1));
    for (COLORREF c : palette) {
        const RGBQUAD entry{GetBValue(c), GetGValue(c), GetRValue(c), 0};
        bytes.insert(bytes.end(), reinterpret_cast<const char*>(&entry), reinterpret_cast<const char*>(&entry + 1));
    }
    for (DWORD x = 0; x < stride; ++x)
        bytes.push_back(static_cast<char>(x < width ? x : 0));
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
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
