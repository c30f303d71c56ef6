// The program's windows made in-process, the shell requests recorded, and the modal-window driver.
#include "tests/windows/support/ProgramTest.h"

#include <chrono>

#include "app/Product.h"
#include "platform/File.h"
#include "conversion/BatchState.h"
#include "toolkit/Application.h"

ProgramFiles::ProgramFiles() : path_(platform::ProgramFolder()) { Clear(); }

void ProgramFiles::Clear() const {
    for (const char* name : {"set.txt", "done.txt"}) vt::Remove(path_ + name);
}

ShellRecorder::ShellRecorder()
    : patch_("shell32.dll", "ShellExecuteA", reinterpret_cast<const void*>(&Record)) {
    calls_.clear();
}

HINSTANCE ShellRecorder::Record(HWND owner, const char* verb, const char* file, const char* parameters,
                                const char* directory, int show) {
    calls_.push_back({owner, verb != nullptr, file ? file : "", parameters != nullptr,
                      parameters ? parameters : "", directory != nullptr, show});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));  // what success looks like
}

ShutdownReasonRecorder::ShutdownReasonRecorder()
    : create_("user32.dll", "ShutdownBlockReasonCreate", reinterpret_cast<const void*>(&Create)),
      destroy_("user32.dll", "ShutdownBlockReasonDestroy", reinterpret_cast<const void*>(&Destroy)) {
    reason_.clear();
    window_ = nullptr;
}

BOOL WINAPI ShutdownReasonRecorder::Create(HWND window, LPCWSTR reason) {
    char text[256] = {};
    if (reason) WideCharToMultiByte(CP_ACP, 0, reason, -1, text, sizeof text, nullptr, nullptr);
    window_ = window;
    reason_ = text;
    return TRUE;
}

BOOL WINAPI ShutdownReasonRecorder::Destroy(HWND window) {
    if (window == window_) reason_.clear();
    return TRUE;
}

ModalDriver::ModalDriver(std::string caption, std::function<void(HWND)> script)
    : thread_([this, caption = std::move(caption), script = std::move(script)] {
          HWND window = vt::WaitForOwnWindow(
              "TkForm", [&caption](HWND w) { return vt::TextOf(w) == caption; }, 10000);
          if (window) {
              found_ = true;
              script(window);
          }
          done_ = true;
      }) {}

ModalDriver::~ModalDriver() {
    if (thread_.joinable()) thread_.join();
}

bool ModalDriver::Join() {
    if (thread_.joinable()) thread_.join();
    return found_;
}

void ProgramTest::SetUp() {
    tk::App().SetTitle(product::kTitle);
}

void ProgramTest::TearDown() {
    Destroy();
    DragActive = false;
    OutputFolder.clear();
    BatchFiles.clear();
    BatchTotal = BatchIndex = 0;
}

TForm1& ProgramTest::Create(bool show, bool startupTimer) {
    windows_ = std::make_unique<TProgramWindows>();
    form = &windows_->Main();
    timerEnabledAtCreation = form->Timer1->Enabled();
    if (!startupTimer) form->Timer1->SetEnabled(false);
    if (show) {
        form->Show();
        vt::PumpFor(30);
    }
    return *form;
}

void ProgramTest::Destroy() {
    Converting = false;  // a refused close would keep the window
    windows_.reset();
    form = nullptr;
}

void ProgramTest::Drop(const std::vector<std::string>& paths) {
    SendMessageA(Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(vt::MakeHDrop(paths)), 0);
}

std::vector<std::string> ProgramTest::Rows(int column) const {
    std::vector<std::string> rows;
    for (int i = 0; i < form->ListView1->RowCount(); ++i) rows.push_back(form->ListView1->RowText(i, column));
    return rows;
}

std::string ProgramTest::ShutdownReason() const {
    if (shutdown_.Reason().empty()) return "";
    return shutdown_.Window() == tk::App().Handle() ? shutdown_.Reason() : "(given for another window)";
}

void ProgramTest::SelectRow(int row) const {
    LVITEMA item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(form->ListView1->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
}

void ProgramTest::Click(tk::WinControl& control) {
    vt::ClickAt(control.Handle(), control.Width() / 2, control.Height() / 2);
}
