// AboutUnit: the About box: product name, version, and links to the web page and support mail.
#pragma once

#include "toolkit/Form.h"
#include "toolkit/StdControls.h"

class TAboutForm : public tk::Form {
public:
    TAboutForm();

    // Controls of the layout, back to front.
    tk::Panel* Panel1 = nullptr;   // holds everything; the box is sized to it
    tk::Label* Label1 = nullptr;   // product name
    tk::Label* Label2 = nullptr;   // version
    tk::Bevel* Bevel1 = nullptr;
    tk::Label* Label3 = nullptr;   // web page link
    tk::Label* Label4 = nullptr;   // support mail link
    tk::Button* Button3 = nullptr; // "OK", the default button

    // Fills in the name and version over the layout's placeholders (once, at start-up).
    void Init();

    void FormShow(tk::Component* Sender);
    void Label3Click(tk::Component* Sender);
    void Label4Click(tk::Component* Sender);
    void Button3Click(tk::Component* Sender);

private:
    void FindControls();

    tk::FormLayout layout_{*this};  // last: see FormLayout
};
