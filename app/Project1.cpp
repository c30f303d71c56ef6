// Project1: the main block of Vexlar GVI Converter.
#include <windows.h>

#include <exception>

#include "app/Product.h"
#include "app/ProgramWindows.h"
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Before any window: the folder browser and ShellExecuteA run in it, and it closes after
    // the last window has gone.
    tk::ComApartment com;
    tk::Application& app = tk::App();
    app.SetTitle(product::kTitle);
    try {
        TProgramWindows windows;
        app.Run(windows.Main());
    } catch (const std::exception& e) {
        tk::ShowErrorBox(e.what());
        return 1;
    }
    return 0;
}
