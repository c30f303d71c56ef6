// bench_batch: times whole batches through the program's own windows, on the real 1000 ms
// timer and 500 ms worker poll, from Start to the "Done." box. Run by bench/batch under Wine.
//
//   bench_batch small N DIR      N small GVI files made in DIR\src, converted into DIR\out
//   bench_batch big FILE DIR     one existing GVI file, converted into DIR\out
//   bench_batch shot DIR         three files; halfway through the second it writes DIR\ready and
//                                waits for DIR\go (a screenshot is taken meanwhile)
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/Globals.h"
#include "app/Product.h"
#include "app/Unit1.h"
#include "conversion/Unit2.h"
#include "tests/windows/support/TestSupport.h"
#include "toolkit/Application.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsBetween(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

std::string TextOf(HWND w) {
    char buffer[512] = {};
    GetWindowTextA(w, buffer, sizeof buffer);
    return buffer;
}

// Presses OK on every box of this process, noting when "Done." showed.
class BoxAnswerer {
public:
    BoxAnswerer() : thread_([this] { Run(); }) {}
    ~BoxAnswerer() {
        stop_ = true;
        thread_.join();
    }
    Clock::time_point DoneAt() const { return Clock::time_point(Clock::duration(doneAt_.load())); }
    int Boxes() const { return boxes_; }

private:
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    };
    static BOOL CALLBACK Collect(HWND w, LPARAM lp) {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        char cls[16] = {};
        GetClassNameA(w, cls, sizeof cls);
        if (pid == s->pid && IsWindowVisible(w) && std::strcmp(cls, "#32770") == 0) s->found.push_back(w);
        return TRUE;
    }
    void Run() {
        std::set<HWND> answered;
        while (!stop_) {
            Search s{GetCurrentProcessId(), {}};
            EnumWindows(Collect, reinterpret_cast<LPARAM>(&s));
            for (HWND box : s.found) {
                if (!answered.insert(box).second) continue;
                const auto now = Clock::now();
                std::string text = TextOf(GetDlgItem(box, 0xFFFF));
                if (text == "Done.") doneAt_ = now.time_since_epoch().count();
                else std::printf("box: %s\n", text.c_str());
                ++boxes_;
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
            Sleep(2);
        }
    }
    std::atomic<bool> stop_{false};
    std::atomic<Clock::rep> doneAt_{0};
    std::atomic<int> boxes_{0};
    std::thread thread_;
};

// A GVI file: RIFF header, the 52-byte block with the signature, then a pattern.
bool WriteGvi(const std::string& path, uint64_t size) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    std::vector<char> block(1 << 20);
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 7 + 3);
    std::memcpy(block.data(), "RIFF", 4);
    const uint32_t length = static_cast<uint32_t>(size - 8);
    std::memcpy(block.data() + 4, &length, 4);
    std::memcpy(block.data() + 8, "AVI ", 4);
    std::memcpy(block.data() + 20, "goog", 4);
    bool ok = true;
    for (uint64_t left = size; left > 0 && ok;) {
        DWORD n = static_cast<DWORD>(left < block.size() ? left : block.size());
        DWORD written = 0;
        ok = WriteFile(f, block.data(), n, &written, nullptr) && written == n;
        left -= n;
    }
    CloseHandle(f);
    return ok;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Time spent inside the conversion routine, summed over the batch (written by the worker).
// The worker's requests to the system show it: the routine opens its source first and closes
// it last. Every thread but the user-interface one counts as the worker here.
std::atomic<int64_t> convertNs{0};
DWORD uiThread = 0;
decltype(&CreateFileA) realCreateFile = nullptr;
decltype(&CloseHandle) realCloseHandle = nullptr;
HANDLE timedSource = INVALID_HANDLE_VALUE;
Clock::time_point sourceOpening;
std::function<void(const std::string& source)> beforeSource;  // on the worker, as it opens one

HANDLE WINAPI WorkerCreateFile(const char* path, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security,
                               DWORD disposition, DWORD flags, HANDLE templateFile) {
    const bool source = GetCurrentThreadId() != uiThread && !(access & GENERIC_WRITE);
    if (source && beforeSource) beforeSource(path);
    const auto t0 = Clock::now();
    HANDLE h = realCreateFile(path, access, share, security, disposition, flags, templateFile);
    if (source) {
        sourceOpening = t0;
        timedSource = h;
    }
    return h;
}

BOOL WINAPI WorkerCloseHandle(HANDLE h) {
    const BOOL closed = realCloseHandle(h);
    if (h == timedSource && GetCurrentThreadId() != uiThread) {
        timedSource = INVALID_HANDLE_VALUE;
        convertNs += std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - sourceOpening).count();
    }
    return closed;
}

struct Result {
    double startToDoneMs = 0;
    double convertMs = 0;
    int boxes = 0;
};

// Start on the main window with these rows, then run the loop until the batch is over.
Result RunBatch(const std::vector<std::string>& files, const std::string& out) {
    for (const std::string& f : files) Form1->AddSourceFile(f);
    Form1->Edit1->SetText(out);
    convertNs = 0;
    Result r;
    BoxAnswerer answerer;
    const auto start = Clock::now();
    Form1->ImageButton1Click(nullptr);
    while (Converting) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (Converting) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    r.startToDoneMs = MsBetween(start, answerer.DoneAt());
    r.convertMs = convertNs / 1e6;
    r.boxes = answerer.Boxes();
    return r;
}

int Usage() {
    std::fprintf(stderr, "usage: bench_batch small N DIR | big FILE DIR | shot DIR\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    const std::string mode = argv[1];
    std::string dir = argv[argc - 1];
    if (dir.back() != '\\') dir += '\\';
    const std::string out = dir + "out\\";
    CreateDirectoryA(out.c_str(), nullptr);

    tk::App().SetTitle(product::kTitle);
    uiThread = GetCurrentThreadId();
    vt::ImportPatch opening("kernel32.dll", "CreateFileA", reinterpret_cast<const void*>(&WorkerCreateFile));
    vt::ImportPatch closing("kernel32.dll", "CloseHandle", reinterpret_cast<const void*>(&WorkerCloseHandle));
    realCreateFile = reinterpret_cast<decltype(&CreateFileA)>(const_cast<void*>(opening.Original()));
    realCloseHandle = reinterpret_cast<decltype(&CloseHandle)>(const_cast<void*>(closing.Original()));
    TForm1 form1;
    Form1 = &form1;
    form1.Timer1->SetEnabled(false);  // no first-run prompt
    TForm2 form2;
    Form2 = &form2;
    form1.Show();

    int status = 0;
    if (mode == "small" && argc == 4) {
        const int n = std::atoi(argv[2]);
        const std::string src = dir + "src\\";
        CreateDirectoryA(src.c_str(), nullptr);
        std::vector<std::string> files;
        for (int i = 0; i < n; ++i) {
            files.push_back(src + "clip" + std::to_string(i) + ".gvi");
            if (!WriteGvi(files.back(), 256 * 1024)) return 1;
        }
        Result r = RunBatch(files, out);
        std::printf("small files: %d x 256 KiB\n", n);
        std::printf("start to Done.: %.0f ms\n", r.startToDoneMs);
        std::printf("per file: %.1f ms (floor: one 1000 ms tick per file, plus the tick before the first)\n",
                    (r.startToDoneMs - 1000.0) / n);
        std::printf("in the conversion routine: %.1f ms in all\n", r.convertMs);
        status = r.boxes == 1 ? 0 : 1;
    } else if (mode == "big" && argc == 4) {
        const std::string file = argv[2];
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data);
        const double bytes = static_cast<double>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
        Result r = RunBatch({file}, out);
        std::printf("big file: %.0f bytes\n", bytes);
        std::printf("start to Done.: %.0f ms\n", r.startToDoneMs);
        std::printf("conversion: %.0f ms, %.1f MB/s\n", r.convertMs, bytes / (r.convertMs / 1000.0) / 1e6);
        status = r.boxes == 1 ? 0 : 1;
    } else if (mode == "shot") {
        std::vector<std::string> files = {dir + "Holiday in Rome.gvi", dir + "Interview, part 2.gvi",
                                          dir + "clip.gvi"};
        for (const std::string& f : files) {
            if (!WriteGvi(f, 4 << 20)) return 1;
        }
        // Half of the second file, held until the screenshot is taken. The worker's output is
        // its own request's (read on the worker while it converts).
        beforeSource = [files, dir](const std::string& source) {
            if (source == files[1]) {
                const std::string dest = MyThread->DestPath;
                HANDLE f = CreateFileA(dest.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
                LARGE_INTEGER half;
                half.QuadPart = (4 << 20) / 2;
                SetFilePointerEx(f, half, nullptr, FILE_BEGIN);
                SetEndOfFile(f);
                CloseHandle(f);
                Sleep(2500);  // two progress ticks draw it
                CloseHandle(CreateFileA((dir + "ready").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
                for (int i = 0; i < 1200 && !Exists(dir + "go"); ++i) Sleep(50);
            }
        };
        Result r = RunBatch(files, out);
        std::printf("screenshot batch: %.0f ms\n", r.startToDoneMs);
    } else {
        return Usage();
    }
    return status;
}
