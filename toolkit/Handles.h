// RAII owners for Win32 handles: the kernel ones of platform/Win32Handle.h, and GDI, menu,
// shell memory and COM owners beside them.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <utility>

#include "platform/Win32Handle.h"

namespace tk {

using platform::NullTraits;
using platform::Owned;
using platform::OwnedHandle;
using platform::OwnedLocal;

template <typename H>
using GdiTraits = NullTraits<H, DeleteObject>;  // HBITMAP, HFONT, HRGN, HBRUSH

using OwnedBitmap = Owned<GdiTraits<HBITMAP>>;
using OwnedFont = Owned<GdiTraits<HFONT>>;
using OwnedRegion = Owned<GdiTraits<HRGN>>;
using OwnedBrush = Owned<GdiTraits<HBRUSH>>;
using OwnedMemDc = Owned<NullTraits<HDC, DeleteDC>>;  // CreateCompatibleDC
using OwnedMenu = Owned<NullTraits<HMENU, DestroyMenu>>;
// Item ID lists and other shell memory from the COM allocator.
using OwnedIdList = Owned<NullTraits<LPITEMIDLIST, CoTaskMemFree>>;

// Owners and scopes are neither copied nor assigned.
struct NoCopy {
    NoCopy() = default;
    NoCopy(const NoCopy&) = delete;
    NoCopy& operator=(const NoCopy&) = delete;
};

// A COM interface pointer, released when it goes.
template <typename I>
class ComPtr : NoCopy {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    I* get() const { return p_; }
    I* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void reset() { if (p_) std::exchange(p_, nullptr)->Release(); }
    // For out-parameters: releases the current pointer and hands out its slot.
    I** put() { reset(); return &p_; }
private:
    I* p_ = nullptr;
};

// A window DC from GetDC, released to its window.
class WindowDc : NoCopy {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() { if (dc_) ReleaseDC(hwnd_, dc_); }
    HDC get() const { return dc_; }
private:
    HWND hwnd_;
    HDC dc_;
};

// Selects a GDI object into a DC for the scope, then puts the old one back.
class SelectObjectScope : NoCopy {
public:
    SelectObjectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~SelectObjectScope() { if (old_) SelectObject(dc_, old_); }
private:
    HDC dc_;
    HGDIOBJ old_;
};

// BeginPaint for the scope; EndPaint at its end, also when the painting throws.
class PaintScope : NoCopy {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    HDC get() const { return dc_; }
    const RECT& Update() const { return ps_.rcPaint; }
private:
    HWND hwnd_;
    PAINTSTRUCT ps_;
    HDC dc_;
};

// Saves the state of a DC (clipping, origin, selections) for the scope, then restores it.
class SavedDcScope : NoCopy {
public:
    explicit SavedDcScope(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDcScope() { if (saved_) RestoreDC(dc_, saved_); }
private:
    HDC dc_;
    int saved_;
};

}  // namespace tk
