// The status line's path shortening, row by row, plus its limits.
#include "controls/ShortenPath.h"

#include <gtest/gtest.h>

namespace {

TEST(ShortenPath, DropsMiddleFoldersAfterTheDrive) {
    std::string path = "C:\\Documents and Settings\\All Users\\Documents\\My Videos\\Converted";
    ASSERT_EQ(path.size(), 65u);
    EXPECT_EQ(ShortenPath(path, 50), "C:\\...\\All Users\\Documents\\My Videos\\Converted");
    EXPECT_EQ(ShortenPath("C:\\Program Files\\Very Long Application Folder Name\\Sub\\Output", 50),
              "C:\\...\\Sub\\Output");
}

TEST(ShortenPath, KeepsTheServerOfANetworkPath) {
    EXPECT_EQ(ShortenPath("\\\\server\\share\\projects\\video\\converted files\\2007\\march", 50),
              "\\\\server\\...\\video\\converted files\\2007\\march");
}

TEST(ShortenPath, TruncatesWhatCannotBeCut) {
    std::string name61(61, 'n');
    EXPECT_EQ(ShortenPath("C:\\" + name61, 50), ("C:\\" + name61).substr(0, 50));

    std::string name71;
    for (int i = 0; i < 71; ++i) name71 += static_cast<char>('a' + i % 26);
    std::string shortened = ShortenPath("C:\\dir\\" + name71, 50);
    EXPECT_EQ(shortened, "C:\\...\\" + name71.substr(0, 40) + "...");
    EXPECT_EQ(shortened.size(), 50u);
}

TEST(ShortenPath, LeavesShortPathsAlone) {
    std::string exactly50 = "C:\\" + std::string(47, 'x');
    EXPECT_EQ(ShortenPath(exactly50, 50), exactly50);
    EXPECT_EQ(ShortenPath("C:\\Data\\Videos", 50), "C:\\Data\\Videos");
    EXPECT_EQ(ShortenPath("", 50), "");
    // No backslash, or a limit too small to hold "X:\...": plain truncation.
    EXPECT_EQ(ShortenPath(std::string(60, 'x'), 50), std::string(50, 'x'));
    EXPECT_EQ(ShortenPath("C:\\aaaa\\bbbb\\cccc", 5), "C:\\aa");
}

TEST(ShortenPath, NeverCutsAUtf8Character) {
    std::string zhe30, clapper20;
    for (int i = 0; i < 30; ++i) zhe30 += "\xD0\x96";          // Ж, two bytes
    for (int i = 0; i < 20; ++i) clapper20 += "\xF0\x9F\x8E\xAC";  // 🎬, four bytes
    EXPECT_EQ(ShortenPath("C:\\" + zhe30, 50), "C:\\" + zhe30.substr(0, 46));
    EXPECT_EQ(ShortenPath("C:\\dir\\x" + clapper20, 50),
              "C:\\...\\x" + clapper20.substr(0, 36) + "...");
}

TEST(ShortenPath, NeverExceedsTheLimit) {
    std::string path = "C:";
    for (int i = 0; i < 30; ++i) path += "\\folder" + std::to_string(i);
    for (int limit = 0; limit <= 80; ++limit)
        EXPECT_LE(ShortenPath(path, limit).size(), static_cast<size_t>(std::max(limit, 0))) << limit;
}

}  // namespace
