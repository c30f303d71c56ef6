// Shortens a path for the folder browser's status line by putting "..." for middle folders.
#pragma once

#include <string>

// Bytes of the character that begins with a byte, in the code page the text is written in: two
// for a lead byte of Japanese, Chinese and Korean code pages (whose second byte may be 0x5C, the
// backslash), up to four in UTF-8. None (nullptr) for a single-byte code page.
using TCharLength = size_t (*)(unsigned char first);

// At most `limit` bytes: the drive or server part, "...", then as many trailing components as
// fit; a path that cannot be cut at a backslash is truncated instead. The path is walked by
// character, so it is never cut inside one and only a backslash of its own counts.
std::string ShortenPath(std::string s, int limit, TCharLength charLength = nullptr);
