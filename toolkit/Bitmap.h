// Pictures on DIB sections, the canvas that draws them, and the stored picture data block.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "toolkit/Handles.h"

namespace tk {

// A 24-bit top-down picture in a DIB section, with a selected memory DC for drawing into it.
// Like Delphi's TBitmap it can be marked Transparent with a TransparentColor: a later Draw of a
// marked bitmap leaves the pixels of that colour out.
class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height) { SetSize(width, height); }
    Bitmap(const Bitmap& other) { Assign(other); }
    Bitmap& operator=(const Bitmap& other) { if (this != &other) Assign(other); return *this; }
    Bitmap(Bitmap&&) noexcept;
    Bitmap& operator=(Bitmap&&) noexcept;
    ~Bitmap();

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    // New size; the contents are black afterwards. 0 × 0 frees the picture.
    void SetSize(int width, int height);
    void Clear() { SetSize(0, 0); }
    // Copies picture and transparency marks.
    void Assign(const Bitmap& other);

    // COLORREF of a pixel (0x00BBGGRR); 0 outside the picture.
    COLORREF Pixel(int x, int y) const;
    void SetPixel(int x, int y, COLORREF c);
    void Fill(COLORREF c);

    bool Transparent = false;
    COLORREF TransparentColor = 0;

    // Complete BMP files. Loading accepts 24-bit uncompressed BMPs (bottom-up or top-down) and
    // returns false, leaving the picture unchanged, for any other kind or anything malformed.
    bool LoadFromBmp(const uint8_t* data, size_t size);
    bool LoadFromBmp(const std::vector<uint8_t>& bytes) { return LoadFromBmp(bytes.data(), bytes.size()); }
    std::vector<uint8_t> SaveToBmp() const;  // 24-bit bottom-up BMP file
    // A JPEG file through libjpeg; false for a damaged or unsupported one (picture unchanged).
    bool LoadFromJpeg(const uint8_t* data, size_t size);
    bool LoadFromJpeg(const std::vector<uint8_t>& bytes) { return LoadFromJpeg(bytes.data(), bytes.size()); }
    // BMP ("BM") or JPEG (FF D8) by their first bytes.
    bool LoadFromFileData(const uint8_t* data, size_t size);
    bool LoadFromFileData(const std::vector<uint8_t>& bytes) { return LoadFromFileData(bytes.data(), bytes.size()); }

    // The DIB section and a memory DC with it selected (nullptr while empty).
    HBITMAP Handle() const { return bitmap_.get(); }
    HDC Dc() const { return dc_.get(); }
    // Row y of the pixels: width × 3 bytes, blue, green, red (rows are padded to 4 bytes).
    uint8_t* Row(int y) { return bits_ + static_cast<size_t>(y) * stride_; }
    const uint8_t* Row(int y) const { return bits_ + static_cast<size_t>(y) * stride_; }
    int Stride() const { return stride_; }

private:
    int width_ = 0, height_ = 0, stride_ = 0;
    uint8_t* bits_ = nullptr;
    OwnedBitmap bitmap_;
    OwnedMemDc dc_;
    HGDIOBJ oldBitmap_ = nullptr;
};

// Picture data block of a layout: a 32-bit little-endian byte count, then a complete BMP file.
std::vector<uint8_t> WritePictureBlock(const Bitmap& bitmap);
// Checks the count against the data and the BMP inside; false (bitmap unchanged) when anything
// is off. An empty block (count 0) gives an empty picture.
bool ReadPictureBlock(const uint8_t* data, size_t size, Bitmap& bitmap);
inline bool ReadPictureBlock(const std::vector<uint8_t>& bytes, Bitmap& bitmap) {
    return ReadPictureBlock(bytes.data(), bytes.size(), bitmap);
}
// Picture data of an image (TImage "Picture.Data"): the same byte count followed by a BMP or
// JPEG file. Writing keeps the original JPEG bytes when given.
bool ReadPictureData(const uint8_t* data, size_t size, Bitmap& bitmap);

// Drawing on a device context (a window's, a paint buffer's or a bitmap's). Does not own it.
class Canvas {
public:
    Canvas() = default;
    explicit Canvas(HDC dc) : dc_(dc) {}
    explicit Canvas(Bitmap& bitmap) : dc_(bitmap.Dc()) {}

    HDC Handle() const { return dc_; }
    void SetHandle(HDC dc) { dc_ = dc; }

    // Draws a bitmap at its own size; honours its Transparent mark.
    void Draw(int x, int y, const Bitmap& bitmap);
    void DrawOpaque(int x, int y, const Bitmap& bitmap);
    // Leaves out the pixels of colour `key`.
    void DrawTransparent(int x, int y, const Bitmap& bitmap, COLORREF key);
    // Stretches the bitmap over r (right and bottom exclusive).
    void StretchDraw(const RECT& r, const Bitmap& bitmap);

    void FillRect(const RECT& r, COLORREF c);
    COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HDC dc_ = nullptr;
};

}  // namespace tk
