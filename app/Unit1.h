// Unit1: the main window: source list, output folder field, commands, dragging, settings file.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <string>

#include "conversion/BatchState.h"
#include "conversion/SourceList.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"
#include "toolkit/PopupMenu.h"
#include "toolkit/StdControls.h"
#include "toolkit/Timer.h"

class TImageButton;

// Unit-level state of the main window (user-interface thread only).
extern bool DragActive;      // the window is being dragged by its background or title
extern int32_t DragOriginX;  // pointer at the press, in the pressed control's coordinates
extern int32_t DragOriginY;

// What the system shows beside the program when a logoff or shutdown comes during a batch.
inline constexpr char kShutdownBlockReason[] = "Converting GVI files...";

// "My Videos\Google Videos\" under the documents folder, when that folder exists; else "".
std::string GoogleVideosFolderIn(std::string documents);
// The same under the user's documents folder: the open dialog's initial folder.
std::string DefaultSourceFolder();
// Path of the settings file: set.txt in the program folder.
std::string SettingsPath();

class TForm1 : public tk::Form {
public:
    TForm1();
    ~TForm1() override;

    // Controls of the layout, back to front.
    tk::Image* Image2 = nullptr;   // background
    tk::Label* Label1 = nullptr;   // file count
    tk::Image* Image1 = nullptr;   // logo
    tk::Bevel* Bevel2 = nullptr;
    tk::Bevel* Bevel1 = nullptr;
    tk::Label* Label2 = nullptr;   // title
    tk::Bevel* Bevel3 = nullptr;
    tk::Label* Label3 = nullptr;   // "Output Folder:"
    tk::ListView* ListView1 = nullptr;
    TImageButton* ImageButton8 = nullptr;   // minimize
    TImageButton* ImageButton9 = nullptr;   // close
    tk::Edit* Edit1 = nullptr;              // output folder
    TImageButton* ImageButton10 = nullptr;  // select output folder
    TImageButton* ImageButton5 = nullptr;   // play
    TImageButton* ImageButton4 = nullptr;   // clear
    TImageButton* ImageButton3 = nullptr;   // delete
    TImageButton* ImageButton2 = nullptr;   // add
    TImageButton* ImageButton7 = nullptr;   // exit
    TImageButton* ImageButton6 = nullptr;   // help
    TImageButton* ImageButton1 = nullptr;   // start
    // Components without a place on screen.
    tk::OpenDialog* OpenDialog1 = nullptr;
    tk::Timer* Timer1 = nullptr;
    tk::PopupMenu* PopupMenu4 = nullptr;  // help menu
    tk::MenuItem* Contents1 = nullptr;
    tk::MenuItem* AboutVexlar1 = nullptr;
    tk::MenuItem* MenuItem1 = nullptr;
    tk::MenuItem* VisitVexlarWebSite1 = nullptr;
    tk::PopupMenu* PopupMenu1 = nullptr;  // list context menu
    tk::MenuItem* Add1 = nullptr;
    tk::MenuItem* Delete1 = nullptr;
    tk::MenuItem* Clear1 = nullptr;
    tk::MenuItem* Play1 = nullptr;

    // Start-up and shutdown.
    void FormCreate(tk::Component* Sender);
    void FormCloseQuery(tk::Component* Sender, bool& CanClose);
    void Timer1Timer(tk::Component* Sender);  // first-run check (Unit1Timer.cpp)

    // The source list.
    void ImageButton2Click(tk::Component* Sender);  // add through the dialog
    void ImageButton3Click(tk::Component* Sender);  // remove the selected row
    void ImageButton4Click(tk::Component* Sender);  // remove all rows
    void Add1Click(tk::Component* Sender);
    void Delete1Click(tk::Component* Sender);
    void Clear1Click(tk::Component* Sender);
    void WMDropFiles(HDROP Drop);
    // Appends a row unless a row has exactly this path; true when it did.
    bool AddSourceFile(const std::string& Path);
    void RefreshCountLabel();

    // Commands.
    void ImageButton1Click(tk::Component* Sender);  // start converting
    void ImageButton5Click(tk::Component* Sender);  // play
    void Play1Click(tk::Component* Sender);
    void ImageButton7Click(tk::Component* Sender);  // exit
    void ImageButton9Click(tk::Component* Sender);  // close
    void ImageButton8Click(tk::Component* Sender);  // minimize
    void Image2MouseDown(tk::Component* Sender, tk::MouseButton Button, tk::ShiftState Shift, int X, int Y);
    void Image2MouseMove(tk::Component* Sender, tk::ShiftState Shift, int X, int Y);
    void Image2MouseUp(tk::Component* Sender, tk::MouseButton Button, tk::ShiftState Shift, int X, int Y);
    void Label2MouseDown(tk::Component* Sender, tk::MouseButton Button, tk::ShiftState Shift, int X, int Y);
    void Label2MouseMove(tk::Component* Sender, tk::ShiftState Shift, int X, int Y);
    void Label2MouseUp(tk::Component* Sender, tk::MouseButton Button, tk::ShiftState Shift, int X, int Y);

    // Output folder and help menu (Unit1Help.cpp).
    void ImageButton10Click(tk::Component* Sender);
    void ImageButton6Click(tk::Component* Sender);
    void Contents1Click(tk::Component* Sender);
    void AboutVexlar1Click(tk::Component* Sender);
    void VisitVexlarWebSite1Click(tk::Component* Sender);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void RegisterHandlers();
    void FindControls();

    tk::FormLayout layout_{*this};  // last: see FormLayout
};
