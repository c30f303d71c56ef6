// gvi2avi: the command-line converter, on the same routine and naming as the program.
#include "conversion/Convert.h"
#include "conversion/FileJob.h"
#include "conversion/OutputName.h"
#include "conversion/Progress.h"
#include "platform/File.h"
#include "platform/StopRequest.h"
#include "platform/Text.h"
#include "Version.h"

#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#define VEXLAR_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define VEXLAR_ISATTY(fd) isatty(fd)
#endif


namespace {

constexpr const char* kProgram = "gvi2avi";
constexpr const char* kProduct = VEXLAR_PRODUCT;

enum ExitCode { kAllConverted = 0, kSomeFailed = 1, kUsage = 2 };

struct Interrupted : std::runtime_error {
    Interrupted() : std::runtime_error("interrupted") {}
};

void PrintHelp() {
    std::printf(
        "Usage: %s [-o DIR] [-q] FILE...\n"
        "Converts Google Video files (.gvi) into AVI files.\n"
        "\n"
        "Each FILE becomes NAME.AVI, where NAME is its name without \".gvi\"; a name that is\n"
        "taken gets a counter in front ([1]NAME.AVI, [2]NAME.AVI, ...). Nothing is overwritten.\n"
        "\n"
        "  -o DIR     write the AVI files into DIR (default: beside each FILE)\n"
        "  -q         quiet: no progress line, no list of the files written\n"
        "  --help     show this help and exit\n"
        "  --version  show the version and exit\n"
        "\n"
        "Exit status: 0 when every file converted, 1 when any failed, 2 for usage errors.\n",
        kProgram);
}

// Every line on standard error starts with the program's name, so it reads well among others.
void Complain(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Complain(const char* format, ...) {
    std::fprintf(stderr, "%s: ", kProgram);
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
}

int UsageError(const std::string& message) {
    Complain("%s (try '%s --help')", message.c_str(), kProgram);
    return kUsage;
}

// Standard output carries the answer (the files written, help, version): losing it is a
// failure of the run, said once.
class Output {
public:
    void Flush() {
        if (std::fflush(stdout) != 0 && error_ == 0) error_ = errno != 0 ? errno : EIO;
    }
    // The status to end with, after flushing what is left.
    int Finish(int status) {
        Flush();
        if (error_ == 0 && std::ferror(stdout)) error_ = EIO;
        if (error_ == 0) return status;
        Complain("could not write to standard output: %s", std::strerror(error_));
        return status == kAllConverted ? kSomeFailed : status;
    }

private:
    int error_ = 0;
};

// The folder part of a path, with its trailing separator ("" for a bare name).
std::string FolderOf(const std::string& path) {
    size_t last = path.find_last_of(platform::kNativeNameSeparators);
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string WithSeparator(std::string folder) {
    if (folder.empty()) return folder;
    if (std::strchr(platform::kNativeNameSeparators, folder.back()) == nullptr)
        folder += platform::kNativeFolderSeparator;
    return folder;
}

// One line on the terminal, redrawn in place at most ten times a second.
class ProgressLine {
public:
    explicit ProgressLine(bool enabled) : enabled_(enabled) {}

    void BeginFile(int index, int total, const std::string& name) {
        if (!enabled_) return;
        char counter[32];
        std::snprintf(counter, sizeof counter, "[%d/%d] ", index, total);
        prefix_ = counter + platform::ShortenMiddle(name, 40);
        start_ = Clock::now();
        Draw(0, 0, true);
    }

    void Update(uint64_t outputBytes, uint64_t sourceBytes) {
        if (!enabled_) return;
        Draw(CurrentPercent(outputBytes, sourceBytes), outputBytes, false);
    }

    void Clear() {
        if (!enabled_ || width_ == 0) return;
        std::fprintf(stderr, "\r%*s\r", static_cast<int>(width_), "");
        std::fflush(stderr);
        width_ = 0;
    }

private:
    using Clock = std::chrono::steady_clock;

    void Draw(int percent, uint64_t bytes, bool force) {
        Clock::time_point now = Clock::now();
        if (!force && now - lastDraw_ < std::chrono::milliseconds(100)) return;
        lastDraw_ = now;
        double seconds = std::chrono::duration<double>(now - start_).count();
        char text[512];
        int n = seconds > 0.05
                    ? std::snprintf(text, sizeof text, "%s  %3d%%  %.1f MB/s", prefix_.c_str(),
                                    percent, static_cast<double>(bytes) / 1e6 / seconds)
                    : std::snprintf(text, sizeof text, "%s  %3d%%", prefix_.c_str(), percent);
        size_t len = n < 0 ? 0 : static_cast<size_t>(n) < sizeof text ? static_cast<size_t>(n)
                                                                        : sizeof text - 1;
        // Pad over what a longer previous line left behind.
        std::fprintf(stderr, "\r%s%*s", text, static_cast<int>(width_ > len ? width_ - len : 0), "");
        std::fflush(stderr);
        width_ = len > width_ ? len : width_;
    }

    bool enabled_;
    std::string prefix_;
    Clock::time_point start_{};
    Clock::time_point lastDraw_{};
    size_t width_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    std::string outputFolder;
    bool haveOutput = false;
    bool quiet = false;
    std::vector<std::string> files;

    bool options = true;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && (arg == "--help" || arg == "-h")) {
            PrintHelp();
            return Output().Finish(kAllConverted);
        } else if (options && arg == "--version") {
            std::printf("%s (%s) %s\n", kProgram, kProduct, VEXLAR_VERSION);
            return Output().Finish(kAllConverted);
        } else if (options && arg == "-q") {
            quiet = true;
        } else if (options && (arg == "-o" || arg.rfind("-o", 0) == 0)) {
            if (arg == "-o") {
                if (i + 1 >= argc) return UsageError("option '-o' needs a folder");
                outputFolder = platform::NativeSeparators(argv[++i]);
            } else {
                outputFolder = platform::NativeSeparators(arg.substr(2));
            }
            if (outputFolder.empty()) return UsageError("option '-o' needs a folder");
            haveOutput = true;
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            return UsageError("unknown option '" + arg + "'");
        } else {
            // Named in messages as typed, in the system's one separator style.
            files.push_back(platform::NativeSeparators(arg));
        }
    }
    if (files.empty()) return UsageError("no FILE given");
    if (haveOutput) {
        const platform::PathKind kind = platform::KindOf(outputFolder);
        if (kind != platform::PathKind::Directory)
            return UsageError("the output folder \"" + outputFolder + "\"" +
                              (kind == platform::PathKind::File ? " is a file, not a folder"
                                                                : " does not exist"));
        outputFolder = WithSeparator(outputFolder);
    }

    platform::CatchStopRequests();

    ProgressLine progress(!quiet && VEXLAR_ISATTY(2));
    const int total = static_cast<int>(files.size());
    int failed = 0;
    Output output;
    for (int k = 0; k < total && !platform::StopRequested(); ++k) {
        const std::string& source = files[k];
        const std::string name = FileNamePart(source, platform::kNativeNameSeparators);
        TFileJob job;
        job.Begin(source, haveOutput ? outputFolder : FolderOf(source),
                  platform::kNativeNameSeparators);

        progress.BeginFile(k + 1, total, name);
        TConvertCause cause;
        TConvertResult result = ConvertGviToAvi(source, job.TempPath(), [&](uint64_t out, uint64_t in) {
            // Stops the copy; the half-written output is removed with the failed job below.
            if (platform::StopRequested()) throw Interrupted();
            progress.Update(out, in);
        }, &cause);
        progress.Clear();
        TJobOutcome outcome = job.Finish(result);

        if (platform::StopRequested() && outcome != joSaved) {
            if (outcome == joNotRemoved)
                Complain("could not delete the temporary file \"%s\".", job.TempPath().c_str());
            break;
        }
        const std::string failure = job.FailureText(result, cause, TMessageStyle::Console);
        if (!failure.empty()) Complain("%s", failure.c_str());
        if (outcome == joNotRenamed) {
            if (platform::FileExists(job.TempPath()))
                Complain("\"%s\" was converted but could not be named \"%s\": %s It is kept as \"%s\".",
                         source.c_str(), job.FinalPath().c_str(),
                         platform::ErrorText(job.RenameError()).c_str(), job.TempPath().c_str());
            else
                Complain("\"%s\" was converted but could not be named \"%s\": its temporary file \"%s\" is gone.",
                         source.c_str(), job.FinalPath().c_str(), job.TempPath().c_str());
        } else if (outcome == joNotRemoved) {
            Complain("could not delete the temporary file \"%s\".", job.TempPath().c_str());
        }
        if (outcome == joSaved) {
            if (!quiet) std::printf("%s\n", job.FinalPath().c_str());
        } else {
            ++failed;
        }
        output.Flush();
    }
    int status = output.Finish(failed == 0 ? kAllConverted : kSomeFailed);
    if (platform::StopRequested()) {
        Complain("interrupted.");
        std::fflush(stderr);
        platform::EndForStopRequest();
    }
    return status;
}
