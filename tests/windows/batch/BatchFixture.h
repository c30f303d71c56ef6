// Batches run in-process: the program's windows made from its own resources, real files in
// temporary folders, the real worker and the real timer.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/Product.h"
#include "controls/ImageButton3.h"
#include "conversion/Progress.h"
#include "tests/windows/support/ProgramTest.h"
#include "toolkit/Application.h"

namespace batchtest {

using Strings = std::vector<std::string>;
using vt::ReadFileBytes;

// A GVI file: "RIFF", the length field, "AVI ", the signature at 20, a pattern elsewhere.
inline std::string GviBytes(size_t size) {
    std::string b(size, '\0');
    for (size_t i = 0; i < size; ++i) b[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    b.replace(0, 4, "RIFF");
    const uint32_t length = static_cast<uint32_t>(size - 8);
    for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<char>(length >> (8 * i));
    b.replace(8, 4, "AVI ");
    b.replace(20, 4, "goog");
    return b;
}

// What the conversion of GviBytes(size) gives: the 52-byte block gone, the length 52 less.
inline std::string AviBytes(size_t size) {
    std::string gvi = GviBytes(size);
    std::string avi = gvi.substr(0, 12) + gvi.substr(64);
    const uint32_t length = static_cast<uint32_t>(size - 8 - 52);
    for (int i = 0; i < 4; ++i) avi[4 + i] = static_cast<char>(length >> (8 * i));
    return avi;
}

// Names in a folder (ends in "\"), sorted.
inline std::set<std::string> FolderNames(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = data.cFileName;
        if (name != "." && name != "..") names.insert(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

// Answers every box until the answerer goes; inspect runs while each one is up.
inline vt::DialogAnswerer::Options AnswerEvery(std::function<void(HWND)> inspect = nullptr) {
    vt::DialogAnswerer::Options options;
    options.count = 0;
    options.inspect = std::move(inspect);
    return options;
}

// Holds the worker before it opens each source, until the test lets it go.
using Gate = vt::WorkerGate;

// The program's windows for a batch, with the progress window's timer shortened unless the
// suite needs the real pace. The worker polls at its own pace.
class BatchTest : public ProgramTest {
protected:
    virtual bool RealTiming() const { return false; }

    void SetUp() override {
        ProgramTest::SetUp();
        Create();
        if (!RealTiming()) Form2->Timer1->SetInterval(100);
    }

    // Fills the main window's list and output folder and presses Start.
    void Start(const Strings& sources, const std::string& folder) {
        for (const std::string& s : sources) form->AddSourceFile(s);
        form->RefreshCountLabel();
        form->Edit1->SetText(folder);
        Click(*form->ImageButton1);
    }

    // Start, then pump until the batch has ended.
    bool RunBatch(const Strings& sources, const std::string& folder, int timeoutMs = 30000) {
        Start(sources, folder);
        if (!Converting) return false;
        return vt::PumpUntil([] { return !Converting; }, timeoutMs);
    }

    // The worker converting a request that no batch posted, so that ticks show progress.
    void HoldWorker(Gate& gate, const vt::TempFolder& folder) {
        MyThread->Post(folder.Write("held.gvi", "no GVI"), folder.File("held.tmp"));
        ASSERT_TRUE(gate.WaitStarted());
        ASSERT_FALSE(MyThread->Ready);
    }
    void LetWorkerGo(Gate& gate) {
        gate.Release();
        ASSERT_TRUE(vt::PumpUntil([] { return MyThread->RequestFinished(); }, 5000));
    }

    // A one-file batch in which another program opens the worker's output after the worker has
    // let go of it, before the batch has settled it; the handle, which the caller closes.
    HANDLE RunBatchHoldingOutput(const std::string& source, const std::string& folder) {
        Gate gate;
        Start({source}, folder);
        if (!gate.WaitStarted()) return INVALID_HANDLE_VALUE;
        gate.Release();
        // Published in one step; the batch settles it at a later tick.
        vt::PumpUntil([] { return MyThread->RequestFinished(); }, 10000);
        HANDLE holder = CreateFileA(gate.Dest().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        vt::PumpUntil([] { return !Converting; }, 10000);
        return holder;
    }

    static int BarWidthOf(const tk::Image* image) { return image->Picture().Width(); }
};

}  // namespace batchtest
