// RAII owners for Win32 handles: one small template, one deleter per kind of handle.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <utility>

namespace tk {

// Owns a handle value and releases it with Traits::Close when it goes out of scope.
template <typename Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle h) : h_(h) {}
    ~Owned() { reset(); }

    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : h_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Handle get() const { return h_; }
    explicit operator bool() const { return Traits::IsValid(h_); }

    // Gives the handle away (for example to SetWindowRgn, which takes ownership).
    Handle release() { return std::exchange(h_, Traits::Invalid()); }

    void reset(Handle h = Traits::Invalid()) {
        if (Traits::IsValid(h_)) Traits::Close(h_);
        h_ = h;
    }

    // For out-parameters: releases the current handle and hands out its slot.
    Handle* put() { reset(); return &h_; }

private:
    Handle h_ = Traits::Invalid();
};

template <typename H>
struct GdiTraits {  // HBITMAP, HFONT, HRGN, HBRUSH, HPEN
    using Handle = H;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DeleteObject(h); }
};

struct MemDcTraits {  // CreateCompatibleDC
    using Handle = HDC;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DeleteDC(h); }
};

struct MenuTraits {
    using Handle = HMENU;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DestroyMenu(h); }
};

struct IdListTraits {  // item ID lists and other shell memory from the COM allocator
    using Handle = LPITEMIDLIST;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { CoTaskMemFree(h); }
};

struct LocalTraits {  // FormatMessageA with FORMAT_MESSAGE_ALLOCATE_BUFFER
    using Handle = HLOCAL;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { LocalFree(h); }
};

using OwnedBitmap = Owned<GdiTraits<HBITMAP>>;
using OwnedFont = Owned<GdiTraits<HFONT>>;
using OwnedRegion = Owned<GdiTraits<HRGN>>;
using OwnedBrush = Owned<GdiTraits<HBRUSH>>;
using OwnedMemDc = Owned<MemDcTraits>;
using OwnedMenu = Owned<MenuTraits>;
using OwnedIdList = Owned<IdListTraits>;
using OwnedLocal = Owned<LocalTraits>;

// A window DC from GetDC, released to its window.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() { if (dc_) ReleaseDC(hwnd_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }
private:
    HWND hwnd_;
    HDC dc_;
};

// Selects a GDI object into a DC for the scope, then puts the old one back.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~SelectObjectScope() { if (old_) SelectObject(dc_, old_); }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;
private:
    HDC dc_;
    HGDIOBJ old_;
};

// BeginPaint for the scope; EndPaint at its end, also when the painting throws.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC get() const { return dc_; }
    const RECT& Update() const { return ps_.rcPaint; }
private:
    HWND hwnd_;
    PAINTSTRUCT ps_;
    HDC dc_;
};

// Saves the state of a DC (clipping, origin, selections) for the scope, then restores it.
class SavedDcScope {
public:
    explicit SavedDcScope(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDcScope() { if (saved_) RestoreDC(dc_, saved_); }
    SavedDcScope(const SavedDcScope&) = delete;
    SavedDcScope& operator=(const SavedDcScope&) = delete;
private:
    HDC dc_;
    int saved_;
};

}  // namespace tk
