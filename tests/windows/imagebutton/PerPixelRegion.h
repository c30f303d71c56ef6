// The image button's window shape built pixel by pixel: one 1 x 1 rectangle per pixel that is
// not `transparent`, scanned column by column and joined with RGN_OR. Slow; the definition the
// button's run builder is checked (tests) and measured (bench/region) against. nullptr when
// every pixel is transparent.
#pragma once

#include <windows.h>

#include "controls/ImageButton3Region.h"

inline HRGN BuildRegionPerPixel(const imagebutton::PixelView& picture, COLORREF transparent) {
    HRGN region = nullptr;
    for (int x = 0; x < picture.width; ++x) {
        for (int y = 0; y < picture.height; ++y) {
            if (picture.Pixel(x, y) == transparent) continue;
            HRGN dot = CreateRectRgn(x, y, x + 1, y + 1);
            if (!region) {
                region = dot;
            } else {
                CombineRgn(region, region, dot, RGN_OR);
                DeleteObject(dot);
            }
        }
    }
    return region;
}
