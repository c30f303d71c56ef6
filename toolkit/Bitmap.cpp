// Pictures on DIB sections, BMP files, picture data blocks and the canvas.
#include "toolkit/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "toolkit/JpegDecode.h"

namespace tk {
namespace {

// Pictures larger than this are refused when read from data (no layout picture comes near).
constexpr int64_t kMaxPixels = 64 * 1024 * 1024;
constexpr int kMaxSide = 32768;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void PutLe32(std::vector<uint8_t>& v, uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}

int StrideOf(int width) { return ((width * 3) + 3) & ~3; }

}  // namespace

// --- Bitmap ----------------------------------------------------------------------------------

Bitmap::Bitmap(Bitmap&& other) noexcept { *this = std::move(other); }

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this != &other) {
        SetSize(0, 0);
        Transparent = other.Transparent;
        TransparentColor = other.TransparentColor;
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        stride_ = std::exchange(other.stride_, 0);
        bits_ = std::exchange(other.bits_, nullptr);
        bitmap_ = std::move(other.bitmap_);
        dc_ = std::move(other.dc_);
        oldBitmap_ = std::exchange(other.oldBitmap_, nullptr);
    }
    return *this;
}

Bitmap::~Bitmap() { SetSize(0, 0); }

void Bitmap::SetSize(int width, int height) {
    if (dc_ && oldBitmap_) SelectObject(dc_.get(), oldBitmap_);
    oldBitmap_ = nullptr;
    dc_.reset();
    bitmap_.reset();
    bits_ = nullptr;
    width_ = height_ = stride_ = 0;
    if (width <= 0 || height <= 0) return;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    OwnedBitmap bmp(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    OwnedMemDc dc(CreateCompatibleDC(nullptr));
    if (!bmp || !dc || !bits) throw std::bad_alloc();
    oldBitmap_ = SelectObject(dc.get(), bmp.get());
    bitmap_ = std::move(bmp);
    dc_ = std::move(dc);
    bits_ = static_cast<uint8_t*>(bits);
    width_ = width;
    height_ = height;
    stride_ = StrideOf(width);
    std::memset(bits_, 0, static_cast<size_t>(stride_) * height_);
}

void Bitmap::Assign(const Bitmap& other) {
    if (this == &other) return;
    if (other.Empty()) {
        SetSize(0, 0);
    } else {
        if (width_ != other.width_ || height_ != other.height_) SetSize(other.width_, other.height_);
        GdiFlush();
        std::memcpy(bits_, other.bits_, static_cast<size_t>(stride_) * height_);
    }
    Transparent = other.Transparent;
    TransparentColor = other.TransparentColor;
}

COLORREF Bitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    GdiFlush();
    const uint8_t* p = Row(y) + x * 3;
    return RGB(p[2], p[1], p[0]);
}

void Bitmap::SetPixel(int x, int y, COLORREF c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    GdiFlush();
    uint8_t* p = Row(y) + x * 3;
    p[0] = GetBValue(c);
    p[1] = GetGValue(c);
    p[2] = GetRValue(c);
}

void Bitmap::Fill(COLORREF c) {
    if (Empty()) return;
    GdiFlush();
    for (int y = 0; y < height_; ++y) {
        uint8_t* p = Row(y);
        for (int x = 0; x < width_; ++x, p += 3) {
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    }
}

bool Bitmap::LoadFromBmp(const uint8_t* data, size_t size) {
    // File header (14 bytes) and an info header of at least 40 bytes.
    if (data == nullptr || size < 54 || data[0] != 'B' || data[1] != 'M') return false;
    const uint32_t offBits = Le32(data + 10);
    const uint32_t headerSize = Le32(data + 14);
    if (headerSize < 40 || headerSize > 1024 || size < 14 + static_cast<size_t>(headerSize)) return false;
    int64_t width = static_cast<int32_t>(Le32(data + 18));
    int64_t height = static_cast<int32_t>(Le32(data + 22));
    // Every picture of the program is 24-bit and uncompressed; others are refused.
    if (Le16(data + 26) != 1 || Le16(data + 28) != 24 || Le32(data + 30) != BI_RGB) return false;
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
        return false;

    const int64_t rowBytes = StrideOf(static_cast<int>(width));
    if (offBits < 14 || offBits > size) return false;
    if (static_cast<int64_t>(size - offBits) / rowBytes < height) return false;

    Bitmap result(static_cast<int>(width), static_cast<int>(height));
    for (int64_t y = 0; y < height; ++y) {
        const uint8_t* src = data + offBits + (topDown ? y : height - 1 - y) * rowBytes;
        std::memcpy(result.Row(static_cast<int>(y)), src, static_cast<size_t>(width) * 3);
    }
    result.Transparent = Transparent;
    result.TransparentColor = TransparentColor;
    *this = std::move(result);
    return true;
}

std::vector<uint8_t> Bitmap::SaveToBmp() const {
    std::vector<uint8_t> out;
    if (Empty()) return out;
    GdiFlush();
    const uint32_t imageSize = static_cast<uint32_t>(stride_) * height_;
    // Bottom-up, as BMP files usually are.
    const BITMAPFILEHEADER file{0x4D42, 54 + imageSize, 0, 0, 54};  // "BM"
    const BITMAPINFOHEADER info{sizeof(info), width_, height_, 1, 24, BI_RGB, imageSize, 0, 0, 0, 0};
    static_assert(sizeof(file) + sizeof(info) == 54);
    out.reserve(54 + imageSize);
    out.insert(out.end(), reinterpret_cast<const uint8_t*>(&file), reinterpret_cast<const uint8_t*>(&file + 1));
    out.insert(out.end(), reinterpret_cast<const uint8_t*>(&info), reinterpret_cast<const uint8_t*>(&info + 1));
    for (int y = height_ - 1; y >= 0; --y) out.insert(out.end(), Row(y), Row(y) + stride_);
    return out;
}

namespace {
class BitmapSink : public detail::JpegSink {
public:
    explicit BitmapSink(Bitmap& b) : b_(b) {}
    bool Begin(int width, int height) override {
        if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
            static_cast<int64_t>(width) * height > kMaxPixels)
            return false;
        b_.SetSize(width, height);
        return true;
    }
    uint8_t* Row(int y) override { return b_.Row(y); }

private:
    Bitmap& b_;
};
}  // namespace

bool Bitmap::LoadFromJpeg(const uint8_t* data, size_t size) {
    Bitmap result;
    BitmapSink sink(result);
    if (!detail::DecodeJpeg(data, size, sink)) return false;
    result.Transparent = Transparent;
    result.TransparentColor = TransparentColor;
    *this = std::move(result);
    return true;
}

bool Bitmap::LoadFromFileData(const uint8_t* data, size_t size) {
    if (data == nullptr || size < 2) return false;
    if (data[0] == 'B' && data[1] == 'M') return LoadFromBmp(data, size);
    if (data[0] == 0xFF && data[1] == 0xD8) return LoadFromJpeg(data, size);
    return false;
}

// --- Picture data blocks ---------------------------------------------------------------------

std::vector<uint8_t> WritePictureBlock(const Bitmap& bitmap) {
    std::vector<uint8_t> file = bitmap.SaveToBmp();
    std::vector<uint8_t> out;
    out.reserve(4 + file.size());
    PutLe32(out, static_cast<uint32_t>(file.size()));
    out.insert(out.end(), file.begin(), file.end());
    return out;
}

namespace {
// Reads the file inside a block with `load`; an empty block clears the picture.
bool ReadBlock(const uint8_t* data, size_t size, Bitmap& bitmap, bool (Bitmap::*load)(const uint8_t*, size_t)) {
    if (data == nullptr || size < 4) return false;
    const uint32_t count = Le32(data);
    if (count > size - 4) return false;
    if (count == 0) {
        bitmap.Clear();
        return true;
    }
    return (bitmap.*load)(data + 4, count);
}
}  // namespace

bool ReadPictureBlock(const uint8_t* data, size_t size, Bitmap& bitmap) {
    return ReadBlock(data, size, bitmap, &Bitmap::LoadFromBmp);
}

bool ReadPictureData(const uint8_t* data, size_t size, Bitmap& bitmap) {
    return ReadBlock(data, size, bitmap, &Bitmap::LoadFromFileData);
}

// --- Canvas ----------------------------------------------------------------------------------

void Canvas::Draw(int x, int y, const Bitmap& bitmap) {
    if (bitmap.Transparent)
        DrawTransparent(x, y, bitmap, bitmap.TransparentColor);
    else
        DrawOpaque(x, y, bitmap);
}

void Canvas::DrawOpaque(int x, int y, const Bitmap& bitmap) {
    if (!dc_ || bitmap.Empty()) return;
    BitBlt(dc_, x, y, bitmap.Width(), bitmap.Height(), bitmap.Dc(), 0, 0, SRCCOPY);
}

void Canvas::DrawTransparent(int x, int y, const Bitmap& bitmap, COLORREF key) {
    if (!dc_ || bitmap.Empty()) return;
    TransparentBlt(dc_, x, y, bitmap.Width(), bitmap.Height(), bitmap.Dc(), 0, 0, bitmap.Width(),
                   bitmap.Height(), key & 0xFFFFFF);
}

void Canvas::StretchDraw(const RECT& r, const Bitmap& bitmap) {
    if (!dc_ || bitmap.Empty() || r.right <= r.left || r.bottom <= r.top) return;
    int oldMode = SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, r.left, r.top, r.right - r.left, r.bottom - r.top, bitmap.Dc(), 0, 0,
               bitmap.Width(), bitmap.Height(), SRCCOPY);
    SetStretchBltMode(dc_, oldMode);
}

void Canvas::FillRect(const RECT& r, COLORREF c) {
    if (!dc_) return;
    OwnedBrush brush(CreateSolidBrush(c & 0xFFFFFF));
    ::FillRect(dc_, &r, brush.get());
}

}  // namespace tk
