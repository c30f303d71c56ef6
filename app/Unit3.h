// Unit3: the first-run codec prompt, which offers to fetch the DivX codec's installer.
#pragma once

#include "toolkit/Form.h"
#include "toolkit/StdControls.h"

class TForm3 : public tk::Form {
public:
    TForm3();

    // Controls of the layout, back to front.
    tk::Image* Image1 = nullptr;              // codec logo
    tk::Label* Label1 = nullptr;              // why the codec is needed
    tk::RadioButton* RadioButton1 = nullptr;  // install the codec now
    tk::RadioButton* RadioButton2 = nullptr;  // the codec is already installed
    tk::Button* Button1 = nullptr;            // "Done"

    // Closes the prompt, then asks the browser for the installer when RadioButton1 is chosen.
    void Button1Click(tk::Component* Sender);

private:
    void FindControls();

    tk::FormLayout layout_{*this};  // last: see FormLayout
};
