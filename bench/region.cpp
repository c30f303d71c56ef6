// bench_region: how long an image button takes to build its window shape, the per-pixel
// definition against the run-based builder, on the skin's button pictures.
//
//   bench_region [FOLDER]   pictures btn_*_{none,down}.bmp from FOLDER (default: resources/
//                           of the source tree); synthetic faces stand in for missing ones.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "controls/ImageButton3Region.h"
#include "tests/windows/imagebutton/PerPixelRegion.h"

namespace {

struct Picture {
    std::string name;
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;  // 32 bits per pixel, top row first
    imagebutton::PixelView View() const {
        return {width, height, pixels.data(), static_cast<ptrdiff_t>(width) * 4, 4};
    }
};

bool LoadBmp(const std::string& path, Picture& out) {
    HBITMAP bmp = static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bmp) return false;
    BITMAP info{};
    GetObjectA(bmp, sizeof info, &info);
    out.width = info.bmWidth;
    out.height = info.bmHeight;
    out.pixels.assign(static_cast<size_t>(out.width) * out.height * 4, 0);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = out.width;
    bi.bmiHeader.biHeight = -out.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC dc = GetDC(nullptr);
    const int rows = GetDIBits(dc, bmp, 0, out.height, out.pixels.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(bmp);
    return rows == out.height;
}

// A light face with rounded corners on the key colour, like the skin's buttons.
Picture Synthetic(const std::string& name, int w, int h) {
    Picture p{name, w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h * 4)};
    const int radius = std::min(6, std::min(w, h) / 2);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int dx = x < radius ? radius - x : (x >= w - radius ? x - (w - radius - 1) : 0);
            const int dy = y < radius ? radius - y : (y >= h - radius ? y - (h - radius - 1) : 0);
            uint8_t* px = &p.pixels[(static_cast<size_t>(y) * w + x) * 4];
            const bool inside = dx * dx + dy * dy <= radius * radius;
            px[0] = inside ? 200 : 255;
            px[1] = inside ? static_cast<uint8_t>(190 + (x + y) % 40) : 0;
            px[2] = inside ? 210 : 255;
        }
    }
    return p;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Median of `runs` builds, in microseconds.
double Time(const std::function<HRGN()>& build, int runs) {
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    std::vector<double> samples;
    samples.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        HRGN region = build();
        QueryPerformanceCounter(&b);
        if (region) DeleteObject(region);
        samples.push_back(1e6 * static_cast<double>(b.QuadPart - a.QuadPart) / freq.QuadPart);
    }
    return Median(samples);
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder;
    if (argc > 1) {
        folder = argv[1];
    } else if (const char* src = std::getenv("VEXLAR_SOURCE_DIR")) {
        folder = std::string(src) + "/resources";
    } else {
        folder = "resources";
    }
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';

    struct Wanted { const char* name; int w, h; };
    const Wanted wanted[] = {
        {"btn_start_none", 65, 57}, {"btn_start_down", 65, 57},
        {"btn_add_none", 70, 25},   {"btn_add_down", 70, 25},
        {"btn_close_none", 17, 11},
    };
    std::printf("%-16s %7s %6s %14s %14s %8s\n", "picture", "size", "rects", "per-pixel us",
                "runs us", "speed-up");
    bool allEqual = true, anySynthetic = false;
    for (const Wanted& w : wanted) {
        Picture p;
        if (LoadBmp(folder + w.name + ".bmp", p)) {
            p.name = w.name;
        } else {
            p = Synthetic(std::string(w.name) + "*", w.w, w.h);
            anySynthetic = true;
        }
        const imagebutton::PixelView view = p.View();
        const COLORREF key = view.Pixel(0, view.height - 1);  // as under tmAuto

        HRGN reference = BuildRegionPerPixel(view, key);
        HRGN fast = imagebutton::BuildRegion(view, key);
        const bool equal = (!reference && !fast) || (reference && fast && EqualRgn(reference, fast));
        allEqual = allEqual && equal;
        const DWORD bytes = fast ? GetRegionData(fast, 0, nullptr) : 0;
        const size_t rects = bytes > sizeof(RGNDATAHEADER) ? (bytes - sizeof(RGNDATAHEADER)) / sizeof(RECT) : 0;
        if (reference) DeleteObject(reference);
        if (fast) DeleteObject(fast);

        const double slow = Time([&] { return BuildRegionPerPixel(view, key); }, 201);
        const double quick = Time([&] { return imagebutton::BuildRegion(view, key); }, 2001);
        char size[16];
        std::snprintf(size, sizeof size, "%dx%d", p.width, p.height);
        std::printf("%-16s %7s %6zu %14.1f %14.1f %7.0fx%s\n", p.name.c_str(), size, rects, slow,
                    quick, quick > 0 ? slow / quick : 0.0, equal ? "" : "  REGIONS DIFFER");
    }
    if (anySynthetic) std::printf("* synthetic picture: the skin's file was not found\n");
    return allEqual ? 0 : 1;
}
