// Shortens a path for the folder browser's status line by putting "..." for middle folders.
#pragma once

#include <string>

// At most `limit` characters: the drive or server part, "...", then as many trailing
// components as fit; a path that cannot be cut at a backslash is truncated instead.
std::string ShortenPath(std::string s, int limit);
