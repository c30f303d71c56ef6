// A file of a batch on disk: temporary output in the folder, final rename, clean-up.
#include "conversion/FileJob.h"
#include "conversion/Progress.h"
#include "platform/File.h"
#include "TestFiles.h"

#include <cerrno>
#include <cstring>

using namespace testfiles;

namespace {

size_t CountEntries(const ScratchDir& dir) {
    size_t n = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.Folder())) {
        (void)e;
        ++n;
    }
    return n;
}

// The job's progress as the progress window reads it: its temporary output against its source.
int JobPercent(const TFileJob& job) {
    if (job.TempPath().empty()) return 0;
    return CurrentPercent(platform::CurrentSize(job.TempPath()).value_or(0), job.SourceSize());
}

class FileJobTest : public ::testing::Test {
protected:
    ScratchDir in, out;
    std::string src = in / "clip.gvi";
    void SetUp() override { WriteBytes(src, MakeGvi(1000, 992)); }
};

TEST_F(FileJobTest, SuccessMovesTheTemporaryOutputToItsFinalName) {
    TFileJob job;
    ASSERT_TRUE(job.Begin(src, out.Folder(), platform::kNativeNameSeparators));
    EXPECT_EQ(job.FinalPath(), out / "clip.AVI");
    EXPECT_EQ(job.SourceSize(), 1000u);
    // The temporary file lives in the output folder, under a name of its own.
    ASSERT_EQ(job.TempPath().rfind(out.Folder(), 0), 0u);
    EXPECT_TRUE(Exists(job.TempPath()));
    EXPECT_FALSE(Exists(job.FinalPath()));

    ASSERT_EQ(ConvertGviToAvi(job.Source(), job.TempPath()), crOk);
    EXPECT_EQ(JobPercent(job), 94);  // 948 of 1000 bytes
    EXPECT_EQ(job.Finish(crOk), joSaved);
    EXPECT_EQ(ReadBytes(out / "clip.AVI").size(), 948u);
    EXPECT_EQ(CountEntries(out), 1u);
}

TEST_F(FileJobTest, FailureRemovesTheTemporaryOutput) {
    WriteBytes(src, Bytes(100, 0));  // no signature
    TFileJob job;
    ASSERT_TRUE(job.Begin(src, out.Folder(), platform::kNativeNameSeparators));
    TConvertCause cause;
    ASSERT_EQ(ConvertGviToAvi(job.Source(), job.TempPath(), {}, &cause), crCorrupted);
    EXPECT_EQ(job.FailureText(crCorrupted, cause), "Your GVI file \"clip.gvi\" is corrupted.");
    EXPECT_EQ(job.Finish(crCorrupted), joDiscarded);
    EXPECT_EQ(CountEntries(out), 0u);
    EXPECT_EQ(job.FailureText(crOk, {}), "");
}

TEST_F(FileJobTest, NameTakenDuringTheConversionGoesToTheNextFreeName) {
    TFileJob job;
    ASSERT_TRUE(job.Begin(src, out.Folder(), platform::kNativeNameSeparators));
    ASSERT_EQ(ConvertGviToAvi(job.Source(), job.TempPath()), crOk);
    WriteBytes(out / "clip.AVI", {9, 9, 9});  // a user's file appears meanwhile
    EXPECT_EQ(job.Finish(crOk), joSaved);
    EXPECT_EQ(job.FinalPath(), out / "[1]clip.AVI");
    EXPECT_EQ(ReadBytes(out / "clip.AVI"), Bytes({9, 9, 9}));
    EXPECT_EQ(ReadBytes(out / "[1]clip.AVI").size(), 948u);
}

TEST_F(FileJobTest, UnrenamableOutputIsReportedAndKept) {
    TFileJob job;
    ASSERT_TRUE(job.Begin(src, out.Folder(), platform::kNativeNameSeparators));
    ASSERT_EQ(ConvertGviToAvi(job.Source(), job.TempPath()), crOk);
    // The final name is taken by a folder with a name the retry cannot avoid either.
    std::filesystem::remove(job.TempPath());
    EXPECT_EQ(job.Finish(crOk), joNotRenamed);
    EXPECT_FALSE(Exists(job.FinalPath()));

    // Taken meanwhile, and the next name is one the file system cannot hold: kept, with the
    // system's reason.
    TFileJob longJob;
    ASSERT_TRUE(longJob.Begin(in / (std::string(251, 'n') + ".gvi"), out.Folder(), platform::kNativeNameSeparators));
    WriteBytes(longJob.FinalPath(), {9});
    EXPECT_EQ(longJob.Finish(crOk), joNotRenamed);
    EXPECT_EQ(longJob.RenameError(), static_cast<platform::OsError>(ENAMETOOLONG));
    EXPECT_TRUE(Exists(longJob.TempPath()));
}

TEST_F(FileJobTest, MissingOutputFolderBehavesAsAnUnwritableOutput) {
    TFileJob job;
    EXPECT_FALSE(job.Begin(src, out / "gone/", platform::kNativeNameSeparators));
    EXPECT_TRUE(job.TempPath().empty());
    TConvertCause cause;
    TConvertResult r = ConvertGviToAvi(job.Source(), job.TempPath(), {}, &cause);
    EXPECT_EQ(r, crNotAvailable);
    // The output and its folder are named, with the reason the folder gave.
    EXPECT_EQ(job.FailureText(r, cause),
              "Could not write \"clip.AVI\" in \"" + out / "gone/" + "\": " + std::strerror(ENOENT) + ".");
    // A file in place of the folder: its own reason, not that of the empty temporary path.
    TFileJob onFile;
    EXPECT_FALSE(onFile.Begin(src, src + "/", platform::kNativeNameSeparators));
    r = ConvertGviToAvi(onFile.Source(), onFile.TempPath(), {}, &cause);
    EXPECT_EQ(onFile.FailureText(r, cause),
              "Could not write \"clip.AVI\" in \"" + src + "/\": " + std::strerror(ENOTDIR) + ".");
    EXPECT_EQ(job.Finish(r), joDiscarded);
    EXPECT_EQ(JobPercent(job), 0);
}

TEST_F(FileJobTest, NotAvailableSourceLeavesNothingBehind) {
    TFileJob job;
    ASSERT_TRUE(job.Begin(in / "missing.gvi", out.Folder(), platform::kNativeNameSeparators));
    EXPECT_EQ(job.SourceSize(), 0u);
    EXPECT_EQ(JobPercent(job), 0);
    TConvertCause cause;
    TConvertResult r = ConvertGviToAvi(job.Source(), job.TempPath(), {}, &cause);
    EXPECT_EQ(r, crNotAvailable);
    EXPECT_EQ(job.FailureText(r, cause), "File \"missing.gvi\" is not available.");
    EXPECT_EQ(job.Finish(r), joDiscarded);
    EXPECT_EQ(CountEntries(out), 0u);
}

}  // namespace
