// Unit1: the main window: source list, output folder field, commands, dragging, settings file.
#include "app/Unit1.h"

#include <shlobj.h>

#include <algorithm>
#include <stdexcept>

#include "app/Globals.h"
#include "controls/ImageButton3.h"
#include "conversion/BatchState.h"
#include "platform/File.h"
#include "platform/Text.h"
#include "toolkit/Application.h"
#include "toolkit/Layout.h"

bool Converting = false;
bool DragActive = false;
int32_t DragOriginX = 0;
int32_t DragOriginY = 0;

// --- Sizes, extensions, folders -------------------------------------------------------------

uint64_t FileSizeInBytes(const std::string& path) { return platform::ListedSize(path).value_or(0); }

std::string FormatMegabytes(uint64_t bytes, const std::string& decimalSeparator) {
    // Whole megabytes and hundredths in integers: exact halves (0.125, 0.375) round up, which
    // binary floating point with round-half-even would not promise.
    constexpr uint64_t kMega = 1024 * 1024;
    uint64_t whole = bytes / kMega;
    uint64_t hundredths = ((bytes % kMega) * 100 + kMega / 2) / kMega;
    if (hundredths == 100) {
        ++whole;
        hundredths = 0;
    }
    std::string text = std::to_string(whole) + decimalSeparator;
    if (hundredths < 10) text += '0';
    return text + std::to_string(hundredths);
}

std::string DecimalSeparator() {
    char buffer[8] = {};
    int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer);
    if (n <= 1) return ".";
    return std::string(buffer);
}

std::string FileSizeText(const std::string& path) {
    return FormatMegabytes(FileSizeInBytes(path), DecimalSeparator());
}

bool HasGviExtension(const std::string& path) {
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos) return false;
    if (path.find_first_of("\\:", dot) != std::string::npos) return false;
    return platform::SameTextAscii(std::string_view(path).substr(dot), ".GVI");
}

std::string GoogleVideosFolderIn(std::string documents) {
    // Without a documents folder there is nothing to look for: a relative name would search
    // the current directory.
    if (documents.empty()) return {};
    if (documents.back() != '\\') documents += '\\';
    std::string folder = documents + "My Videos\\Google Videos\\";
    return platform::DirectoryExists(folder) ? folder : std::string();
}

std::string DefaultSourceFolder() {
    char documents[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathA(nullptr, documents, CSIDL_PERSONAL, FALSE)) return {};
    return GoogleVideosFolderIn(documents);
}

std::string SettingsPath() { return ProgramFolder() + "set.txt"; }

// --- The window -----------------------------------------------------------------------------

TForm1::TForm1() : tk::Form(nullptr) {
    // Takes effect when the window is made, which loading the layout does.
    SetExtraExStyle(WS_EX_ACCEPTFILES);
    TImageButton::Register();
    RegisterHandlers();
    tk::LayoutResult loaded = tk::LoadLayoutResource(*this, "Unit1");
    if (!loaded) throw std::runtime_error("main window layout: " + loaded.message);
    FindControls();
    Created();
}

TForm1::~TForm1() { Destroying(); }

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
}

namespace {
template <typename T>
T* Need(const tk::Component& form, const char* name) {
    T* found = tk::Find<T>(form, name);
    if (!found) throw std::runtime_error(std::string("main window layout: no ") + name);
    return found;
}
}  // namespace

void TForm1::FindControls() {
    Image2 = Need<tk::Image>(*this, "Image2");
    Label1 = Need<tk::Label>(*this, "Label1");
    Image1 = Need<tk::Image>(*this, "Image1");
    Bevel2 = Need<tk::Bevel>(*this, "Bevel2");
    Bevel1 = Need<tk::Bevel>(*this, "Bevel1");
    Label2 = Need<tk::Label>(*this, "Label2");
    Bevel3 = Need<tk::Bevel>(*this, "Bevel3");
    Label3 = Need<tk::Label>(*this, "Label3");
    ListView1 = Need<tk::ListView>(*this, "ListView1");
    ImageButton8 = Need<TImageButton>(*this, "ImageButton8");
    ImageButton9 = Need<TImageButton>(*this, "ImageButton9");
    Edit1 = Need<tk::Edit>(*this, "Edit1");
    ImageButton10 = Need<TImageButton>(*this, "ImageButton10");
    ImageButton5 = Need<TImageButton>(*this, "ImageButton5");
    ImageButton4 = Need<TImageButton>(*this, "ImageButton4");
    ImageButton3 = Need<TImageButton>(*this, "ImageButton3");
    ImageButton2 = Need<TImageButton>(*this, "ImageButton2");
    ImageButton7 = Need<TImageButton>(*this, "ImageButton7");
    ImageButton6 = Need<TImageButton>(*this, "ImageButton6");
    ImageButton1 = Need<TImageButton>(*this, "ImageButton1");
    OpenDialog1 = Need<tk::OpenDialog>(*this, "OpenDialog1");
    Timer1 = Need<tk::Timer>(*this, "Timer1");
    PopupMenu4 = Need<tk::PopupMenu>(*this, "PopupMenu4");
    Contents1 = Need<tk::MenuItem>(*this, "Contents1");
    AboutVexlar1 = Need<tk::MenuItem>(*this, "AboutVexlar1");
    MenuItem1 = Need<tk::MenuItem>(*this, "MenuItem1");
    VisitVexlarWebSite1 = Need<tk::MenuItem>(*this, "VisitVexlarWebSite1");
    PopupMenu1 = Need<tk::PopupMenu>(*this, "PopupMenu1");
    Add1 = Need<tk::MenuItem>(*this, "Add1");
    Delete1 = Need<tk::MenuItem>(*this, "Delete1");
    Clear1 = Need<tk::MenuItem>(*this, "Clear1");
    Play1 = Need<tk::MenuItem>(*this, "Play1");

    // The timer and the menu items publish no events to a layout: they are wired here.
    auto bind = [this](void (TForm1::*method)(tk::Component*)) {
        return [this, method](tk::Component* sender) { (this->*method)(sender); };
    };
    Timer1->OnTimer = bind(&TForm1::Timer1Timer);
    Add1->OnClick = bind(&TForm1::Add1Click);
    Delete1->OnClick = bind(&TForm1::Delete1Click);
    Clear1->OnClick = bind(&TForm1::Clear1Click);
    Play1->OnClick = bind(&TForm1::Play1Click);
    Contents1->OnClick = bind(&TForm1::Contents1Click);
    AboutVexlar1->OnClick = bind(&TForm1::AboutVexlar1Click);
    VisitVexlarWebSite1->OnClick = bind(&TForm1::VisitVexlarWebSite1Click);
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
            if (reinterpret_cast<HWND>(lp) != WindowHandle()) DragActive = false;
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

    // The folder is taken as saved; Start checks that it exists.
    std::string path = SettingsPath();
    std::string line;
    if (platform::FileExists(path) && platform::ReadFirstLine(path, line)) Edit1->SetText(line);
}

void TForm1::FormCloseQuery(tk::Component*, bool& CanClose) {
    CanClose = !Converting;
    // A settings file that cannot be written only loses the folder; it never keeps the
    // program from closing.
    platform::WriteTextFile(SettingsPath(), {Edit1->Text()});
}

// --- The source list ------------------------------------------------------------------------

bool TForm1::AddSourceFile(const std::string& Path) {
    // Paths are compared as exact text: the same file under another spelling is another row.
    for (int row = 0, rows = ListView1->RowCount(); row < rows; ++row) {
        if (ListView1->RowText(row, 0) == Path) return false;
    }
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
    if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
    OutputFolder = folder;
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
    ShellOpen(Handle(), nullptr, path.c_str(), nullptr, nullptr, SW_SHOW);
}

void TForm1::Play1Click(tk::Component* Sender) { ImageButton5Click(Sender); }

void TForm1::ImageButton7Click(tk::Component*) { Close(); }
void TForm1::ImageButton9Click(tk::Component*) { Close(); }
void TForm1::ImageButton8Click(tk::Component*) { tk::App().Minimize(); }

// Dragging: the pressed control moves with the window, so after each move the pointer is back
// at the origin point of the control and the window follows without drift.
void TForm1::Image2MouseDown(tk::Component*, tk::MouseButton, tk::ShiftState, int X, int Y) {
    DragActive = true;
    DragOriginX = X;
    DragOriginY = Y;
}

void TForm1::Image2MouseMove(tk::Component*, tk::ShiftState, int X, int Y) {
    if (!DragActive) return;
    SetLeft(Left() + X - DragOriginX);
    SetTop(Top() + Y - DragOriginY);
}

void TForm1::Image2MouseUp(tk::Component*, tk::MouseButton, tk::ShiftState, int, int) {
    DragActive = false;
}

void TForm1::Label2MouseDown(tk::Component* Sender, tk::MouseButton Button, tk::ShiftState Shift, int X, int Y) {
    Image2MouseDown(Sender, Button, Shift, X, Y);
}

void TForm1::Label2MouseMove(tk::Component* Sender, tk::ShiftState Shift, int X, int Y) {
    Image2MouseMove(Sender, Shift, X, Y);
}

void TForm1::Label2MouseUp(tk::Component* Sender, tk::MouseButton Button, tk::ShiftState Shift, int X, int Y) {
    Image2MouseUp(Sender, Button, Shift, X, Y);
}
