// Unit1: the main window's one-shot start-up timer.
#include "app/Unit1.h"

// The first-run codec prompt and the About box's names are wired in here by the start-up
// feature; until then the timer only switches itself off, as it runs once.
void TForm1::Timer1Timer(tk::Component*) { Timer1->SetEnabled(false); }
