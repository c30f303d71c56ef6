// gvi2avi's progress line.
#include "cli/ProgressLine.h"

#include "conversion/Progress.h"
#include "platform/Text.h"

#include <cstdio>

namespace cli {

ProgressLine::ProgressLine(bool enabled, uint64_t runBytes)
    : enabled_(enabled), runBytes_(runBytes), runStart_(Clock::now()) {}

void ProgressLine::BeginFile(int index, int total, const std::string& name, uint64_t bytesBefore) {
    if (!enabled_) return;
    char counter[32];
    std::snprintf(counter, sizeof counter, "[%d/%d] ", index, total);
    prefix_ = counter + platform::ShortenMiddle(name, 40);
    bytesBefore_ = bytesBefore;
    start_ = Clock::now();
    Draw(0, 0, true);
}

void ProgressLine::Update(uint64_t outputBytes, uint64_t sourceBytes) {
    if (!enabled_) return;
    Draw(CurrentPercent(outputBytes, sourceBytes), outputBytes, false);
}

void ProgressLine::Clear() {
    if (!enabled_ || width_ == 0) return;
    std::fprintf(stderr, "\r%*s\r", static_cast<int>(width_), "");
    std::fflush(stderr);
    width_ = 0;
}

// The run's share done and, once a second has shown the pace, the time left at that pace.
std::string ProgressLine::RunPart(uint64_t bytes, Clock::time_point now) const {
    const uint64_t done = bytesBefore_ + bytes;
    char text[64];
    int n = std::snprintf(text, sizeof text, "  run %3d%%", CurrentPercent(done, runBytes_));
    const double seconds = std::chrono::duration<double>(now - runStart_).count();
    if (seconds >= 1 && done > 0 && done < runBytes_) {
        const auto left = static_cast<long long>(static_cast<double>(runBytes_ - done) / done * seconds);
        if (left >= 3600)
            std::snprintf(text + n, sizeof text - n, "  %lld:%02lld:%02lld left", left / 3600,
                          left / 60 % 60, left % 60);
        else
            std::snprintf(text + n, sizeof text - n, "  %lld:%02lld left", left / 60, left % 60);
    }
    return text;
}

void ProgressLine::Draw(int percent, uint64_t bytes, bool force) {
    Clock::time_point now = Clock::now();
    if (!force && now - lastDraw_ < std::chrono::milliseconds(100)) return;
    lastDraw_ = now;
    double seconds = std::chrono::duration<double>(now - start_).count();
    const std::string run = RunPart(bytes, now);
    char text[512];
    int n = seconds > 0.05
                ? std::snprintf(text, sizeof text, "%s  %3d%%  %.1f MB/s%s", prefix_.c_str(), percent,
                                static_cast<double>(bytes) / 1e6 / seconds, run.c_str())
                : std::snprintf(text, sizeof text, "%s  %3d%%%s", prefix_.c_str(), percent, run.c_str());
    size_t len = n < 0 ? 0 : static_cast<size_t>(n) < sizeof text ? static_cast<size_t>(n)
                                                                    : sizeof text - 1;
    // Pad over what a longer previous line left behind.
    std::fprintf(stderr, "\r%s%*s", text, static_cast<int>(width_ > len ? width_ - len : 0), "");
    std::fflush(stderr);
    width_ = len > width_ ? len : width_;
}

}  // namespace cli
