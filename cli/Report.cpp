// What gvi2avi tells its user.
#include "cli/Report.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace cli {

void Complain(const char* format, ...) {
    std::fprintf(stderr, "%s: ", kProgram);
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
}

int UsageError(const std::string& message) {
    Complain("%s (try '%s --help')", message.c_str(), kProgram);
    return kUsage;
}

std::string WithThousands(unsigned long long n) {
    std::string digits = std::to_string(n);
    for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, ',');
    return digits;
}

void Output::Flush() {
    if (std::fflush(stdout) != 0 && error_ == 0) error_ = errno != 0 ? errno : EIO;
}

int Output::Finish(int status) {
    Flush();
    if (error_ == 0 && std::ferror(stdout)) error_ = EIO;
    if (error_ == 0) return status;
    Complain("could not write to standard output: %s", std::strerror(error_));
    return status == kAllConverted ? kSomeFailed : status;
}

}  // namespace cli
