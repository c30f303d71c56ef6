// Unit2: the progress window, which runs a conversion batch through the worker thread.
#include "conversion/Unit2.h"

#include "controls/ImageButton3.h"
#include "conversion/FileJob.h"
#include "conversion/Progress.h"
#include "platform/File.h"
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"
#include "toolkit/WindowDrag.h"

#include <memory>

TMyThread* MyThread = nullptr;
std::string CurrentSource;
std::string FinalPath;
std::string TempPath;
uint64_t SourceSize = 0;
bool TimerBusy = false;
bool ProgressDragActive = false;
int32_t ProgressDragOriginX = 0;
int32_t ProgressDragOriginY = 0;

namespace {

tk::WindowDrag Drag(ProgressDragActive, ProgressDragOriginX, ProgressDragOriginY);

// The file on disk behind CurrentSource, FinalPath and TempPath.
TFileJob Job;
// Job's output is still to be settled: from BeginFile until its file has finished, or, when its
// batch ended first, until the worker has let go of it.
bool JobOpen = false;

// The output of a file whose batch ended before the file did: its result no longer counts.
void DiscardJob() {
    if (!JobOpen) return;
    JobOpen = false;
    Job.Finish(crNotAvailable);
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string PercentText(int percent) { return std::to_string(percent) + "%"; }

}  // namespace

int CurrentPercent() {
    // Sizes are 64-bit and the result is kept within 0..100: a source of 2 GiB or more shows
    // its true progress. The temporary file is asked itself: the worker still writes it, and
    // its directory entry would show the size it had when it was opened.
    return CurrentPercent(platform::CurrentSize(TempPath).value_or(0), SourceSize);
}

tk::Bitmap ProgressBarPicture(int Width, int Height, const tk::Bitmap& Edge, const tk::Bitmap& Fill) {
    tk::Bitmap bar;
    if (Width <= 0) return bar;
    bar.SetSize(Width, Height);
    tk::Canvas canvas(bar);
    canvas.DrawOpaque(0, 0, Edge);
    canvas.DrawOpaque(Width - 1, 0, Edge);
    if (Width > 2) canvas.StretchDraw({1, 0, Width - 1, Height}, Fill);
    GdiFlush();  // the pixels are read straight from the DIB section
    return bar;
}

// --- The window -----------------------------------------------------------------------------

TForm2::TForm2() : tk::Form(nullptr) {
    TImageButton::Register();
    RegisterHandlers();
    layout_.Load("Unit2", [this] { FindControls(); });
}

void TForm2::RegisterHandlers() {
    tk::EventMethods& m = Methods();
    m.notify["FormCreate"] = [this](tk::Component* sender) { FormCreate(sender); };
    m.notify["FormDestroy"] = [this](tk::Component* sender) { FormDestroy(sender); };
    m.notify["Timer1Timer"] = [this](tk::Component* sender) { Timer1Timer(sender); };
    m.closeQuery["FormCloseQuery"] = [this](tk::Component* sender, bool& canClose) {
        FormCloseQuery(sender, canClose);
    };
    m.mouse["Image1MouseDown"] = [this](tk::Component* sender, tk::MouseButton button,
                                        tk::ShiftState shift, int x, int y) {
        Image1MouseDown(sender, button, shift, x, y);
    };
    m.mouse["Image1MouseUp"] = [this](tk::Component* sender, tk::MouseButton button,
                                      tk::ShiftState shift, int x, int y) {
        Image1MouseUp(sender, button, shift, x, y);
    };
    m.mouseMove["Image1MouseMove"] = [this](tk::Component* sender, tk::ShiftState shift, int x, int y) {
        Image1MouseMove(sender, shift, x, y);
    };
}

void TForm2::FindControls() {
    Image1 = layout_.Need<tk::Image>("Image1");
    Image2 = layout_.Need<tk::Image>("Image2");
    Image3 = layout_.Need<tk::Image>("Image3");
    Image4 = layout_.Need<tk::Image>("Image4");
    Image5 = layout_.Need<tk::Image>("Image5");
    Image6 = layout_.Need<tk::Image>("Image6");
    Image7 = layout_.Need<tk::Image>("Image7");
    Label1 = layout_.Need<tk::Label>("Label1");
    Label2 = layout_.Need<tk::Label>("Label2");
    Label3 = layout_.Need<tk::Label>("Label3");
    Label4 = layout_.Need<tk::Label>("Label4");
    ImageButton9 = layout_.Need<TImageButton>("ImageButton9");
    Timer1 = layout_.Need<tk::Timer>("Timer1");
}

// --- The worker -----------------------------------------------------------------------------

void TForm2::FormCreate(tk::Component*) {
    BatchFiles.clear();
    StartWorker();

    // Start on the main window hands the batch over through these.
    EnableBatchTimer = [this] { Timer1->SetEnabled(true); };
    ShowProgressWindow = [this] { Show(); };
}

void TForm2::StartWorker() {
    auto worker = std::make_unique<TMyThread>();
    worker->FreeOnTerminate = true;
    // However its body ends, the batch must not use it afterwards: its next tick finds it gone.
    worker->OnTerminate = [](tk::Thread& ended) {
        if (MyThread == &ended) MyThread = nullptr;
    };
    worker->Ready = true;
    worker->Start();
    MyThread = worker.release();  // running, it frees itself
}

void TForm2::FormDestroy(tk::Component*) {
    EnableBatchTimer = nullptr;
    ShowProgressWindow = nullptr;
    BatchFiles.clear();
    if (MyThread) {
        // The worker leaves its loop at its next look and frees itself; we wait no longer.
        MyThread->Terminate();
        MyThread = nullptr;
        Sleep(1000);
    }
    // A file withdrawn from its batch goes on exit too, if its conversion has let go of it by
    // now; one still being written ends with the process, as written so far.
    DiscardJob();
}

void TForm2::FormCloseQuery(tk::Component*, bool& CanClose) {
    // Alt+F4 in the middle of a batch would hide the only window of the program until "Done.".
    CanClose = !Converting;
}

LRESULT TForm2::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // The mouse taken away before the button came up (a box, Alt+Tab): no release will come.
    if (msg == WM_CAPTURECHANGED && reinterpret_cast<HWND>(lp) != WindowHandle())
        Drag.Release();
    return tk::Form::HandleMessage(msg, wp, lp);
}

// --- The batch ------------------------------------------------------------------------------

void TForm2::Timer1Timer(tk::Component*) {
    // The error boxes run a message loop of their own while the timer still ticks.
    if (TimerBusy) return;
    TimerBusy = true;
    struct Release {
        ~Release() { TimerBusy = false; }
    } release;

    // One fault, one box: the timer stops before the box and TimerBusy stays set while it is
    // up, so a fault that persists cannot stack a box a second. The batch ends there.
    try {
        NextStep();
    } catch (...) {
        Timer1->SetEnabled(false);
        try {
            throw;
        } catch (const std::exception& e) {
            tk::App().HandleException(e);
        } catch (...) {
            tk::App().HandleException();
        }
        ReturnToMainWindow();
    }
}

void TForm2::NextStep() {
    // A worker that ended early, in an earlier batch, is replaced as the next one starts.
    if (!MyThread && BatchIndex == 0) {
        DiscardJob();
        StartWorker();
    }
    if (!MyThread) {
        StopBatch();
        return;
    }
    // Posted and not yet taken counts as running too: Ready alone would take a request that
    // the worker has not even seen for a finished one.
    if (!MyThread->RequestFinished()) {
        // Before this batch has begun a file, the worker can only be finishing one withdrawn
        // from an earlier batch: nothing of it shows.
        if (BatchIndex != 0) ShowProgress();
        return;
    }

    if (BatchIndex != 0) FinishFile();
    ++BatchIndex;
    if (BatchIndex > BatchTotal || BatchIndex > static_cast<int32_t>(BatchFiles.size())) {
        EndBatch();
        return;
    }
    // The worker may have ended while a box was up.
    if (!MyThread) {
        StopBatch();
        return;
    }
    Timer1->SetEnabled(false);
    if (BatchIndex != 1) {
        // The file before has finished.
        DrawProgressBar(100, Image6);
        Label3->SetCaption("100%");
    }
    BeginFile(BatchFiles[static_cast<size_t>(BatchIndex - 1)], OutputFolder);
}

void TForm2::ShowProgress() {
    const int percent = CurrentPercent();
    DrawProgressBar(percent, Image6);
    Label3->SetCaption(PercentText(percent));
    const int total = TotalPercent(percent, BatchIndex, BatchTotal);
    DrawProgressBar(total, Image7);
    Label4->SetCaption(PercentText(total));
}

void TForm2::FinishFile() {
    const std::string name = Quoted(FileNamePart(CurrentSource));
    const auto result = static_cast<TConvertResult>(MyThread->LastResult);
    // Blames the source only when the source is at fault; an output that could not be
    // written is named with the system's reason.
    const std::string failure = Job.FailureText(result, MyThread->LastCause);
    if (!failure.empty()) tk::ShowErrorBox(failure);

    JobOpen = false;
    // Renamed without replacing anything (once more under the next free name if the first
    // was taken meanwhile), or deleted.
    const TJobOutcome outcome = Job.Finish(result);
    FinalPath = Job.FinalPath();
    const std::string temp = Quoted(FileNamePart(TempPath));
    if (outcome == joNotRenamed) {
        tk::ShowErrorBox("File " + name + " was converted but could not be saved as " +
                         Quoted(FileNamePart(FinalPath)) +
                         ". The converted data was kept in the output folder as " + temp + ".");
    } else if (outcome == joNotRemoved) {
        tk::ShowErrorBox("The unfinished output of file " + name +
                         " could not be deleted. It remains in the output folder as " + temp + ".");
    }
}

void TForm2::EndBatch() {
    DrawProgressBar(100, Image6);
    Label3->SetCaption("100%");
    DrawProgressBar(100, Image7);
    Label4->SetCaption("100%");
    Timer1->SetEnabled(false);
    // The list goes; its count label keeps the number of files that were in it.
    if (ClearSourceList) ClearSourceList();
    tk::ShowMessage("Done.");
    ReturnToMainWindow();
}

void TForm2::StopBatch() {
    Timer1->SetEnabled(false);
    // The worker is gone, and with it the file it had: its partial output goes (see
    // ReturnToMainWindow). The box names the first file without a result; the list keeps every
    // file of the batch, and Start makes a new worker for them.
    const size_t first = static_cast<size_t>(BatchIndex > 0 ? BatchIndex - 1 : 0);
    std::string text = "The conversion stopped unexpectedly.";
    if (first < BatchFiles.size()) {
        text = "The conversion stopped unexpectedly: " + Quoted(FileNamePart(BatchFiles[first])) +
               " and any files after it were not converted. Start the conversion again to convert "
               "them.";
    }
    tk::ShowErrorBox(text);
    ReturnToMainWindow();
}

void TForm2::ReturnToMainWindow() {
    // Whatever ended the batch, the file it had begun is withdrawn: the worker finishes it, but
    // its output goes, then or at once, and nothing of it reaches a later batch.
    if (JobOpen) {
        if (MyThread)
            MyThread->Withdraw(DiscardJob);
        else
            DiscardJob();
    }
    Converting = false;
    tk::App().AllowShutdown();
    Hide();
    if (ShowMainWindow) ShowMainWindow();
}

void TForm2::BeginFile(const std::string& Source, const std::string& Folder) {
    CurrentSource = Source;
    // The final name, and a temporary file in the output folder under a name that existed
    // nowhere before: a failed or partial output never shows under a real name, and no file
    // of the user's is overwritten. Without one (folder gone or read-only) the conversion
    // into the empty path reports the file as not available.
    Job.Begin(Source, Folder);
    JobOpen = true;
    FinalPath = Job.FinalPath();
    Label1->SetCaption("Convert file " + Quoted(FileNamePart(CurrentSource)) + ":");
    TempPath = Job.TempPath();
    SourceSize = Job.SourceSize();
    MyThread->Post(Source, TempPath);
    Timer1->SetEnabled(true);
}

void TForm2::DrawProgressBar(int Percent, tk::Image* Target) {
    // The bar's full size is its image's in the layout.
    Target->SetPicture(ProgressBarPicture(BarWidth(Percent, Target->Width()), Target->Height(),
                                          Image2->Picture(), Image3->Picture()));
}

// --- Dragging by the background -------------------------------------------------------------

void TForm2::Image1MouseDown(tk::Component*, tk::MouseButton, tk::ShiftState, int X, int Y) { Drag.Press(X, Y); }
void TForm2::Image1MouseMove(tk::Component*, tk::ShiftState, int X, int Y) { Drag.Move(*this, X, Y); }
void TForm2::Image1MouseUp(tk::Component*, tk::MouseButton, tk::ShiftState, int, int) { Drag.Release(); }
