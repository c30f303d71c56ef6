// Sources cut short, as by an interrupted download: they convert as they are, and can be told.
#pragma once

#include <cstdint>
#include <string>

// How many bytes the converted file `AviPath` lacks of what its RIFF header states (its
// source held that many fewer than its length field promised). 0 for a complete file, and
// when the file cannot be read.
uint64_t MissingBytes(const std::string& AviPath);
