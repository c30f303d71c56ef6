// Bitmaps: JPEG decoding, BMP files, picture data blocks and the canvas's copies.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "toolkit/Bitmap.h"

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string DataPath(const std::string& name) {
    const char* root = std::getenv("VEXLAR_SOURCE_DIR");
    return std::string(root ? root : ".") + "/tests/data/toolkit/" + name;
}

bool Near(COLORREF c, int r, int g, int b, int tolerance = 24) {
    return std::abs(GetRValue(c) - r) <= tolerance && std::abs(GetGValue(c) - g) <= tolerance &&
           std::abs(GetBValue(c) - b) <= tolerance;
}

tk::Bitmap Checker(int w, int h) {
    tk::Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixel(x, y, RGB(x * 10, y * 20, (x + y) % 2 ? 255 : 0));
    return b;
}

void ExpectSamePixels(const tk::Bitmap& a, const tk::Bitmap& b) {
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) ASSERT_EQ(a.Pixel(x, y), b.Pixel(x, y)) << x << "," << y;
}

TEST(Jpeg, DecodesARealFile) {
    std::vector<uint8_t> bytes = ReadFile(DataPath("redgreen.jpg"));
    ASSERT_FALSE(bytes.empty());
    tk::Bitmap b;
    ASSERT_TRUE(b.LoadFromJpeg(bytes));
    EXPECT_EQ(b.Width(), 16);
    EXPECT_EQ(b.Height(), 8);
    EXPECT_TRUE(Near(b.Pixel(2, 4), 255, 0, 0)) << std::hex << b.Pixel(2, 4);
    EXPECT_TRUE(Near(b.Pixel(13, 4), 0, 0xC0, 0)) << std::hex << b.Pixel(13, 4);
    // Sniffed by its first bytes as well.
    tk::Bitmap c;
    ASSERT_TRUE(c.LoadFromFileData(bytes));
    ExpectSamePixels(b, c);
}

TEST(Jpeg, DamagedDataFailsAndLeavesThePicture) {
    std::vector<uint8_t> bytes = ReadFile(DataPath("redgreen.jpg"));
    ASSERT_GT(bytes.size(), 40u);
    tk::Bitmap b = Checker(3, 2);
    // Which data fails is the decoder's business (tests/host/toolkit); a failure keeps the picture.
    std::vector<uint8_t> header(bytes.begin(), bytes.begin() + 20);
    EXPECT_FALSE(b.LoadFromJpeg(header));
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Pixel(1, 1), Checker(3, 2).Pixel(1, 1));
}

TEST(PictureBlock, RoundTripKeepsEveryPixel) {
    // Odd widths exercise the row padding.
    for (int w : {1, 3, 17, 70}) {
        tk::Bitmap b = Checker(w, 11);
        std::vector<uint8_t> block = tk::WritePictureBlock(b);
        const uint32_t count = block[0] | (block[1] << 8) | (block[2] << 16) | (uint32_t(block[3]) << 24);
        EXPECT_EQ(count, block.size() - 4);
        EXPECT_EQ(block[4], 'B');
        EXPECT_EQ(block[5], 'M');
        tk::Bitmap back;
        ASSERT_TRUE(tk::ReadPictureBlock(block, back));
        ExpectSamePixels(b, back);
    }
    // An empty picture is a count of 0.
    std::vector<uint8_t> empty = tk::WritePictureBlock(tk::Bitmap());
    EXPECT_EQ(empty, std::vector<uint8_t>(4, 0));
    tk::Bitmap b = Checker(2, 2);
    ASSERT_TRUE(tk::ReadPictureBlock(empty, b));
    EXPECT_TRUE(b.Empty());
}

TEST(PictureBlock, CorruptBlocksAreRefused) {
    const tk::Bitmap original = Checker(5, 4);
    const std::vector<uint8_t> good = tk::WritePictureBlock(original);
    auto refused = [&](std::vector<uint8_t> block) {
        tk::Bitmap b = Checker(2, 2);
        bool ok = tk::ReadPictureBlock(block, b);
        // A refused block leaves the picture alone.
        return !ok && b.Width() == 2 && b.Pixel(1, 1) == Checker(2, 2).Pixel(1, 1);
    };
    EXPECT_TRUE(refused({}));
    EXPECT_TRUE(refused({1, 0}));
    {  // count beyond the data
        auto b = good;
        b[0] = static_cast<uint8_t>(b[0] + 1);
        EXPECT_TRUE(refused(b));
    }
    {  // truncated file with a matching count: the pixels are missing
        std::vector<uint8_t> b(good.begin(), good.end() - 10);
        uint32_t n = static_cast<uint32_t>(b.size() - 4);
        b[0] = n & 0xFF; b[1] = (n >> 8) & 0xFF; b[2] = 0; b[3] = 0;
        EXPECT_TRUE(refused(b));
    }
    {  // not a BMP
        auto b = good;
        b[4] = 'X';
        EXPECT_TRUE(refused(b));
    }
    {  // a huge width in the header must not be believed
        auto b = good;
        b[4 + 18] = 0xFF; b[4 + 19] = 0xFF; b[4 + 20] = 0xFF; b[4 + 21] = 0x0F;
        EXPECT_TRUE(refused(b));
    }
    {  // pixel offset beyond the file
        auto b = good;
        b[4 + 10] = 0xFF; b[4 + 11] = 0xFF;
        EXPECT_TRUE(refused(b));
    }
    {  // compressed bitmaps are not read
        auto b = good;
        b[4 + 30] = 1;
        EXPECT_TRUE(refused(b));
    }
    {  // nor pictures of other depths than 24 bits
        auto b = good;
        b[4 + 28] = 8;
        EXPECT_TRUE(refused(b));
    }
    {  // count 0xFFFFFFFF
        auto b = good;
        b[0] = b[1] = b[2] = b[3] = 0xFF;
        EXPECT_TRUE(refused(b));
    }
}

TEST(Canvas, TransparentMarkStretchAndCopy) {
    tk::Bitmap target(6, 3);
    target.Fill(RGB(1, 2, 3));
    tk::Bitmap overlay(3, 3);
    overlay.Fill(RGB(9, 9, 9));
    overlay.SetPixel(1, 1, RGB(200, 0, 0));
    overlay.Transparent = true;
    overlay.TransparentColor = RGB(9, 9, 9);
    tk::Canvas canvas(target);
    canvas.Draw(0, 0, overlay);  // honours the mark
    EXPECT_EQ(target.Pixel(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(target.Pixel(1, 1), RGB(200, 0, 0));
    canvas.DrawOpaque(3, 0, overlay);
    EXPECT_EQ(target.Pixel(3, 0), RGB(9, 9, 9));

    // A one-pixel column stretched over several columns repeats it exactly.
    tk::Bitmap column(1, 3);
    column.SetPixel(0, 0, RGB(10, 20, 30));
    column.SetPixel(0, 1, RGB(40, 50, 60));
    column.SetPixel(0, 2, RGB(70, 80, 90));
    canvas.StretchDraw({1, 0, 5, 3}, column);
    for (int x = 1; x < 5; ++x) {
        EXPECT_EQ(target.Pixel(x, 0), RGB(10, 20, 30));
        EXPECT_EQ(target.Pixel(x, 2), RGB(70, 80, 90));
    }
    EXPECT_EQ(target.Pixel(5, 1), RGB(9, 9, 9));

    // Assign copies the marks too.
    tk::Bitmap copy;
    copy.Assign(overlay);
    EXPECT_TRUE(copy.Transparent);
    EXPECT_EQ(copy.TransparentColor, RGB(9, 9, 9));
    EXPECT_EQ(copy.Pixel(1, 1), RGB(200, 0, 0));
}

}  // namespace
