// Unit3: the first-run codec prompt, which offers to fetch the DivX codec's installer.
#include "app/Unit3.h"

#include <shellapi.h>

#include <string>

#include "app/Globals.h"
#include "app/Product.h"
#include "toolkit/Application.h"

TForm3::TForm3() : tk::Form(nullptr) {
    Methods().notify["Button1Click"] = [this](tk::Component* sender) { Button1Click(sender); };
    layout_.Load("Unit3", [this] { FindControls(); });
}

void TForm3::FindControls() {
    Image1 = layout_.Need<tk::Image>("Image1");
    Label1 = layout_.Need<tk::Label>("Label1");
    RadioButton1 = layout_.Need<tk::RadioButton>("RadioButton1");
    RadioButton2 = layout_.Need<tk::RadioButton>("RadioButton2");
    Button1 = layout_.Need<tk::Button>("Button1");
}

void TForm3::Button1Click(tk::Component*) {
    // The modal display ends once this handler returns; the browser comes after.
    Close();
    if (RadioButton1->Checked())
        ShellExecuteA(tk::App().Handle(), nullptr, product::kCodecInstaller, nullptr, nullptr, SW_RESTORE);
}
