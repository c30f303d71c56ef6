// Unit1: the main window's output folder button and help menu.
#include "app/Unit1.h"

#include <shellapi.h>

#include <memory>

#include "app/AboutUnit.h"
#include "app/Globals.h"
#include "app/OutputFolder.h"
#include "app/Product.h"
#include "controls/KestFolderDialog.h"
#include "platform/File.h"
#include "toolkit/Application.h"

std::string BrowseOutputFolder() {
    auto dialog = std::make_unique<TKestFolderDialog>(nullptr);
    std::string folder;
    if (dialog->Execute() && !dialog->Folder.empty()) {
        folder = platform::WithTrailingSeparator(dialog->Folder);
    }
    return folder;
}

void TForm1::ImageButton10Click(tk::Component*) {
    // The settings file takes the field when the window closes; nothing is saved here.
    std::string folder = BrowseOutputFolder();
    if (!folder.empty() && platform::DirectoryExists(folder)) Edit1->SetText(folder);
}

void TForm1::ImageButton6Click(tk::Component*) {
    POINT at{};
    GetCursorPos(&at);
    PopupMenu4->Popup(at.x, at.y);
}

void TForm1::Contents1Click(tk::Component*) {
    // The help viewer reports a missing file itself; the program says nothing.
    const std::string help = platform::ProgramFolder() + "help.chm";
    ShellExecuteA(tk::App().Handle(), nullptr, help.c_str(), "", nullptr, SW_RESTORE);
}

void TForm1::AboutVexlar1Click(tk::Component*) {
    if (AboutForm) AboutForm->ShowModal();
}

void TForm1::VisitVexlarWebSite1Click(tk::Component*) {
    // The address itself goes to the shell, which opens it in the user's default browser.
    ShellExecuteA(tk::App().Handle(), nullptr, product::kWebPage, "", nullptr, SW_RESTORE);
}
