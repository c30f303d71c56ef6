// gvi2avi's progress on a terminal: one line, redrawn in place at most ten times a second,
// with the current file and the whole run.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace cli {

class ProgressLine {
public:
    // `runBytes`: what the whole run has to convert, for its share done and the time left.
    ProgressLine(bool enabled, uint64_t runBytes);

    // File `index` (from 1) of `total` begins, after `bytesBefore` bytes of the run.
    void BeginFile(int index, int total, const std::string& name, uint64_t bytesBefore);
    void Update(uint64_t outputBytes, uint64_t sourceBytes);
    void Clear();

private:
    using Clock = std::chrono::steady_clock;

    void Draw(int percent, uint64_t bytes, bool force);
    std::string RunPart(uint64_t bytes, Clock::time_point now) const;

    bool enabled_;
    uint64_t runBytes_;
    uint64_t bytesBefore_ = 0;
    std::string prefix_;
    Clock::time_point runStart_;
    Clock::time_point start_{};
    Clock::time_point lastDraw_{};
    size_t width_ = 0;
};

}  // namespace cli
