// Project1: the main block of Vexlar GVI Converter.
#include <windows.h>

#include <exception>
#include <memory>

#include "app/AboutUnit.h"
#include "app/Globals.h"
#include "app/Product.h"
#include "app/Unit1.h"
#include "app/Unit3.h"
#include "conversion/Unit2.h"
#include "toolkit/Application.h"
#include "toolkit/ComApartment.h"
#include "toolkit/Dialogs.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before any window: the folder browser and ShellExecuteA run in it, and it closes after
    // the last window has gone.
    tk::ComApartment com;
    tk::Application& app = tk::App();
    app.SetTitle(product::kTitle);
    try {
        // The windows, in this order; each lives for the whole run. Form1 is the main window:
        // it alone is shown when the loop starts, and closing it ends the loop.
        auto form1 = std::make_unique<TForm1>();
        Form1 = form1.get();
        auto form2 = std::make_unique<TForm2>();  // progress window; starts the worker
        Form2 = form2.get();
        auto form3 = std::make_unique<TForm3>();  // codec prompt, shown by Form1's start-up timer
        Form3 = form3.get();
        auto aboutForm = std::make_unique<TAboutForm>();
        AboutForm = aboutForm.get();

        app.Run(*form1);

        // Destroyed in reverse order: the progress window stops the worker on its way out.
        AboutForm = nullptr;
        aboutForm.reset();
        Form3 = nullptr;
        form3.reset();
        Form2 = nullptr;
        form2.reset();
        Form1 = nullptr;
        form1.reset();
    } catch (const std::exception& e) {
        tk::ShowErrorBox(e.what());
        return 1;
    }
    return 0;
}
