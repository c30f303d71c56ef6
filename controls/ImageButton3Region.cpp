// Window shapes for image buttons, built from runs of opaque pixels.
#include "controls/ImageButton3Region.h"

#include <cstring>
#include <vector>

namespace imagebutton {

namespace {

bool Opaque(const uint8_t* p, uint8_t b, uint8_t g, uint8_t r) {
    return p[0] != b || p[1] != g || p[2] != r;
}

struct Run {
    int left;
    int right;
    bool operator==(const Run&) const = default;
};

// The opaque runs of one row, left to right.
void RowRuns(const PixelView& picture, int y, uint8_t b, uint8_t g, uint8_t r,
             std::vector<Run>& runs) {
    runs.clear();
    const uint8_t* p = picture.Row(y);
    const int step = picture.bytesPerPixel;
    int x = 0;
    while (x < picture.width) {
        while (x < picture.width && !Opaque(p + static_cast<ptrdiff_t>(x) * step, b, g, r)) ++x;
        if (x == picture.width) break;
        const int left = x;
        while (x < picture.width && Opaque(p + static_cast<ptrdiff_t>(x) * step, b, g, r)) ++x;
        runs.push_back({left, x});
    }
}

}  // namespace

HRGN BuildRegion(const PixelView& picture, COLORREF transparent) {
    if (picture.width <= 0 || picture.height <= 0 || !picture.bits) return nullptr;
    const uint8_t r = GetRValue(transparent), g = GetGValue(transparent),
                  b = GetBValue(transparent);

    // Bands of equal rows, each as its runs: the rectangle list in the system's own banded
    // order, so the region comes out as the per-pixel joins would have made it.
    std::vector<RECT> rects;
    std::vector<Run> band, row;
    int bandTop = 0;
    auto flush = [&](int bottom) {
        for (const Run& run : band) rects.push_back({run.left, bandTop, run.right, bottom});
    };
    for (int y = 0; y < picture.height; ++y) {
        RowRuns(picture, y, b, g, r, row);
        if (y > 0 && row == band) continue;
        flush(y);
        band.swap(row);
        bandTop = y;
    }
    flush(picture.height);
    if (rects.empty()) return nullptr;

    RECT bounds = rects.front();
    for (const RECT& rc : rects) {
        if (rc.left < bounds.left) bounds.left = rc.left;
        if (rc.right > bounds.right) bounds.right = rc.right;
        if (rc.bottom > bounds.bottom) bounds.bottom = rc.bottom;
    }
    const size_t rectBytes = rects.size() * sizeof(RECT);
    std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + rectBytes);
    RGNDATAHEADER header{};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(rects.size());
    header.nRgnSize = static_cast<DWORD>(rectBytes);
    header.rcBound = bounds;
    std::memcpy(data.data(), &header, sizeof header);
    std::memcpy(data.data() + sizeof header, rects.data(), rectBytes);
    return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                           reinterpret_cast<const RGNDATA*>(data.data()));
}

}  // namespace imagebutton
