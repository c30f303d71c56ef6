// What the source list shows of a file: its size in megabytes; and which dropped files it takes.
#include "conversion/SourceList.h"
#include "TestFiles.h"

#include <filesystem>

using namespace testfiles;

namespace {

TEST(FileSizeText, SizeInBytesIsAll64BitsOfTheListedSize) {
    ScratchDir dir;
    WriteBytes(dir / "big.gvi", {});
    std::filesystem::resize_file(dir / "big.gvi", 3221225472ull);  // sparse: no disk space
    EXPECT_EQ(FileSizeInBytes(dir / "big.gvi"), 3221225472ull);
    EXPECT_EQ(FileSizeInBytes(dir / "none.gvi"), 0u);
}

TEST(FileSizeText, MegabytesWithTwoDecimalsRoundedHalfUp) {
    struct Case {
        uint64_t bytes;
        const char* text;
    };
    const Case cases[] = {
        {0, "0.00"},           {5242, "0.00"},          {5243, "0.01"},
        {131072, "0.13"},      {393216, "0.38"},        {1000000, "0.95"},
        {1048576, "1.00"},     {1043333, "0.99"},       {1043334, "1.00"},
        {12345678, "11.77"},   {2147483647, "2048.00"}, {3221225472ull, "3072.00"},
        {4294967296ull, "4096.00"}, {10485760000ull, "10000.00"},
        {0xFFFFFFFFFFFFFFFFull, "17592186044416.00"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatMegabytes(c.bytes, "."), c.text) << c.bytes;
    EXPECT_EQ(FormatMegabytes(131072, ","), "0,13");
    EXPECT_EQ(FormatMegabytes(12345678, "::"), "11::77");
}

TEST(GviExtension, LetterCaseIgnoredOnlyTheLastPartCounts) {
    EXPECT_TRUE(HasGviExtension("C:\\v\\a.gvi"));
    EXPECT_TRUE(HasGviExtension("C:\\v\\clip.GvI"));
    EXPECT_TRUE(HasGviExtension("C:\\v\\a.b.GVI"));
    EXPECT_FALSE(HasGviExtension("C:\\v\\a.avi"));
    EXPECT_FALSE(HasGviExtension("C:\\v\\a.gvi.avi"));
    EXPECT_FALSE(HasGviExtension("C:\\v.gvi\\clip"));
    EXPECT_FALSE(HasGviExtension("C:\\v\\gvi"));
    EXPECT_FALSE(HasGviExtension("C:\\v\\a.gvix"));
    EXPECT_FALSE(HasGviExtension("C:\\v\\a.gv"));
    EXPECT_FALSE(HasGviExtension("A.gvi:stream"));
    EXPECT_FALSE(HasGviExtension(""));
}

}  // namespace
