// Shortens a path for the folder browser's status line by putting "..." for middle folders.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Where the character after the one that starts at `at` begins.
using TNextCharacter = size_t (*)(std::string_view text, size_t at);

// At most `limit` bytes: the drive or server part, "...", then as many trailing components as
// fit; a path that cannot be cut at a backslash is truncated instead. The path is walked by
// character (of the program's code page unless told: UTF-8, or one whose two-byte characters may
// end in 0x5C, the backslash), so it is never cut inside one and only a backslash of its own counts.
std::string ShortenPath(std::string s, int limit, TNextCharacter next = nullptr);
