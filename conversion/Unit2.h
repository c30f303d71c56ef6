// Unit2: the progress window, which runs a conversion batch through the worker thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "conversion/BatchState.h"
#include "conversion/MyThread.h"
#include "conversion/OutputName.h"  // MakeOutputName: the batch names its files with it
#include "toolkit/Form.h"
#include "toolkit/StdControls.h"
#include "toolkit/Timer.h"

class TImageButton;

// Unit-level state of the progress window (user-interface thread only). The hand-over state
// that Start fills (OutputFolder, BatchFiles, BatchTotal, BatchIndex) is in BatchState.h.
extern TMyThread* MyThread;      // the worker; it frees itself when its body ends, and is then nullptr
extern std::string CurrentSource;  // source of the file being converted
extern std::string FinalPath;      // its output name
extern std::string TempPath;       // where the worker writes it until it is renamed
extern uint64_t SourceSize;        // the source's size when the file began
extern bool TimerBusy;             // Timer1Timer runs; a nested tick returns at once
// The progress window's own drag state (the main window has another).
extern bool ProgressDragActive;
extern int32_t ProgressDragOriginX;
extern int32_t ProgressDragOriginY;

// Progress of the current file, 0 to 100, from the temporary file's current size.
int CurrentPercent();
// A progress bar Width x Height pixels: the edge column at 0 and at Width - 1, the fill column
// stretched over the columns between. Width 0 gives an empty picture.
tk::Bitmap ProgressBarPicture(int Width, int Height, const tk::Bitmap& Edge, const tk::Bitmap& Fill);

class TForm2 : public tk::Form {
public:
    TForm2();

    // Controls of the layout, back to front.
    tk::Image* Image1 = nullptr;  // background; dragging
    tk::Image* Image2 = nullptr;  // hidden: the bar's edge column
    tk::Image* Image3 = nullptr;  // hidden: the bar's fill column
    tk::Image* Image4 = nullptr;  // frame of the current-file bar
    tk::Image* Image5 = nullptr;  // frame of the total bar
    tk::Image* Image6 = nullptr;  // current-file bar
    tk::Image* Image7 = nullptr;  // total bar
    tk::Label* Label1 = nullptr;  // current operation
    tk::Label* Label2 = nullptr;  // "Total Progress:"
    tk::Label* Label3 = nullptr;  // current file's percentage
    tk::Label* Label4 = nullptr;  // batch's percentage
    TImageButton* ImageButton9 = nullptr;  // corner button, no command
    tk::Timer* Timer1 = nullptr;           // drives the batch

    void FormCreate(tk::Component* Sender);
    void FormDestroy(tk::Component* Sender);
    // Refuses while a batch runs.
    void FormCloseQuery(tk::Component* Sender, bool& CanClose);
    // One step of the batch.
    void Timer1Timer(tk::Component* Sender);
    void Image1MouseDown(tk::Component* Sender, tk::MouseButton Button, tk::ShiftState Shift, int X, int Y);
    void Image1MouseMove(tk::Component* Sender, tk::ShiftState Shift, int X, int Y);
    void Image1MouseUp(tk::Component* Sender, tk::MouseButton Button, tk::ShiftState Shift, int X, int Y);

    // Starts converting one file: names it, posts it to the worker, restarts Timer1.
    void BeginFile(const std::string& Source, const std::string& Folder);
    // Makes a bar for Percent (0 to 100) the picture of Target (Image6 or Image7): an edge
    // column at each end and the fill column stretched between them, from the hidden Image2
    // and Image3.
    void DrawProgressBar(int Percent, tk::Image* Target);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void RegisterHandlers();
    void FindControls();
    void StartWorker();
    void NextStep();
    void ShowProgress();
    void FinishFile();
    void EndBatch();
    // Ends a batch whose worker has gone, with a box that says so.
    void StopBatch();
    // The end of every batch, once the timer is off: the file in flight withdrawn, the main
    // window back, Converting false.
    void ReturnToMainWindow();

    tk::FormLayout layout_{*this};  // last: see FormLayout
};
