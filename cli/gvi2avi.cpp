// gvi2avi: the command-line converter, on the same routine and naming as the program.
#include "cli/Plan.h"
#include "cli/ProgressLine.h"
#include "cli/Report.h"
#include "conversion/Convert.h"
#include "conversion/FileJob.h"
#include "conversion/Incomplete.h"
#include "conversion/OutputName.h"
#include "platform/Console.h"
#include "platform/File.h"
#include "platform/StopRequest.h"
#include "platform/Text.h"
#include "Version.h"

#include <cstdio>
#include <set>
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

using namespace cli;

namespace {

constexpr const char* kProduct = VEXLAR_PRODUCT;

struct Interrupted : std::runtime_error {
    Interrupted() : std::runtime_error("interrupted") {}
};

void PrintHelp() {
    std::printf(
        "Usage: %s [-r] [-n] [-u] [-o DIR] [-q] FILE...\n"
        "Converts Google Video files (.gvi) into AVI files.\n"
        "\n"
        "Each FILE becomes NAME.AVI, where NAME is its name without \".gvi\"; a name that is\n"
        "taken gets a counter in front ([1]NAME.AVI, [2]NAME.AVI, ...). Nothing is overwritten.\n"
        "Each AVI file keeps the modification time of its FILE.\n"
        "\n"
        "  -o DIR     write the AVI files into DIR (default: beside each FILE); with -r, the\n"
        "             folders inside a FILE that is a folder are made again under DIR\n"
        "  -r         a FILE that is a folder stands for every file named *.gvi (any letter\n"
        "             case) in it and in its folders, converted in the order of their paths;\n"
        "             links to folders are not followed\n"
        "  -n         dry run: show each SOURCE -> OUTPUT the run would write; write nothing\n"
        "  -u         resume: skip each FILE already converted, that is, whose NAME.AVI is\n"
        "             there with its size less 52 bytes and its modification time\n"
        "  -q         quiet: no progress line, no list of the files written, no summary\n"
        "  --help     show this help and exit\n"
        "  --version  show the version and exit\n"
        "\n"
        "A FILE shorter than its header says (an interrupted download) converts as it is,\n"
        "with a warning. Interrupted, the run removes the file it was writing: run it again\n"
        "with -u to convert what is missing.\n"
        "\n"
        "Exit status: 0 when no file failed, 1 when any failed, 2 for usage errors, 128 + the\n"
        "signal's number when interrupted (130 for Ctrl+C).\n",
        kProgram);
}

struct Options {
    PlanOptions plan;
    bool dryRun = false;
    std::vector<std::string> files;
};

// -1 when the run goes on, else the status to exit with.
int ParseOptions(int argc, char** argv, Options& options) {
    bool haveOutput = false;
    bool more = true;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (!more || arg.size() < 2 || arg[0] != '-') {
            // Named in messages as typed, in the system's one separator style.
            options.files.push_back(platform::NativeSeparators(arg));
        } else if (arg == "--") {
            more = false;
        } else if (arg == "--help" || arg == "-h") {
            PrintHelp();
            return Output().Finish(kAllConverted);
        } else if (arg == "--version") {
            std::printf("%s (%s) %s\n", kProgram, kProduct, VEXLAR_VERSION);
            return Output().Finish(kAllConverted);
        } else {
            // Letters may come together ("-rq"); -o takes the rest, or the next argument.
            for (size_t k = 1; k < arg.size(); ++k) {
                switch (arg[k]) {
                case 'q': options.plan.quiet = true; continue;
                case 'r': options.plan.recursive = true; continue;
                case 'u': options.plan.resume = true; continue;
                case 'n': options.dryRun = true; continue;
                case 'o':
                    if (k + 1 < arg.size()) {
                        options.plan.outputFolder = platform::NativeSeparators(arg.substr(k + 1));
                    } else {
                        if (i + 1 >= argc) return UsageError("option '-o' needs a folder");
                        options.plan.outputFolder = platform::NativeSeparators(argv[++i]);
                    }
                    if (options.plan.outputFolder.empty()) return UsageError("option '-o' needs a folder");
                    haveOutput = true;
                    break;
                default:
                    return UsageError("unknown option '" + (k == 1 ? arg : "-" + arg.substr(k, 1)) + "'");
                }
                break;
            }
        }
    }
    if (options.files.empty()) return UsageError("no FILE given");
    if (haveOutput) {
        std::string& folder = options.plan.outputFolder;
        const platform::PathKind kind = platform::KindOf(folder);
        if (kind != platform::PathKind::Directory)
            return UsageError("the output folder \"" + folder + "\"" +
                              (kind == platform::PathKind::File ? " is a file, not a folder"
                                                                : " does not exist"));
        folder = WithSeparator(folder);
    }
    return -1;
}

// -n: each SOURCE -> OUTPUT under the names the run would choose, counting the names given
// out before as taken.
void ShowDryRun(const Plan& plan, Output& output) {
    std::set<std::string> given;
    auto taken = [&](const std::string& path) { return given.count(path) != 0 || platform::PathExists(path); };
    for (const PlannedFile& file : plan.Files()) {
        std::string final = MakeOutputName(file.source, plan.Folder(file), platform::kNativeNameSeparators, taken);
        std::printf("%s -> %s\n", file.source.c_str(), final.c_str());
        given.insert(std::move(final));
    }
    output.Flush();
}

struct Counts {
    int converted = 0;
    int incomplete = 0;
    int failed = 0;
};

// Converts one planned file; false when it failed.
bool ConvertOne(const PlannedFile& file, Plan& plan, ProgressLine& progress, int index, int total,
                uint64_t bytesBefore, bool quiet, Counts& counts) {
    const std::string& source = file.source;
    const std::string name = FileNamePart(source, platform::kNativeNameSeparators);
    if (!plan.MakeFolder(file)) return false;
    TFileJob job;
    job.Begin(source, plan.Folder(file), platform::kNativeNameSeparators);

    progress.BeginFile(index, total, name, bytesBefore);
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
        return false;
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
    if (outcome != joSaved) return false;
    if (!quiet) std::printf("%s\n", job.FinalPath().c_str());
    ++counts.converted;
    if (uint64_t missing = MissingBytes(job.FinalPath())) {
        ++counts.incomplete;
        Complain("warning: \"%s\" is %s bytes shorter than its header says (an interrupted "
                 "download?); converted as it is",
                 source.c_str(), WithThousands(missing).c_str());
    }
    return true;
}

// One line for a run of more than one file, e.g. "118 converted, 3 already converted, 2 failed".
void Summarize(const Counts& counts, const Plan& plan) {
    std::string line = std::to_string(counts.converted) + " converted";
    if (plan.AlreadyConverted() != 0) line += ", " + std::to_string(plan.AlreadyConverted()) + " already converted";
    if (counts.incomplete != 0) line += ", " + std::to_string(counts.incomplete) + " incomplete";
    if (counts.failed != 0) line += ", " + std::to_string(counts.failed) + " failed";
    Complain("%s", line.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    platform::WriteNamesAsUtf8();
    Options options;
    if (int status = ParseOptions(argc, argv, options); status >= 0) return status;
    const bool quiet = options.plan.quiet;

    platform::CatchStopRequests();
    Plan plan(options.plan);
    for (const std::string& file : options.files) plan.Add(file);

    Output output;
    Counts counts;
    counts.failed = plan.Failed();
    if (options.dryRun) {
        ShowDryRun(plan, output);
    } else {
        ProgressLine progress(!quiet && VEXLAR_ISATTY(2), plan.Bytes());
        const int total = static_cast<int>(plan.Files().size());
        uint64_t bytesBefore = 0;
        for (int k = 0; k < total && !platform::StopRequested(); ++k) {
            const PlannedFile& file = plan.Files()[k];
            if (!ConvertOne(file, plan, progress, k + 1, total, bytesBefore, quiet, counts) &&
                !platform::StopRequested())
                ++counts.failed;
            bytesBefore += file.size;
            output.Flush();
        }
        if (!quiet && !platform::StopRequested() && total + plan.Failed() + plan.AlreadyConverted() > 1)
            Summarize(counts, plan);
    }
    int status = output.Finish(counts.failed == 0 ? kAllConverted : kSomeFailed);
    if (platform::StopRequested()) {
        Complain("interrupted.");
        std::fflush(stderr);
        platform::EndForStopRequest();
    }
    return status;
}
