// AboutUnit: the About box: product name, version, and links to the web page and support mail.
#include "app/AboutUnit.h"

#include <shellapi.h>

#include <string>

#include "app/Globals.h"
#include "app/Product.h"
#include "toolkit/Application.h"

TAboutForm::TAboutForm() : tk::Form(nullptr) {
    tk::EventMethods& m = Methods();
    m.notify["FormShow"] = [this](tk::Component* sender) { FormShow(sender); };
    m.notify["Label3Click"] = [this](tk::Component* sender) { Label3Click(sender); };
    m.notify["Label4Click"] = [this](tk::Component* sender) { Label4Click(sender); };
    m.notify["Button3Click"] = [this](tk::Component* sender) { Button3Click(sender); };
    layout_.Load("AboutUnit", [this] { FindControls(); });
    // The addresses live in one place, with the product's other constants.
    Label3->SetCaption(product::kWebPage);
    Label4->SetCaption(product::kSupportMail);
    // The box is as large as the panel that holds its content.
    SetClientSize(Panel1->Width(), Panel1->Height());
}

void TAboutForm::FindControls() {
    Panel1 = layout_.Need<tk::Panel>("Panel1");
    Label1 = layout_.Need<tk::Label>("Label1");
    Label2 = layout_.Need<tk::Label>("Label2");
    Bevel1 = layout_.Need<tk::Bevel>("Bevel1");
    Label3 = layout_.Need<tk::Label>("Label3");
    Label4 = layout_.Need<tk::Label>("Label4");
    Button3 = layout_.Need<tk::Button>("Button3");
}

void TAboutForm::Init() {
    Label1->SetCaption(product::kName);
    Label2->SetCaption(std::string("Version: ") + product::kVersion);
}

void TAboutForm::FormShow(tk::Component*) { SetActiveControl(Button3); }

void TAboutForm::Label3Click(tk::Component*) {
    ShellExecuteA(tk::App().Handle(), nullptr, product::kWebPage, nullptr, nullptr, SW_RESTORE);
}

void TAboutForm::Label4Click(tk::Component*) {
    const std::string mail = std::string("MailTo:") + product::kSupportMail;
    ShellExecuteA(tk::App().Handle(), nullptr, mail.c_str(), "", nullptr, SW_RESTORE);
}

void TAboutForm::Button3Click(tk::Component*) { Close(); }
