// Saves a picture of the running program's main window, and closes the program
// on request the way a user does (close, then Yes).
//   quorvane_capture.exe OUT.bmp [--close]
#include "support/ProgramUnderTest.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

using namespace quorvane::testing;

namespace {

struct FoundShell {
    HWND window = nullptr;
};

BOOL CALLBACK findShell(HWND window, LPARAM context)
{
    wchar_t title[64] = {};
    wchar_t cls[64] = {};
    GetWindowTextW(window, title, 64);
    GetClassNameW(window, cls, 64);
    if (IsWindowVisible(window) && std::wstring(title) == L"Quorvane" && std::wstring(cls) == L"#32770"
        && !GetWindow(window, GW_OWNER) && !GetDlgItem(window, 0xFFFF)) {
        reinterpret_cast<FoundShell*>(context)->window = window;
        return FALSE;
    }
    return TRUE;
}

bool saveWindow(HWND window, const std::wstring& file)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((width * 3 + 3) / 4) * 4;
    const DWORD imageSize = stride * height;
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    header.bfSize = header.bfOffBits + imageSize;
    info.bmiHeader.biSizeImage = imageSize;
    std::ofstream out(file.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(info.bmiHeader));
    out.write(static_cast<const char*>(bits), imageSize);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return out.good();
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: quorvane_capture OUT.bmp [--close]\n");
        return 2;
    }
    FoundShell shell;
    waitUntil([&] {
        EnumWindows(findShell, reinterpret_cast<LPARAM>(&shell));
        return shell.window != nullptr;
    }, 30s);
    if (!shell.window) {
        std::fprintf(stderr, "no Quorvane window appeared\n");
        return 1;
    }
    // Let the pages finish painting.
    Sleep(700);
    if (!saveWindow(shell.window, argv[1]))
        return 1;
    if (argc > 2 && std::wstring(argv[2]) == L"--close") {
        PostMessageW(shell.window, WM_CLOSE, 0, 0);
        DWORD processId = 0;
        GetWindowThreadProcessId(shell.window, &processId);
        HWND box = nullptr;
        waitUntil([&] {
            box = FindWindowW(L"#32770", L"Quorvane");
            return box && GetDlgItem(box, 0xFFFF);
        }, 10s);
        if (box)
            SendMessageW(GetDlgItem(box, IDYES), BM_CLICK, 0, 0);
    }
    return 0;
}
