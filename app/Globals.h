// The program's windows, its folder, and the one door to the shell, shared by every unit.
#pragma once

#include <windows.h>

#include <string>

class TForm1;
class TForm2;
class TForm3;
class TAboutForm;

// One instance of each window for the whole run; nullptr until the main block made it.
extern TForm1* Form1;
extern TForm2* Form2;
extern TForm3* Form3;
extern TAboutForm* AboutForm;

// The folder of the running executable with a trailing "\": set.txt, done.txt and help.chm
// live there, never in the current directory.
std::string ProgramFolder();
// Tests point the program folder elsewhere; the empty text goes back to the executable's.
void SetProgramFolderOverride(std::string folder);

// Every shell request of the program (play, help, web, mail, codec installer) goes through
// ShellOpen, which has ShellExecuteA's parameters. Tests replace it to see the requests.
using TShellOpen = HINSTANCE (*)(HWND owner, const char* verb, const char* file,
                                 const char* parameters, const char* directory, int show);
HINSTANCE SystemShellOpen(HWND owner, const char* verb, const char* file, const char* parameters,
                          const char* directory, int show);
extern TShellOpen ShellOpen;
