// Unit1: the main window's output folder button and help menu.
#include "app/Unit1.h"

// The output folder browser and the help menu are wired in by the folder-browser and help
// features; until then the button and the menu items do nothing.
void TForm1::ImageButton10Click(tk::Component*) {}
void TForm1::ImageButton6Click(tk::Component*) {}
void TForm1::Contents1Click(tk::Component*) {}
void TForm1::AboutVexlar1Click(tk::Component*) {}
void TForm1::VisitVexlarWebSite1Click(tk::Component*) {}
