// Window shapes for image buttons: the region of a picture's pixels that are not the
// transparent colour. Internal to the image button; the tests and the benchmark use it too.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "toolkit/Bitmap.h"

namespace imagebutton {

// A read-only view of a picture's pixels, stored blue, green, red (DIB order).
struct PixelView {
    int width = 0;
    int height = 0;
    const uint8_t* bits = nullptr;  // the top row
    ptrdiff_t stride = 0;           // bytes from a row to the one below it (negative bottom-up)
    int bytesPerPixel = 4;          // 3 or 4; a fourth byte is ignored

    const uint8_t* Row(int y) const { return bits + stride * y; }
    COLORREF Pixel(int x, int y) const {
        const uint8_t* p = Row(y) + static_cast<ptrdiff_t>(x) * bytesPerPixel;
        return RGB(p[2], p[1], p[0]);
    }
};

// The pixels of a toolkit picture.
inline PixelView ViewOf(const tk::Bitmap& b) {
    return {b.Width(), b.Height(), b.Empty() ? nullptr : b.Row(0), b.Stride(), 3};
}

// The shape of the pixels that are not `transparent`, from horizontal runs: rows with equal
// runs are merged into one band and the rectangles go to a single ExtCreateRegion, in the
// system's own banded order, so the region equals the one 1 x 1 rectangles joined pixel by
// pixel would make. nullptr when every pixel is transparent (or when the system cannot make
// the region).
HRGN BuildRegion(const PixelView& picture, COLORREF transparent);

}  // namespace imagebutton
