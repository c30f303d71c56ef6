// Shortens a path for the folder browser's status line by putting "..." for middle folders.
#include "controls/ShortenPath.h"

#include "platform/Text.h"

#include <algorithm>

namespace {

// Walks an ANSI text character by character.
class Chars {
public:
    Chars(const std::string& s, TNextCharacter next) : s_(s), next_(next ? next : platform::NextCharacter) {}

    // Where the character at `i` (a character's first byte) ends.
    size_t Next(size_t i) const { return std::min(next_(s_, i), s_.size()); }
    // The first backslash that is a character of its own, or npos.
    size_t FindBackslash() const {
        for (size_t i = 0; i < s_.size(); i = Next(i))
            if (s_[i] == '\\') return i;
        return std::string::npos;
    }
    // The backslashes at byte offsets `from` and later.
    int CountBackslashes(size_t from) const {
        int n = 0;
        for (size_t i = 0; i < s_.size(); i = Next(i)) n += i >= from && s_[i] == '\\';
        return n;
    }
    // At most `count` bytes, ending on a character boundary.
    std::string Head(int count) const {
        size_t end = 0;
        while (end < s_.size() && static_cast<int>(Next(end)) <= count) end = Next(end);
        return s_.substr(0, end);
    }

private:
    const std::string& s_;
    TNextCharacter next_;
};

}  // namespace

std::string ShortenPath(std::string s, int limit, TNextCharacter next) {
    const Chars chars(s, next);  // follows s as it is cut
    const int length = static_cast<int>(s.size());
    if (length <= limit || limit < 6 || chars.FindBackslash() == std::string::npos)
        return chars.Head(limit);

    // Two backslashes are needed past the drive or server prefix to cut anything out.
    if (chars.CountBackslashes(2) < 2) return chars.Head(limit);

    std::string result;
    if (chars.FindBackslash() < 2) {
        result = "\\\\";
        s.erase(0, chars.Next(chars.Next(0)));  // two characters, not two bytes
    }

    size_t p = chars.FindBackslash();
    result += s.substr(0, p + 1) + "...";

    // Drop leading components until the rest fits; at least one always goes.
    auto fits = [&] { return static_cast<int>(result.size() + s.size()) + 1 <= limit; };
    do {
        s.erase(0, p + 1);
        p = chars.FindBackslash();
    } while (!fits() && p != std::string::npos);

    if (fits()) return result + "\\" + s;
    const std::string whole = result + "\\" + s;
    return Chars(whole, next).Head(limit - 3) + "...";
}
