// The main window made in-process, with its program folder in a fresh temporary folder.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Globals.h"
#include "app/Unit1.h"
#include "conversion/BatchState.h"
#include "tests/windows/support/TestSupport.h"
#include "toolkit/OpenDialog.h"

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramFolderOverride(program.Path());
        Converting = false;
        DragActive = false;
        DragOriginX = DragOriginY = 0;
    }

    void TearDown() override {
        Converting = false;  // a refused close would keep the window
        form.reset();
        Form1 = nullptr;
        SetProgramFolderOverride("");
        tk::OpenDialog::TestHook = nullptr;
        ShellOpen = &SystemShellOpen;
        EnableBatchTimer = nullptr;
        ShowProgressWindow = nullptr;
        OutputFolder.clear();
        BatchFiles.clear();
        BatchTotal = BatchIndex = 0;
    }

    // Makes the window (reading set.txt from the program folder) and shows it. The start-up
    // timer is switched off: its first-run prompt has tests of its own.
    TForm1& Create(bool show = true) {
        form = std::make_unique<TForm1>();
        Form1 = form.get();
        timerEnabledAtCreation = form->Timer1->Enabled();
        form->Timer1->SetEnabled(false);
        if (show) {
            form->Show();
            vt::PumpFor(50);
        }
        return *form;
    }

    HWND Window() { return form->Handle(); }

    void Drop(const std::vector<std::string>& paths) {
        SendMessageA(Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(vt::MakeHDrop(paths)), 0);
    }

    std::vector<std::string> Rows(int column = 0) {
        std::vector<std::string> rows;
        for (int i = 0; i < form->ListView1->RowCount(); ++i) rows.push_back(form->ListView1->RowText(i, column));
        return rows;
    }

    std::string CountLabel() { return form->Label1->Caption(); }

    vt::TempFolder program;
    std::unique_ptr<TForm1> form;
    bool timerEnabledAtCreation = false;
};
