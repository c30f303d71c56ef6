// Shortens a path for the folder browser's status line by putting "..." for middle folders.
#include "controls/ShortenPath.h"

#include <algorithm>

namespace {

std::string Head(const std::string& s, int count) {
    return s.substr(0, static_cast<size_t>(std::max(count, 0)));
}

}  // namespace

std::string ShortenPath(std::string s, int limit) {
    const int length = static_cast<int>(s.size());
    if (length <= limit || limit < 6 || s.find('\\') == std::string::npos) return Head(s, limit);

    // Two backslashes are needed past the drive or server prefix to cut anything out.
    if (s.size() < 3 || std::count(s.begin() + 2, s.end(), '\\') < 2) return Head(s, limit);

    std::string result;
    if (s.find('\\') < 2) {
        result = "\\\\";
        s.erase(0, 2);
    }

    size_t p = s.find('\\');
    result += s.substr(0, p + 1) + "...";

    // Drop leading components until the rest fits; at least one always goes.
    auto fits = [&] { return static_cast<int>(result.size() + s.size()) + 1 <= limit; };
    do {
        s.erase(0, p + 1);
        p = s.find('\\');
    } while (!fits() && p != std::string::npos);

    if (fits()) return result + "\\" + s;
    return Head(result + "\\" + s, limit - 3) + "...";
}
