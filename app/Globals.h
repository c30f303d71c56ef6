// The program's windows, shared by every unit.
#pragma once

class TForm1;
class TForm2;
class TForm3;
class TAboutForm;

// One instance of each window for the whole run; nullptr until the main block made it.
extern TForm1* Form1;
extern TForm2* Form2;
extern TForm3* Form3;
extern TAboutForm* AboutForm;

