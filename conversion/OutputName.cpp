// Output naming.
#include "conversion/OutputName.h"

#include "platform/File.h"
#include "platform/Text.h"

std::string FileNamePart(const std::string& Path, const char* Separators) {
    size_t last = Path.find_last_of(Separators);
    return last == std::string::npos ? Path : Path.substr(last + 1);
}

std::string OutputBaseName(const std::string& Source, const char* Separators) {
    std::string base = FileNamePart(Source, Separators);
    static const char kGvi[] = ".GVI";
    for (size_t i = 0; i + 4 <= base.size(); ++i) {
        size_t k = 0;
        while (k < 4 && platform::AsciiUpper(base[i + k]) == kGvi[k]) ++k;
        if (k == 4) {
            base.erase(i, 4);
            break;
        }
    }
    return base + ".AVI";
}

std::string MakeOutputName(const std::string& Source, const std::string& Folder,
                           const char* Separators) {
    return MakeOutputName(Source, Folder, Separators, platform::PathExists);
}

std::string MakeOutputName(const std::string& Source, const std::string& Folder,
                           const char* Separators,
                           const std::function<bool(const std::string&)>& Taken) {
    const std::string base = OutputBaseName(Source, Separators);
    std::string name = base;
    for (unsigned n = 1; Taken(Folder + name); ++n) {
        // Appended piece by piece: g++ 12 -O3 warns falsely on "[" + ... for 32-bit targets.
        name.assign(1, '[');
        name.append(std::to_string(n)).append(1, ']').append(base);
    }
    return Folder + name;
}
