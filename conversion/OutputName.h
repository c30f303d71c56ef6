// Output naming: the source's name with ".GVI" dropped and ".AVI" added, made unique in a folder.
#pragma once

#include <functional>
#include <string>

// The separators of a Windows path as the program has always split them: after the last "\"
// or drive ":" comes the file name. Pass platform::kNativeNameSeparators for native paths.
inline constexpr const char* kWindowsNameSeparators = "\\:";

// The text after the last separator (the whole path when it has none).
std::string FileNamePart(const std::string& Path, const char* Separators = kWindowsNameSeparators);

// The file name part with its first ".GVI" (any letter case, anywhere) removed and ".AVI" added.
std::string OutputBaseName(const std::string& Source,
                           const char* Separators = kWindowsNameSeparators);

// Folder + the output name, prefixed with "[1]", "[2]", ... while that name is taken. A
// directory takes a name too: the finished file could never be moved onto it. Folder ends in
// a separator; nothing is inserted between it and the name.
std::string MakeOutputName(const std::string& Source, const std::string& Folder,
                           const char* Separators = kWindowsNameSeparators);

// The same, asking `Taken` whether a path is taken (a dry run also counts the names it has
// given out itself).
std::string MakeOutputName(const std::string& Source, const std::string& Folder,
                           const char* Separators,
                           const std::function<bool(const std::string&)>& Taken);
