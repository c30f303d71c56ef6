// Unit3: the first-run codec prompt, which offers to fetch the DivX codec's installer.
#include "app/Unit3.h"

#include <stdexcept>
#include <string>

#include "app/Globals.h"
#include "app/Product.h"
#include "toolkit/Application.h"
#include "toolkit/Layout.h"

namespace {
template <typename T>
T* Need(const tk::Component& form, const char* name) {
    T* found = tk::Find<T>(form, name);
    if (!found) throw std::runtime_error(std::string("codec prompt layout: no ") + name);
    return found;
}
}  // namespace

TForm3::TForm3() : tk::Form(nullptr) {
    Methods().notify["Button1Click"] = [this](tk::Component* sender) { Button1Click(sender); };
    tk::LayoutResult loaded = tk::LoadLayoutResource(*this, "Unit3");
    if (!loaded) throw std::runtime_error("codec prompt layout: " + loaded.message);
    FindControls();
    Created();
}

TForm3::~TForm3() { Destroying(); }

void TForm3::FindControls() {
    Image1 = Need<tk::Image>(*this, "Image1");
    Label1 = Need<tk::Label>(*this, "Label1");
    RadioButton1 = Need<tk::RadioButton>(*this, "RadioButton1");
    RadioButton2 = Need<tk::RadioButton>(*this, "RadioButton2");
    Button1 = Need<tk::Button>(*this, "Button1");
}

void TForm3::Button1Click(tk::Component*) {
    // The modal display ends once this handler returns; the browser comes after.
    Close();
    if (RadioButton1->Checked())
        ShellOpen(tk::App().Handle(), nullptr, product::kCodecInstaller, nullptr, nullptr, SW_RESTORE);
}
