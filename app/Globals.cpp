// The program's windows, its folder, and the one door to the shell.
#include "app/Globals.h"

#include <shellapi.h>

#include "platform/File.h"

TForm1* Form1 = nullptr;
TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;
TAboutForm* AboutForm = nullptr;

namespace {
std::string& ProgramFolderOverride() {
    static std::string folder;
    return folder;
}
}  // namespace

std::string ProgramFolder() {
    if (!ProgramFolderOverride().empty()) return ProgramFolderOverride();
    return platform::ProgramFolder();
}

void SetProgramFolderOverride(std::string folder) {
    ProgramFolderOverride() = platform::WithTrailingSeparator(std::move(folder));
}

HINSTANCE SystemShellOpen(HWND owner, const char* verb, const char* file, const char* parameters,
                          const char* directory, int show) {
    return ShellExecuteA(owner, verb, file, parameters, directory, show);
}

TShellOpen ShellOpen = &SystemShellOpen;
