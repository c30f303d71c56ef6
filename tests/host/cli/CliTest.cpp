// gvi2avi as a user runs it: exit codes, messages, naming, nothing left behind.
#include "../conversion/TestFiles.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

using namespace testfiles;

namespace {

struct RunResult {
    int code = -1;
    std::string out, err;
};

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string ReadText(const std::string& path) {
    Bytes b = ReadBytes(path);
    return std::string(b.begin(), b.end());
}

class CliTest : public ::testing::Test {
protected:
    ScratchDir dir;
    ScratchDir out;

    RunResult Gvi2avi(const std::vector<std::string>& args) {
        std::string cmd = "cd " + Quote(dir.Folder()) + " && " + Quote(GVI2AVI_PATH);
        for (const auto& a : args) cmd += " " + Quote(a);
        cmd += " >" + Quote(dir / ".out") + " 2>" + Quote(dir / ".err") + " </dev/null";
        RunResult r;
        int status = std::system(cmd.c_str());
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = ReadText(dir / ".out");
        r.err = ReadText(dir / ".err");
        std::filesystem::remove(dir / ".out");
        std::filesystem::remove(dir / ".err");
        return r;
    }

    // A GVI file of `size` bytes that holds almost nothing on disk: converting it takes a while.
    void WriteSparseGvi(const std::string& path, off_t size) {
        WriteBytes(path, MakeGvi(64, 52));
        ASSERT_EQ(truncate(path.c_str(), size), 0);
    }

    // The temporary file of a running conversion in `d`, once it holds something.
    std::string WaitForTemporaryFile(const ScratchDir& d) {
        for (int i = 0; i < 10000; ++i) {
            for (auto& e : std::filesystem::directory_iterator(d.Folder())) {
                std::error_code ec;
                if (e.path().extension() == ".tmp" && std::filesystem::file_size(e.path(), ec) > 0)
                    return e.path().string();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return {};
    }

    // gvi2avi started straight from here (no shell between, which could ignore signals), with
    // standard error into `errPath`.
    pid_t Start(const std::vector<std::string>& args, const std::string& errPath) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<std::string> all{GVI2AVI_PATH};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        pid_t pid = -1;
        EXPECT_EQ(posix_spawn(&pid, GVI2AVI_PATH, &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

    std::vector<std::string> Names(const ScratchDir& d) {
        std::vector<std::string> names;
        for (auto& e : std::filesystem::directory_iterator(d.Folder()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(CliTest, UsageErrorsExitWithTwoAndSayWhy) {
    RunResult r = Gvi2avi({});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, "gvi2avi: no FILE given (try 'gvi2avi --help')\n");

    r = Gvi2avi({"-z", "a.gvi"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("unknown option '-z'"), std::string::npos) << r.err;

    r = Gvi2avi({"a.gvi", "-o"});
    EXPECT_EQ(r.code, 2);

    WriteBytes(dir / "a.gvi", MakeGvi(100, 92));
    r = Gvi2avi({"-o", dir / "nowhere", "a.gvi"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("does not exist"), std::string::npos) << r.err;
    r = Gvi2avi({"-o", "a.gvi", "a.gvi"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("\"a.gvi\" is a file, not a folder"), std::string::npos) << r.err;
    EXPECT_EQ(Names(dir), std::vector<std::string>{"a.gvi"});
}

TEST_F(CliTest, HelpAndVersion) {
    RunResult r = Gvi2avi({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("Usage: gvi2avi [-r] [-n] [-u] [-o DIR] [-q] FILE..."), std::string::npos) << r.out;
    r = Gvi2avi({"--version"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "gvi2avi (Vexlar GVI Converter) 1.4\n");

    // An answer that cannot be written is a failure, said on standard error.
    std::string cmd = Quote(GVI2AVI_PATH) + " --version >/dev/full 2>" + Quote(dir / ".err");
    int status = std::system(cmd.c_str());
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(ReadText(dir / ".err"), "gvi2avi: could not write to standard output: No space left on device\n");
}

TEST_F(CliTest, ListOfFilesThatCannotBeWrittenFailsTheRun) {
    WriteBytes(dir / "clip.gvi", MakeGvi(100, 92));
    std::string cmd = "cd " + Quote(dir.Folder()) + " && " + Quote(GVI2AVI_PATH) + " -o " +
                      Quote(out.Folder()) + " clip.gvi >/dev/full 2>" + Quote(dir / ".err");
    int status = std::system(cmd.c_str());
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(ReadText(dir / ".err"), "gvi2avi: could not write to standard output: No space left on device\n");
    EXPECT_EQ(Names(out), std::vector<std::string>{"clip.AVI"}) << "the conversion itself stands";
}

TEST_F(CliTest, StopSignalsRemoveThePartialOutputAndEndByTheSignal) {
    WriteSparseGvi(dir / "big.gvi", off_t(64) << 30);
    WriteBytes(dir / "next.gvi", MakeGvi(100, 92));
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        pid_t pid = Start({"-o", out.Folder(), dir / "big.gvi", dir / "next.gvi"}, dir / ".err");
        ASSERT_GT(pid, 0);
        bool running = !WaitForTemporaryFile(out).empty();
        kill(pid, signal);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(running) << "no conversion under way";
        // Ended by the signal itself: a shell reports 128 + the signal and stops its own loop.
        ASSERT_TRUE(WIFSIGNALED(status)) << "signal " << signal << ", status " << status;
        EXPECT_EQ(WTERMSIG(status), signal);
        EXPECT_EQ(ReadText(dir / ".err"), "gvi2avi: interrupted.\n");
        EXPECT_TRUE(Names(out).empty()) << "signal " << signal << ": " << Names(out).front();
    }

    // A signal ignored by whoever started us (nohup) stays ignored.
    WriteSparseGvi(dir / "mid.gvi", off_t(64) << 20);
    struct sigaction ignore {}, old {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGHUP, &ignore, &old);
    pid_t pid = Start({"-o", out.Folder(), dir / "mid.gvi"}, dir / ".err");
    sigaction(SIGHUP, &old, nullptr);
    WaitForTemporaryFile(out);
    kill(pid, SIGHUP);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(Names(out), std::vector<std::string>{"mid.AVI"});
}

TEST_F(CliTest, FailuresAreReportedAndTheBatchGoesOn) {
    WriteBytes(dir / "one.gvi", MakeGvi(100, 92));
    std::filesystem::create_directory(dir / "d2");
    WriteBytes(dir / "d2/bad.GVI", Bytes(100, 0));
    WriteBytes(dir / "two.gvi", MakeGvi(64, 52));
    RunResult r = Gvi2avi({"one.gvi", "d2/bad.GVI", "missing.gvi", "d2", "two.gvi", "-o", out.Folder()});
    EXPECT_EQ(r.code, 1);
    // Each source as typed, and why it could not be opened.
    EXPECT_EQ(r.err,
              "gvi2avi: \"d2\" is a folder; use -r to convert the GVI files in it and its folders.\n"
              "gvi2avi: Your GVI file \"d2/bad.GVI\" is corrupted.\n"
              "gvi2avi: File \"missing.gvi\" is not available: No such file or directory.\n"
              "gvi2avi: 2 converted, 3 failed\n");
    EXPECT_EQ(r.out, out / "one.AVI" + "\n" + out / "two.AVI" + "\n");
    // Only the finished files: no temporary file and no output of a failed one.
    EXPECT_EQ(Names(out), (std::vector<std::string>{"one.AVI", "two.AVI"}));
    EXPECT_EQ(ReadBytes(out / "two.AVI").size(), 12u);
}

TEST_F(CliTest, EveryFileConvertedExitsWithZeroBesideItsSource) {
    std::filesystem::create_directory(dir / "sub");
    WriteBytes(dir / "sub/clip.gvi", MakeGvi(300, 292));
    RunResult r = Gvi2avi({"-q", "sub/clip.gvi"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(ReadBytes(dir / "sub/clip.AVI").size(), 248u);
}

TEST_F(CliTest, NamesAreBytesEvenWhenNotUtf8) {
    const std::string latin1 = "Vid\xE9o";  // é in Latin-1: not UTF-8
    WriteBytes(dir / (latin1 + ".gvi"), MakeGvi(300, 292));
    RunResult r = Gvi2avi({latin1 + ".gvi"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, latin1 + ".AVI\n");
    EXPECT_EQ(ReadBytes(dir / (latin1 + ".AVI")).size(), 248u);
}

TEST_F(CliTest, TakenNamesGetCountersAndNothingIsOverwritten) {
    std::filesystem::create_directory(dir / "a");
    std::filesystem::create_directory(dir / "b");
    WriteBytes(dir / "a/clip.gvi", MakeGvi(100, 92));
    WriteBytes(dir / "b/clip.gvi", MakeGvi(200, 192));
    WriteBytes(out / "clip.AVI", {1, 2, 3});
    RunResult r = Gvi2avi({"-o", out.Folder(), "a/clip.gvi", "b/clip.gvi"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadBytes(out / "clip.AVI"), Bytes({1, 2, 3}));
    EXPECT_EQ(ReadBytes(out / "[1]clip.AVI").size(), 48u);
    EXPECT_EQ(ReadBytes(out / "[2]clip.AVI").size(), 148u);

    // A dangling symbolic link takes its name too, and stays as it is.
    std::filesystem::create_symlink("nowhere", out / "[3]clip.AVI");
    r = Gvi2avi({"-q", "-o", out.Folder(), "a/clip.gvi"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(std::filesystem::is_symlink(out / "[3]clip.AVI"));
    EXPECT_EQ(ReadBytes(out / "[4]clip.AVI").size(), 48u);

    // An output folder given without its trailing separator works the same.
    std::string folder = out.Folder();
    folder.pop_back();
    r = Gvi2avi({"-o", folder, "a/clip.gvi"});
    EXPECT_EQ(r.out, out / "[5]clip.AVI" + "\n");

    // A name the file system cannot hold fails before the work, with the system's reason.
    const std::string longName(251, 'n');
    WriteBytes(dir / (longName + ".gvi"), MakeGvi(100, 92));
    r = Gvi2avi({"-q", "-o", out.Folder(), longName + ".gvi", longName + ".gvi"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "gvi2avi: Could not write \"[1]" + longName + ".AVI\" in \"" + out.Folder() +
                         "\": File name too long.\n");
    EXPECT_TRUE(Exists(out / (longName + ".AVI")));
}

TEST_F(CliTest, LockedSourceIsNotAvailableAndLeavesNothing) {
    WriteBytes(dir / "held.gvi", MakeGvi(100, 92));
    int fd = open((dir / "held.gvi").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    RunResult r = Gvi2avi({"-o", out.Folder(), "held.gvi"});
    close(fd);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "gvi2avi: File \"held.gvi\" is not available: Device or resource busy.\n");
    EXPECT_TRUE(Names(out).empty());
}

TEST_F(CliTest, ProgressLineOnlyOnATerminal) {
    WriteBytes(dir / "clip.gvi", MakeGvi(200000, 199992));
    RunResult r = Gvi2avi({"-o", out.Folder(), "clip.gvi"});
    EXPECT_EQ(r.err.find('\r'), std::string::npos) << "no progress into a file";

    if (std::system("command -v script >/dev/null 2>&1") != 0) GTEST_SKIP() << "no script(1)";
    auto onTerminal = [&](const std::string& args) {
        std::string cmd = "cd " + Quote(dir.Folder()) + " && script -qec " +
                          Quote(Quote(GVI2AVI_PATH) + " " + args) + " /dev/null >" +
                          Quote(dir / ".tty") + " 2>&1 </dev/null";
        std::system(cmd.c_str());
        std::string text = ReadText(dir / ".tty");
        std::filesystem::remove(dir / ".tty");
        return text;
    };
    std::string shown = onTerminal("-o " + Quote(out.Folder()) + " clip.gvi");
    EXPECT_NE(shown.find("[1/1] clip.gvi"), std::string::npos) << shown;
    EXPECT_NE(shown.find("%"), std::string::npos) << shown;
    std::string quiet = onTerminal("-q -o " + Quote(out.Folder()) + " clip.gvi");
    EXPECT_EQ(quiet.find("[1/1]"), std::string::npos) << quiet;
    EXPECT_TRUE(std::filesystem::exists(out / "[1]clip.AVI"));

    // A long name is shortened between its characters, never inside one.
    std::string head, tail;
    for (int i = 0; i < 18; ++i) head += "\u65e5";
    for (int i = 0; i < 15; ++i) tail += "\u00e9";
    const std::string name = head + "\u65e5\u65e5" + std::string(15, 'x') + tail + ".gvi";
    std::filesystem::copy_file(dir / "clip.gvi", dir / name);
    shown = onTerminal("-o " + Quote(out.Folder()) + " " + Quote(name));
    EXPECT_NE(shown.find("[1/1] " + head + "..." + tail + ".gvi  "), std::string::npos) << shown;
}

// Another program still writing the source (a copy or a download still arriving): grown, cut
// short or written in place, the file fails and leaves no output.
TEST_F(CliTest, ASourceThatChangesWhileItConvertsFailsAndLeavesNothing) {
    const std::string source = dir / "x.gvi";
    const timespec longAgo[2] = {{0, UTIME_OMIT}, {1000000000, 0}};  // any write moves it
    for (int how : {O_APPEND, O_TRUNC, 0}) {
        WriteSparseGvi(source, off_t(1) << 30);
        ASSERT_EQ(utimensat(AT_FDCWD, source.c_str(), longAgo, 0), 0);
        pid_t pid = Start({"-o", out.Folder(), source}, dir / ".err");
        ASSERT_GT(pid, 0);
        bool running = !WaitForTemporaryFile(out).empty();
        int fd = open(source.c_str(), O_WRONLY | how);
        EXPECT_EQ(write(fd, "more", 4), 4);
        close(fd);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(running) << "no conversion under way";
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << how << ": " << status;
        EXPECT_EQ(ReadText(dir / ".err"), "gvi2avi: \"" + source + "\" changed while it was being "
                                          "converted (is it still being copied or downloaded?)\n");
        EXPECT_TRUE(Names(out).empty()) << how;
    }
}

TEST_F(CliTest, AConvertedFileWhoseTemporaryFileVanishedIsNotSaidToBeKept) {
    WriteSparseGvi(dir / "big.gvi", off_t(256) << 20);
    pid_t pid = Start({"-o", out.Folder(), dir / "big.gvi"}, dir / ".err");
    ASSERT_GT(pid, 0);
    std::string temp = WaitForTemporaryFile(out);
    kill(pid, SIGSTOP);
    bool removed = !temp.empty() && std::filesystem::remove(temp);
    kill(pid, SIGCONT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(removed) << "the conversion ended before its temporary file could be removed";
    EXPECT_EQ(WEXITSTATUS(status), 1);
    std::string err = ReadText(dir / ".err");
    EXPECT_EQ(err.rfind("gvi2avi: \"" + dir / "big.gvi" + "\" was converted but could not be named ", 0), 0u) << err;
    EXPECT_NE(err.find("is gone."), std::string::npos) << err;
    EXPECT_EQ(err.find("kept"), std::string::npos) << err;
}

}  // namespace

namespace {

// Every file under `root`, as paths relative to it, sorted.
std::vector<std::string> Tree(const std::string& root) {
    std::vector<std::string> names;
    for (auto& e : std::filesystem::recursive_directory_iterator(root))
        if (!e.is_directory()) names.push_back(std::filesystem::relative(e.path(), root).string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(CliTest, ArchivesConvertAsMirroredTreesKeepTheirDatesAndResumeAfterAStop) {
    const std::string old = dir / "OLD";
    std::filesystem::create_directories(old + "/2006/May");
    std::filesystem::create_directories(old + "/b");
    WriteBytes(old + "/2006/May/a.gvi", MakeGvi(300, 292));
    WriteBytes(old + "/2006/B.GVI", MakeGvi(200, 192));
    WriteSparseGvi(old + "/a-big.gvi", off_t(64) << 20);
    WriteBytes(old + "/b/short.gvi", MakeGvi(1000, 1992));  // 1,000 bytes of 2,000
    WriteBytes(old + "/b/bad.gvi", Bytes(100, 0));
    WriteBytes(old + "/b/notes.txt", {1});
    std::filesystem::create_directory_symlink("..", old + "/b/loop");
    const auto recorded = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 365 * 19);
    std::filesystem::last_write_time(old + "/2006/May/a.gvi", recorded);

    RunResult r = Gvi2avi({"OLD", "2006"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("\"OLD\" is a folder; use -r"), std::string::npos) << r.err;

    r = Gvi2avi({"-rn", "-o", out.Folder(), "OLD"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "OLD/2006/B.GVI -> " + out / "2006/B.AVI\n" +
                     "OLD/2006/May/a.gvi -> " + out / "2006/May/a.AVI\n" +
                     "OLD/a-big.gvi -> " + out / "a-big.AVI\n" +
                     "OLD/b/bad.gvi -> " + out / "b/bad.AVI\n" +
                     "OLD/b/short.gvi -> " + out / "b/short.AVI\n");
    EXPECT_TRUE(Names(out).empty()) << "a dry run makes nothing";

    // Stopped in the middle of a-big.gvi: what is done stays, the rest follows with -u.
    pid_t pid = Start({"-r", "-o", out.Folder(), old}, dir / ".err");
    ASSERT_GT(pid, 0);
    std::string temp = WaitForTemporaryFile(out);
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_FALSE(temp.empty()) << "no conversion under way";
    EXPECT_EQ(Tree(out.Folder()), (std::vector<std::string>{"2006/B.AVI", "2006/May/a.AVI"}));
    EXPECT_EQ(std::filesystem::last_write_time(out / "2006/May/a.AVI"), recorded);

    r = Gvi2avi({"-r", "-u", "-o", out.Folder(), "OLD"});
    EXPECT_EQ(r.code, 1) << "bad.gvi fails alone";
    EXPECT_EQ(Tree(out.Folder()),
              (std::vector<std::string>{"2006/B.AVI", "2006/May/a.AVI", "a-big.AVI", "b/short.AVI"}));
    EXPECT_EQ(std::filesystem::file_size(out / "a-big.AVI"), (uint64_t(64) << 20) - 52);
    EXPECT_NE(r.err.find("gvi2avi: \"OLD/2006/B.GVI\" is already converted"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("gvi2avi: 2 converted, 2 already converted, 1 incomplete, 1 failed\n"),
              std::string::npos) << r.err;

    // Incomplete, but converted as it is: a warning and success.
    r = Gvi2avi({"OLD/b/short.gvi"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "gvi2avi: warning: \"OLD/b/short.gvi\" is 1,000 bytes shorter than its header "
                     "says (an interrupted download?); converted as it is\n");
    EXPECT_EQ(Tree(old + "/b"), (std::vector<std::string>{"bad.gvi", "notes.txt", "short.AVI", "short.gvi"}));
}

}  // namespace
