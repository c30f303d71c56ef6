// JPEG decoding: a real file into rows of blue, green, red; damaged data is a failure.
#include "toolkit/JpegDecode.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> ReadFile(const std::string& name) {
    const char* root = std::getenv("VEXLAR_SOURCE_DIR");
    std::ifstream in(std::string(root ? root : ".") + "/tests/data/toolkit/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Rows in memory, as the toolkit's bitmap keeps them; refuses pictures wider than `maxWidth`.
class Picture : public tk::detail::JpegSink {
public:
    int width = 0, height = 0, maxWidth = 1 << 20;
    std::vector<uint8_t> pixels;

    bool Begin(int w, int h) override {
        if (w > maxWidth) return false;
        width = w;
        height = h;
        pixels.assign(static_cast<size_t>(w) * h * 3, 0);
        return true;
    }
    uint8_t* Row(int y) override { return pixels.data() + static_cast<size_t>(y) * width * 3; }

    bool Near(int x, int y, int r, int g, int b) const {
        const uint8_t* p = pixels.data() + (static_cast<size_t>(y) * width + x) * 3;
        return std::abs(p[2] - r) <= 24 && std::abs(p[1] - g) <= 24 && std::abs(p[0] - b) <= 24;
    }
};

TEST(Jpeg, DecodesARealFileIntoBlueGreenRedRows) {
    std::vector<uint8_t> bytes = ReadFile("redgreen.jpg");
    ASSERT_FALSE(bytes.empty());
    Picture picture;
    ASSERT_TRUE(tk::detail::DecodeJpeg(bytes.data(), bytes.size(), picture));
    EXPECT_EQ(picture.width, 16);
    EXPECT_EQ(picture.height, 8);
    EXPECT_TRUE(picture.Near(2, 4, 255, 0, 0));
    EXPECT_TRUE(picture.Near(13, 4, 0, 0xC0, 0));
}

TEST(Jpeg, DamagedDataOrARefusedSizeFails) {
    std::vector<uint8_t> bytes = ReadFile("redgreen.jpg");
    ASSERT_GT(bytes.size(), 40u);
    Picture picture;
    EXPECT_FALSE(tk::detail::DecodeJpeg(bytes.data(), 20, picture));  // stops inside the headers
    const std::vector<uint8_t> garbage = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x01, 0x02, 0x03, 0x04};
    EXPECT_FALSE(tk::detail::DecodeJpeg(garbage.data(), garbage.size(), picture));
    EXPECT_FALSE(tk::detail::DecodeJpeg(nullptr, 0, picture));
    picture.maxWidth = 15;
    EXPECT_FALSE(tk::detail::DecodeJpeg(bytes.data(), bytes.size(), picture));
}

}  // namespace
