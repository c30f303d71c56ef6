// The program's windows.
#include "app/Globals.h"

TForm1* Form1 = nullptr;
TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;
TAboutForm* AboutForm = nullptr;
