// The source list's rules: which files it takes, when a path is already listed, and what it
// shows of a file. The main window only wires them to its list view.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// A file's size as the directory lists it, all 64 bits of it; 0 when nothing matches.
uint64_t FileSizeInBytes(const std::string& path);
// Megabytes with two decimals, the last one rounded half up: 131072 bytes -> "0.13".
std::string FormatMegabytes(uint64_t bytes, const std::string& decimalSeparator);
// Extension ".gvi" in any letter case (only a "." after the last "\" or ":" counts).
bool HasGviExtension(const std::string& path);
// The "Size (MB)" text of a source file, with the user's decimal separator.
std::string FileSizeText(const std::string& path);
// Whether one of `rows` rows already holds the path. Paths are compared as exact text: the same
// file under another spelling is another row.
bool IsListed(const std::string& path, int rows, const std::function<std::string(int row)>& rowPath);
