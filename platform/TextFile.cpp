// Small text files (settings, markers): whole lines ended by CR LF, on either system.
#include "platform/File.h"

namespace platform {

bool ReadFirstLine(const std::string& path, std::string& line, OsError* error) {
    File file;
    if (!file.OpenReadShared(path)) {
        if (error) *error = file.LastError();
        return false;
    }
    std::string text;
    char buffer[4096];
    for (;;) {
        size_t got = 0;
        if (!file.Read(buffer, sizeof buffer, got)) {
            if (error) *error = file.LastError();
            return false;
        }
        if (got == 0) break;
        text.append(buffer, got);
        // Only the first line counts; stop reading once it is complete.
        if (text.find_first_of("\r\n") != std::string::npos) break;
    }
    if (text.empty()) return false;  // no line at all
    line = text.substr(0, text.find_first_of("\r\n"));
    return true;
}

bool WriteTextFile(const std::string& path, const std::vector<std::string>& lines,
                   OsError* error) {
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    File file;
    bool ok = file.Create(path) && file.Write(text.data(), text.size()) && file.Close();
    if (!ok && error) *error = file.LastError();
    return ok;
}

}  // namespace platform
