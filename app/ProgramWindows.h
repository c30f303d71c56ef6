// The program's four windows, made in the order the main block needs and destroyed in reverse.
#pragma once

#include <memory>

#include "app/AboutUnit.h"
#include "app/Globals.h"
#include "app/Unit1.h"
#include "app/Unit3.h"
#include "conversion/Unit2.h"

// One window and the global through which the other units reach it: the global is set as soon as
// the window is made and cleared before the window goes.
template <class TWindow>
class TPublishedWindow {
public:
    explicit TPublishedWindow(TWindow*& global) : global_(global), window_(std::make_unique<TWindow>()) {
        global_ = window_.get();
    }
    ~TPublishedWindow() { global_ = nullptr; }
    TPublishedWindow(const TPublishedWindow&) = delete;
    TPublishedWindow& operator=(const TPublishedWindow&) = delete;

    TWindow& operator*() const { return *window_; }

private:
    TWindow*& global_;
    std::unique_ptr<TWindow> window_;
};

// Each window lives as long as this object. Form1 is the main window: it alone is shown when
// the loop starts, and closing it ends the loop.
class TProgramWindows {
public:
    TForm1& Main() const { return *form1_; }

private:
    // In this order; members go in reverse, so the progress window stops the worker while the
    // main window is still there.
    TPublishedWindow<TForm1> form1_{Form1};
    TPublishedWindow<TForm2> form2_{Form2};  // progress window; starts the worker
    TPublishedWindow<TForm3> form3_{Form3};  // codec prompt, shown by Form1's start-up timer
    TPublishedWindow<TAboutForm> aboutForm_{AboutForm};
};
