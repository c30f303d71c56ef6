// Progress arithmetic of a batch: per-file and total percentages, progress bar widths.
#pragma once

#include <cstdint>

inline int ClampPercent(double value) {
    if (!(value > 0.0)) return 0;  // also NaN
    if (value >= 100.0) return 100;
    return static_cast<int>(value);  // truncation toward zero
}

// Progress of the current file: the temporary output's size against the source's, in percent.
// Sizes are 64-bit so sources of 2 GiB and more still show their progress.
inline int CurrentPercent(uint64_t TempSize, uint64_t SourceSize) {
    if (SourceSize == 0) return 0;
    return ClampPercent((static_cast<double>(TempSize) / static_cast<double>(SourceSize)) * 100);
}

// Progress of the batch while file BatchIndex (counted from 1) of BatchTotal is at Percent:
// each finished file counts 100 / BatchTotal, the current one its percentage / BatchTotal.
inline int TotalPercent(int Percent, int BatchIndex, int BatchTotal) {
    if (BatchTotal <= 0) return 0;
    double total = (1.0 / BatchTotal) * Percent +
                   (static_cast<double>(BatchIndex - 1) / BatchTotal) * 100.0;
    return ClampPercent(total);
}

// Width in pixels of a progress bar showing Percent of its FullWidth (the bar's image in the
// window's layout).
inline int BarWidth(int Percent, int FullWidth) {
    if (Percent < 0) Percent = 0;
    if (Percent > 100) Percent = 100;
    return static_cast<int>((Percent * FullWidth) / 100.0);
}
