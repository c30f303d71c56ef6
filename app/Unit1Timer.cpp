// Unit1: the main window's one-shot start-up timer: the first-run codec prompt.
#include "app/Unit1.h"

#include <string>

#include "app/AboutUnit.h"
#include "app/Globals.h"
#include "app/Unit3.h"
#include "platform/File.h"
#include "toolkit/Dialogs.h"

void TForm1::Timer1Timer(tk::Component*) {
    // Off first: the prompt's modal loop would otherwise let the timer fire again.
    Timer1->SetEnabled(false);

    const std::string marker = platform::ProgramFolder() + "done.txt";
    if (!platform::FileExists(marker)) {
        Hide();
        try {
            if (Form3) Form3->ShowModal();
        } catch (...) {
            // Hidden, the program would run on with no window at all.
            Show();
            throw;
        }
        Show();
        // However the prompt was closed it is not shown again for this folder.
        platform::OsError error = 0;
        if (!platform::WriteTextFile(marker, {"Done"}, &error))
            tk::ShowFileCreateError(marker, static_cast<DWORD>(error));
        // A marker that cannot be written costs only the prompt at the next start; the About
        // box still gets its name and version.
    }
    if (AboutForm) AboutForm->Init();
}
