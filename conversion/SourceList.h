// What the source list shows of a file and which dropped files it takes.
#pragma once

#include <cstdint>
#include <string>

// A file's size as the directory lists it, all 64 bits of it; 0 when nothing matches.
uint64_t FileSizeInBytes(const std::string& path);
// Megabytes with two decimals, the last one rounded half up: 131072 bytes -> "0.13".
std::string FormatMegabytes(uint64_t bytes, const std::string& decimalSeparator);
// Extension ".gvi" in any letter case (only a "." after the last "\" or ":" counts).
bool HasGviExtension(const std::string& path);
