// What gvi2avi tells its user: lines on standard error, the answer on standard output.
#pragma once

#include <string>

namespace cli {

inline constexpr const char* kProgram = "gvi2avi";

enum ExitCode { kAllConverted = 0, kSomeFailed = 1, kUsage = 2 };

// Every line on standard error starts with the program's name, so it reads well among others.
void Complain(const char* format, ...) __attribute__((format(printf, 1, 2)));

int UsageError(const std::string& message);

// "1,234,567": byte counts a person reads.
std::string WithThousands(unsigned long long n);

// Standard output carries the answer (the files written, help, version): losing it is a
// failure of the run, said once.
class Output {
public:
    void Flush();
    // The status to end with, after flushing what is left.
    int Finish(int status);

private:
    int error_ = 0;
};

}  // namespace cli
