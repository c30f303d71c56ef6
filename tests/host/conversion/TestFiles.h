// Test helpers: a scratch folder per test, and reading/writing whole files.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testfiles {

using Bytes = std::vector<uint8_t>;

// A fresh folder under the system's temp folder, removed with everything in it afterwards.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vexlar-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) ADD_FAILURE() << "mkdtemp failed";
        path_ = pattern;
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // The folder with a trailing separator, as output folders are written.
    std::string Folder() const { return path_.string() + "/"; }
    std::string operator/(const std::string& name) const { return Folder() + name; }

private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

inline Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool Exists(const std::string& path) { return std::filesystem::exists(path); }

inline void PutLE32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

inline uint32_t GetLE32(const Bytes& b, size_t at) {
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
           static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// A GVI file of `size` bytes (at least 24): "RIFF", the length field, "AVI ", the signature
// at 20, and a recognisable pattern everywhere else.
inline Bytes MakeGvi(size_t size, uint32_t length) {
    Bytes b(size);
    for (size_t i = 0; i < size; ++i) b[i] = static_cast<uint8_t>((i * 7 + 3) & 0xFF);
    const char riff[] = "RIFF";
    const char avi[] = "AVI ";
    for (int i = 0; i < 4; ++i) {
        if (size > 12) {
            b[i] = static_cast<uint8_t>(riff[i]);
            b[8 + i] = static_cast<uint8_t>(avi[i]);
        }
    }
    if (size >= 8) PutLE32(b, 4, length);
    const uint8_t sig[4] = {0x67, 0x6F, 0x6F, 0x67};
    for (size_t i = 0; i < 4 && 20 + i < size; ++i) b[20 + i] = sig[i];
    return b;
}

// Wraps a real AVI file the way Google Video did: a 52-byte LIST "goog" block holding a GDAT
// chunk right after the RIFF header, and the RIFF length grown by 52.
inline Bytes WrapAvi(const Bytes& avi) {
    Bytes gvi(avi.begin(), avi.begin() + 12);
    PutLE32(gvi, 4, GetLE32(avi, 4) + 52);
    const char list[] = "LIST", goog[] = "goog", gdat[] = "GDAT";
    Bytes block(52, 0);
    for (int i = 0; i < 4; ++i) {
        block[i] = static_cast<uint8_t>(list[i]);
        block[8 + i] = static_cast<uint8_t>(goog[i]);
        block[12 + i] = static_cast<uint8_t>(gdat[i]);
    }
    PutLE32(block, 4, 44);
    PutLE32(block, 16, 32);
    for (int i = 0; i < 32; ++i) block[20 + i] = static_cast<uint8_t>(0xA0 + i);
    gvi.insert(gvi.end(), block.begin(), block.end());
    gvi.insert(gvi.end(), avi.begin() + 12, avi.end());
    return gvi;
}

// Makes a small MJPEG AVI with ffmpeg; false when ffmpeg is not installed or fails.
inline bool MakeAviWithFfmpeg(const std::string& path, const std::string& size, int seconds) {
    if (std::system("command -v ffmpeg >/dev/null 2>&1") != 0) return false;
    std::string cmd = "ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=size=" + size +
                      ":rate=10 -t " + std::to_string(seconds) + " -c:v mjpeg '" + path + "'";
    return std::system(cmd.c_str()) == 0 && Exists(path);
}

}  // namespace testfiles
