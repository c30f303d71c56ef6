// Unit1: the main window: source list, output folder field, commands, dragging, settings file.
#include "app/Unit1.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "app/Globals.h"
#include "controls/ImageButton3.h"
#include "platform/CodePage.h"
#include "platform/File.h"
#include "platform/Text.h"
#include "toolkit/Application.h"
#include "toolkit/WindowDrag.h"

bool DragActive = false;
int32_t DragOriginX = 0;
int32_t DragOriginY = 0;
static tk::WindowDrag Drag(DragActive, DragOriginX, DragOriginY);

// --- Folders --------------------------------------------------------------------------------

std::string GoogleVideosFolderIn(std::string documents) {
    // Without a documents folder there is nothing to look for: a relative name would search
    // the current directory.
    if (documents.empty()) return {};
    std::string folder = platform::WithTrailingSeparator(documents) + "My Videos\\Google Videos\\";
    return platform::DirectoryExists(folder) ? folder : std::string();
}

std::string DefaultSourceFolder() {
    // Asked in UTF-16: the folder's name in the program's code page may take more bytes than
    // the ANSI call's MAX_PATH.
    wchar_t documents[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathW(nullptr, documents, CSIDL_PERSONAL, FALSE)) return {};
    return GoogleVideosFolderIn(platform::Narrow(documents));
}

std::string SettingsPath() { return platform::ProgramFolder() + "set.txt"; }

// --- The window -----------------------------------------------------------------------------

TForm1::TForm1() : tk::Form(nullptr) {
    // Takes effect when the window is made, which loading the layout does.
    SetExtraExStyle(WS_EX_ACCEPTFILES);
    TImageButton::Register();
    RegisterHandlers();
    layout_.Load("Unit1", [this] { FindControls(); });
    // The progress window hands the end of a batch back through these.
    ClearSourceList = [this] { ListView1->Clear(); };
    ShowMainWindow = [this] { Show(); };
}

TForm1::~TForm1() {
    ClearSourceList = nullptr;
    ShowMainWindow = nullptr;
}

void TForm1::RegisterHandlers() {
    tk::EventMethods& m = Methods();
    auto notify = [&](const char* name, void (TForm1::*method)(tk::Component*)) {
        m.notify[name] = [this, method](tk::Component* sender) { (this->*method)(sender); };
    };
    auto mouse = [&](const char* name,
                     void (TForm1::*method)(tk::Component*, tk::MouseButton, tk::ShiftState, int, int)) {
        m.mouse[name] = [this, method](tk::Component* sender, tk::MouseButton button,
                                       tk::ShiftState shift, int x, int y) {
            (this->*method)(sender, button, shift, x, y);
        };
    };
    auto mouseMove = [&](const char* name, void (TForm1::*method)(tk::Component*, tk::ShiftState, int, int)) {
        m.mouseMove[name] = [this, method](tk::Component* sender, tk::ShiftState shift, int x, int y) {
            (this->*method)(sender, shift, x, y);
        };
    };
    notify("FormCreate", &TForm1::FormCreate);
    m.closeQuery["FormCloseQuery"] = [this](tk::Component* sender, bool& canClose) {
        FormCloseQuery(sender, canClose);
    };
    notify("ImageButton1Click", &TForm1::ImageButton1Click);
    notify("ImageButton2Click", &TForm1::ImageButton2Click);
    notify("ImageButton3Click", &TForm1::ImageButton3Click);
    notify("ImageButton4Click", &TForm1::ImageButton4Click);
    notify("ImageButton5Click", &TForm1::ImageButton5Click);
    notify("ImageButton6Click", &TForm1::ImageButton6Click);
    notify("ImageButton7Click", &TForm1::ImageButton7Click);
    notify("ImageButton8Click", &TForm1::ImageButton8Click);
    notify("ImageButton9Click", &TForm1::ImageButton9Click);
    notify("ImageButton10Click", &TForm1::ImageButton10Click);
    mouse("Image2MouseDown", &TForm1::Image2MouseDown);
    mouse("Image2MouseUp", &TForm1::Image2MouseUp);
    mouseMove("Image2MouseMove", &TForm1::Image2MouseMove);
    mouse("Label2MouseDown", &TForm1::Label2MouseDown);
    mouse("Label2MouseUp", &TForm1::Label2MouseUp);
    mouseMove("Label2MouseMove", &TForm1::Label2MouseMove);
    notify("Timer1Timer", &TForm1::Timer1Timer);
    notify("Contents1Click", &TForm1::Contents1Click);
    notify("AboutVexlar1Click", &TForm1::AboutVexlar1Click);
    notify("VisitVexlarWebSite1Click", &TForm1::VisitVexlarWebSite1Click);
    notify("Add1Click", &TForm1::Add1Click);
    notify("Delete1Click", &TForm1::Delete1Click);
    notify("Clear1Click", &TForm1::Clear1Click);
    notify("Play1Click", &TForm1::Play1Click);
}

void TForm1::FindControls() {
    Image2 = layout_.Need<tk::Image>("Image2");
    Label1 = layout_.Need<tk::Label>("Label1");
    Image1 = layout_.Need<tk::Image>("Image1");
    Bevel2 = layout_.Need<tk::Bevel>("Bevel2");
    Bevel1 = layout_.Need<tk::Bevel>("Bevel1");
    Label2 = layout_.Need<tk::Label>("Label2");
    Bevel3 = layout_.Need<tk::Bevel>("Bevel3");
    Label3 = layout_.Need<tk::Label>("Label3");
    ListView1 = layout_.Need<tk::ListView>("ListView1");
    ImageButton8 = layout_.Need<TImageButton>("ImageButton8");
    ImageButton9 = layout_.Need<TImageButton>("ImageButton9");
    Edit1 = layout_.Need<tk::Edit>("Edit1");
    ImageButton10 = layout_.Need<TImageButton>("ImageButton10");
    ImageButton5 = layout_.Need<TImageButton>("ImageButton5");
    ImageButton4 = layout_.Need<TImageButton>("ImageButton4");
    ImageButton3 = layout_.Need<TImageButton>("ImageButton3");
    ImageButton2 = layout_.Need<TImageButton>("ImageButton2");
    ImageButton7 = layout_.Need<TImageButton>("ImageButton7");
    ImageButton6 = layout_.Need<TImageButton>("ImageButton6");
    ImageButton1 = layout_.Need<TImageButton>("ImageButton1");
    OpenDialog1 = layout_.Need<tk::OpenDialog>("OpenDialog1");
    Timer1 = layout_.Need<tk::Timer>("Timer1");
    PopupMenu4 = layout_.Need<tk::PopupMenu>("PopupMenu4");
    Contents1 = layout_.Need<tk::MenuItem>("Contents1");
    AboutVexlar1 = layout_.Need<tk::MenuItem>("AboutVexlar1");
    MenuItem1 = layout_.Need<tk::MenuItem>("MenuItem1");
    VisitVexlarWebSite1 = layout_.Need<tk::MenuItem>("VisitVexlarWebSite1");
    PopupMenu1 = layout_.Need<tk::PopupMenu>("PopupMenu1");
    Add1 = layout_.Need<tk::MenuItem>("Add1");
    Delete1 = layout_.Need<tk::MenuItem>("Delete1");
    Clear1 = layout_.Need<tk::MenuItem>("Clear1");
    Play1 = layout_.Need<tk::MenuItem>("Play1");
}

LRESULT TForm1::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_DROPFILES: {
            LRESULT result = tk::Form::HandleMessage(msg, wp, lp);
            WMDropFiles(reinterpret_cast<HDROP>(wp));
            return result;
        }
        case WM_QUERYENDSESSION:
            // Logoff and shutdown ask like any other close: the folder is saved, and a batch
            // refuses, telling the system why.
            if (CloseQuery()) return TRUE;
            tk::App().BlockShutdown(kShutdownBlockReason);
            return FALSE;
        case WM_CAPTURECHANGED:
            // A box, Alt+Tab or Ctrl+Alt+Del took the mouse before the button came up: no
            // release will come, so the drag ends here.
            if (reinterpret_cast<HWND>(lp) != WindowHandle()) Drag.Release();
            break;
        default:
            break;
    }
    return tk::Form::HandleMessage(msg, wp, lp);
}

// --- Start-up and shutdown ------------------------------------------------------------------

void TForm1::FormCreate(tk::Component*) {
    std::string initial = DefaultSourceFolder();
    if (!initial.empty()) OpenDialog1->InitialDir = initial;

    // The folder is taken as saved; Start checks that it exists. Earlier versions wrote it in
    // the system's legacy code page, which a line that is not UTF-8 still is.
    std::string path = SettingsPath();
    std::string line;
    if (platform::FileExists(path) && platform::ReadFirstLine(path, line)) {
        if (GetACP() == CP_UTF8 && !platform::IsUtf8(line)) line = platform::FromLegacyCodePage(line);
        Edit1->SetText(line);
    }
}

void TForm1::FormCloseQuery(tk::Component*, bool& CanClose) {
    CanClose = !Converting;
    // A settings file that cannot be written only loses the folder; it never keeps the
    // program from closing.
    platform::WriteTextFile(SettingsPath(), {Edit1->Text()});
}

// --- The source list ------------------------------------------------------------------------

bool TForm1::AddSourceFile(const std::string& Path) {
    if (IsListed(Path, ListView1->RowCount(), [this](int row) { return ListView1->RowText(row, 0); }))
        return false;
    ListView1->AddRow({Path, FileSizeText(Path)});
    return true;
}

void TForm1::RefreshCountLabel() {
    Label1->SetCaption("Added " + std::to_string(ListView1->RowCount()) + " file(s).");
}

void TForm1::ImageButton2Click(tk::Component*) {
    if (OpenDialog1->Execute(Handle())) {
        for (const std::string& path : OpenDialog1->Files()) AddSourceFile(path);
    }
    RefreshCountLabel();
}

void TForm1::ImageButton3Click(tk::Component*) {
    int row = ListView1->SelectedIndex();
    if (row >= 0) ListView1->DeleteRow(row);
    RefreshCountLabel();
}

void TForm1::ImageButton4Click(tk::Component*) {
    ListView1->Clear();
    RefreshCountLabel();
}

void TForm1::Add1Click(tk::Component* Sender) { ImageButton2Click(Sender); }
void TForm1::Delete1Click(tk::Component* Sender) { ImageButton3Click(Sender); }
void TForm1::Clear1Click(tk::Component* Sender) { ImageButton4Click(Sender); }

void TForm1::WMDropFiles(HDROP Drop) {
    UINT count = DragQueryFileA(Drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Asked for its length first, a long path comes whole instead of cut into another one.
        UINT length = DragQueryFileA(Drop, i, nullptr, 0);
        if (length == 0) continue;
        std::string path(length + 1, '\0');
        UINT got = DragQueryFileA(Drop, i, path.data(), length + 1);
        path.resize(std::min<size_t>(got, length));
        if (HasGviExtension(path)) AddSourceFile(path);
    }
    DragFinish(Drop);
    RefreshCountLabel();
}

// --- Commands -------------------------------------------------------------------------------

void TForm1::ImageButton1Click(tk::Component*) {
    if (ListView1->RowCount() == 0) return;
    std::string folder = Edit1->Text();
    if (!platform::DirectoryExists(folder)) return;
    // Without a progress window there is nobody to run the batch.
    if (!EnableBatchTimer || !ShowProgressWindow) return;

    // Output names are appended to the folder directly: a folder text saved without its
    // trailing "\" would glue them to the folder's own name.
    OutputFolder = platform::WithTrailingSeparator(folder);
    BatchFiles.clear();
    for (int row = 0, rows = ListView1->RowCount(); row < rows; ++row)
        BatchFiles.push_back(ListView1->RowText(row, 0));
    BatchTotal = static_cast<int32_t>(BatchFiles.size());
    BatchIndex = 0;

    EnableBatchTimer();
    Hide();
    ShowProgressWindow();
    Converting = true;
}

void TForm1::ImageButton5Click(tk::Component*) {
    int row = ListView1->SelectedIndex();
    if (row < 0) return;
    std::string path = ListView1->RowText(row, 0);
    ShellExecuteA(Handle(), nullptr, path.c_str(), nullptr, nullptr, SW_SHOW);
}

void TForm1::Play1Click(tk::Component* Sender) { ImageButton5Click(Sender); }

void TForm1::ImageButton7Click(tk::Component*) { Close(); }
void TForm1::ImageButton9Click(tk::Component*) { Close(); }
void TForm1::ImageButton8Click(tk::Component*) { tk::App().Minimize(); }

void TForm1::Image2MouseDown(tk::Component*, tk::MouseButton, tk::ShiftState, int X, int Y) { Drag.Press(X, Y); }
void TForm1::Image2MouseMove(tk::Component*, tk::ShiftState, int X, int Y) { Drag.Move(*this, X, Y); }
void TForm1::Image2MouseUp(tk::Component*, tk::MouseButton, tk::ShiftState, int, int) { Drag.Release(); }

void TForm1::Label2MouseDown(tk::Component* Sender, tk::MouseButton Button, tk::ShiftState Shift, int X, int Y) {
    Image2MouseDown(Sender, Button, Shift, X, Y);
}

void TForm1::Label2MouseMove(tk::Component* Sender, tk::ShiftState Shift, int X, int Y) {
    Image2MouseMove(Sender, Shift, X, Y);
}

void TForm1::Label2MouseUp(tk::Component* Sender, tk::MouseButton Button, tk::ShiftState Shift, int X, int Y) {
    Image2MouseUp(Sender, Button, Shift, X, Y);
}
