// Owning wrappers for Windows handles: one move-only template over the handle
// type, its close function and its empty value, plus the GDI cases.
#pragma once

#include <windows.h>

#include <utility>

namespace quorvane {

template <typename Handle, typename Traits>
class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(Handle handle) : handle_(handle) {}
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.release()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ~OwnedHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::empty(); }

    void reset(Handle handle = Traits::empty())
    {
        if (handle_ != Traits::empty())
            Traits::close(handle_);
        handle_ = handle;
    }
    Handle release() { return std::exchange(handle_, Traits::empty()); }

private:
    Handle handle_ = Traits::empty();
};

struct KernelHandleTraits {
    static HANDLE empty() { return nullptr; }
    static void close(HANDLE h) { CloseHandle(h); }
};
// CreateFileW reports failure with INVALID_HANDLE_VALUE, not NULL.
struct FileHandleTraits {
    static HANDLE empty() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { CloseHandle(h); }
};
template <typename GdiObject>
struct GdiObjectTraits {
    static GdiObject empty() { return nullptr; }
    static void close(GdiObject h) { DeleteObject(h); }
};
struct MemoryDcTraits {
    static HDC empty() { return nullptr; }
    static void close(HDC h) { DeleteDC(h); }
};
struct ModuleTraits {
    static HMODULE empty() { return nullptr; }
    static void close(HMODULE h) { FreeLibrary(h); }
};
struct FindTraits {
    static HANDLE empty() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { FindClose(h); }
};
struct LocalMemoryTraits {
    static HLOCAL empty() { return nullptr; }
    static void close(HLOCAL h) { LocalFree(h); }
};
struct IconTraits {
    static HICON empty() { return nullptr; }
    static void close(HICON h) { DestroyIcon(h); }
};

using UniqueHandle = OwnedHandle<HANDLE, KernelHandleTraits>;
using UniqueFile = OwnedHandle<HANDLE, FileHandleTraits>;
using UniqueBitmap = OwnedHandle<HBITMAP, GdiObjectTraits<HBITMAP>>;
using UniqueFont = OwnedHandle<HFONT, GdiObjectTraits<HFONT>>;
using UniqueBrush = OwnedHandle<HBRUSH, GdiObjectTraits<HBRUSH>>;
using UniqueMemoryDc = OwnedHandle<HDC, MemoryDcTraits>;
using UniqueModule = OwnedHandle<HMODULE, ModuleTraits>;
using UniqueIcon = OwnedHandle<HICON, IconTraits>;
using UniqueFind = OwnedHandle<HANDLE, FindTraits>;
using UniqueLocalMemory = OwnedHandle<HLOCAL, LocalMemoryTraits>;

// A window's device context, released to that window.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint/EndPaint as one scope.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(window_, &paint_); }
    HDC dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back at scope end.
class SelectionScope {
public:
    SelectionScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectionScope(const SelectionScope&) = delete;
    SelectionScope& operator=(const SelectionScope&) = delete;
    // False when the device refused the object (a bitmap held by another device).
    bool selected() const { return previous_ && previous_ != HGDI_ERROR; }
    ~SelectionScope()
    {
        if (previous_ && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace quorvane
