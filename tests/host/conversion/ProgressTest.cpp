// Progress arithmetic: per-file and batch percentages, bar widths.
#include "conversion/Progress.h"

#include <gtest/gtest.h>

namespace {

TEST(Progress, CurrentPercentTruncatesAndStaysInRange) {
    EXPECT_EQ(CurrentPercent(333333, 1000000), 33);
    EXPECT_EQ(CurrentPercent(999999, 1000000), 99);
    EXPECT_EQ(CurrentPercent(500, 0), 0);
    EXPECT_EQ(CurrentPercent(0, 100), 0);
    // Sources beyond 4 GiB keep their real progress, and a temp file larger than the
    // source (replaced meanwhile) never shows more than 100.
    EXPECT_EQ(CurrentPercent(3ull << 30, 6ull << 30), 50);
    EXPECT_EQ(CurrentPercent(10ull << 32, 1ull << 32), 100);
}

TEST(Progress, TotalPercentWeighsFinishedFilesAndTheCurrentOne) {
    EXPECT_EQ(TotalPercent(50, 2, 4), 37);
    EXPECT_EQ(TotalPercent(99, 1, 2), 49);
    EXPECT_EQ(TotalPercent(0, 1, 1), 0);
    EXPECT_EQ(TotalPercent(100, 4, 4), 100);
    EXPECT_EQ(TotalPercent(100, 7, 4), 100);  // out of range stays in range
    EXPECT_EQ(TotalPercent(10, 1, 0), 0);
}

TEST(Progress, BarWidthFollowsThe357PixelBar) {
    EXPECT_EQ(BarWidth(0, 357), 0);
    EXPECT_EQ(BarWidth(1, 357), 3);
    EXPECT_EQ(BarWidth(50, 357), 178);
    EXPECT_EQ(BarWidth(99, 357), 353);
    EXPECT_EQ(BarWidth(100, 357), 357);
    EXPECT_EQ(BarWidth(-5, 357), 0);
    EXPECT_EQ(BarWidth(250, 357), 357);
}

}  // namespace
