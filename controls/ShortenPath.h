// Shortens a path for the folder browser's status line by putting "..." for middle folders.
#pragma once

#include <string>

// Whether a byte begins a two-byte character of the code page the text is written in. The
// second byte of such a character may be 0x5C, the backslash, on Japanese, Chinese and Korean
// systems. None (nullptr) for a single-byte code page.
using TLeadByteTest = bool (*)(unsigned char);

// At most `limit` bytes: the drive or server part, "...", then as many trailing components as
// fit; a path that cannot be cut at a backslash is truncated instead. The path is walked by
// character, so it is never cut inside one and only a backslash of its own counts.
std::string ShortenPath(std::string s, int limit, TLeadByteTest isLeadByte = nullptr);
