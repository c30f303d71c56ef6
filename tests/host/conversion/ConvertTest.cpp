// The conversion routine on real files: layout, length field, every failure, real AVI files.
#include "conversion/Convert.h"
#include "conversion/FileJob.h"
#include "TestFiles.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace testfiles;

namespace {

::testing::AssertionResult CausedBy(const TConvertCause& cause, TConvertFailedFile file,
                                    platform::OsError error) {
    if (cause.File == file && cause.Error == error) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "cause: file " << cause.File << ", error " << cause.Error
                                         << "; expected file " << file << ", error " << error;
}

class ConvertTest : public ::testing::Test {
protected:
    ScratchDir dir;
    std::string src = dir / "in.gvi";
    std::string dst = dir / "out.avi";
};

TEST_F(ConvertTest, HundredByteSourceGivesTheDocumentedOutputByteForByte) {
    Bytes gvi = MakeGvi(100, 92);
    WriteBytes(src, gvi);
    ASSERT_EQ(ConvertGviToAvi(src, dst), crOk);

    Bytes out = ReadBytes(dst);
    ASSERT_EQ(out.size(), 48u);
    Bytes expected(gvi.begin(), gvi.begin() + 12);
    PutLE32(expected, 4, 40);
    expected.insert(expected.end(), gvi.begin() + 64, gvi.end());
    EXPECT_EQ(out, expected);
    EXPECT_EQ(ReadBytes(src), gvi) << "the source is never modified";
}

TEST_F(ConvertTest, SixtyFourByteSourceGivesTheBareHeader) {
    WriteBytes(src, MakeGvi(64, 1000));
    ASSERT_EQ(ConvertGviToAvi(src, dst), crOk);
    Bytes out = ReadBytes(dst);
    ASSERT_EQ(out.size(), 12u);
    EXPECT_EQ(GetLE32(out, 4), 948u);
}

TEST_F(ConvertTest, LengthFieldBelowTheBlockSizeWrapsAround) {
    WriteBytes(src, MakeGvi(80, 10));
    ASSERT_EQ(ConvertGviToAvi(src, dst), crOk);
    EXPECT_EQ(GetLE32(ReadBytes(dst), 4), 4294967254u);  // 10 - 52 mod 2^32
}

TEST_F(ConvertTest, FirstTwelveBytesAreCopiedWhateverTheyHold) {
    Bytes gvi = MakeGvi(70, 0x11223344);
    for (int i : {0, 1, 2, 3, 8, 9, 10, 11}) gvi[i] = static_cast<uint8_t>(0xE0 + i);
    WriteBytes(src, gvi);
    ASSERT_EQ(ConvertGviToAvi(src, dst), crOk);
    Bytes out = ReadBytes(dst);
    ASSERT_EQ(out.size(), 18u);
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 4, gvi.begin()));
    EXPECT_TRUE(std::equal(out.begin() + 8, out.begin() + 12, gvi.begin() + 8));
    EXPECT_EQ(GetLE32(out, 4), 0x11223344u - 52);
}

TEST_F(ConvertTest, AnyWrongSignatureByteIsCorruptedAndLeavesAnEmptyOutput) {
    for (int at = 20; at < 24; ++at) {
        Bytes gvi = MakeGvi(200, 192);
        gvi[at] = static_cast<uint8_t>(gvi[at] ^ 0x20);  // the same letter in the other case
        WriteBytes(src, gvi);
        WriteBytes(dst, Bytes(500, 0xEE));
        TConvertCause cause;
        EXPECT_EQ(ConvertGviToAvi(src, dst, {}, &cause), crCorrupted) << "offset " << at;
        EXPECT_TRUE(CausedBy(cause, cfSource, 0)) << "the source, though it read fine";
        EXPECT_TRUE(Exists(dst));
        EXPECT_TRUE(ReadBytes(dst).empty()) << "offset " << at;
    }
}

TEST_F(ConvertTest, ExistingLongerOutputIsReplacedNotAppendedTo) {
    WriteBytes(dst, Bytes(5000, 0x55));
    WriteBytes(src, MakeGvi(100, 92));
    ASSERT_EQ(ConvertGviToAvi(src, dst), crOk);
    EXPECT_EQ(ReadBytes(dst).size(), 48u);
}

// The cause tells which of the two files could not be opened, and why.
TEST_F(ConvertTest, MissingSourceOrFolderIsNotAvailableAndCreatesNothing) {
    TConvertCause cause;
    EXPECT_EQ(ConvertGviToAvi(src, dst, {}, &cause), crNotAvailable);
    EXPECT_TRUE(CausedBy(cause, cfSource, ENOENT));
    EXPECT_FALSE(Exists(dst));

    WriteBytes(src, MakeGvi(100, 92));
    std::string nowhere = dir / "missing/out.avi";
    EXPECT_EQ(ConvertGviToAvi(src, nowhere, {}, &cause), crNotAvailable);
    EXPECT_TRUE(CausedBy(cause, cfOutput, ENOENT));
    EXPECT_FALSE(Exists(dir / "missing"));

    // A folder is not a source, and cannot be an output.
    EXPECT_EQ(ConvertGviToAvi(dir.Folder(), dst, {}, &cause), crNotAvailable);
    EXPECT_TRUE(CausedBy(cause, cfSource, EISDIR));
    EXPECT_FALSE(Exists(dst));
    std::filesystem::create_directory(dir / "sub.avi");
    EXPECT_EQ(ConvertGviToAvi(src, dir / "sub.avi", {}, &cause), crNotAvailable);
    EXPECT_TRUE(CausedBy(cause, cfOutput, EISDIR));

    EXPECT_EQ(ConvertGviToAvi(src, dst, {}, &cause), crOk);
    EXPECT_TRUE(CausedBy(cause, cfNone, 0));
}

TEST_F(ConvertTest, SourceHeldByAnotherOpenerIsNotAvailable) {
    WriteBytes(src, MakeGvi(100, 92));
    int fd = open(src.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(ConvertGviToAvi(src, dst), crNotAvailable);
    EXPECT_FALSE(Exists(dst));
    close(fd);
    EXPECT_EQ(ConvertGviToAvi(src, dst), crOk) << "the lock goes with its holder";
}

TEST_F(ConvertTest, OutputHeldByAnotherOpenerIsNotAvailableAndKeepsItsContent) {
    WriteBytes(src, MakeGvi(100, 92));
    WriteBytes(dst, Bytes(300, 0x42));
    int fd = open(dst.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(ConvertGviToAvi(src, dst), crNotAvailable);
    EXPECT_EQ(ReadBytes(dst), Bytes(300, 0x42));
    close(fd);
}

TEST_F(ConvertTest, ShortSourcesAreCorrupted) {
    // Shorter than the signature: an empty output.
    for (size_t size : {0u, 10u, 23u}) {
        Bytes gvi = MakeGvi(24, 0);
        gvi.resize(size);
        WriteBytes(src, gvi);
        EXPECT_EQ(ConvertGviToAvi(src, dst), crCorrupted) << size;
        EXPECT_TRUE(ReadBytes(dst).empty()) << size;
    }
    // Signature present but no room for the whole block: only the header was written.
    for (size_t size : {24u, 40u, 63u}) {
        Bytes gvi = MakeGvi(size, 50);
        WriteBytes(src, gvi);
        EXPECT_EQ(ConvertGviToAvi(src, dst), crCorrupted) << size;
        EXPECT_EQ(ReadBytes(dst), Bytes(gvi.begin(), gvi.begin() + 12)) << size;
    }
}

TEST_F(ConvertTest, LargeSourceStreamsInBlocksAndReportsProgress) {
    const size_t size = 64 + 3 * kConvertBlockSize + 1234;
    Bytes gvi = MakeGvi(size, static_cast<uint32_t>(size - 8));
    WriteBytes(src, gvi);
    std::vector<uint64_t> seen;
    uint64_t reportedSource = 0;
    auto progress = [&](uint64_t out, uint64_t in) {
        seen.push_back(out);
        reportedSource = in;
    };
    ASSERT_EQ(ConvertGviToAvi(src, dst, progress), crOk);
    Bytes out = ReadBytes(dst);
    ASSERT_EQ(out.size(), size - 52);
    EXPECT_EQ(GetLE32(out, 4), size - 8 - 52);
    EXPECT_TRUE(std::equal(out.begin() + 12, out.end(), gvi.begin() + 64));
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0], 12 + kConvertBlockSize);
    EXPECT_EQ(seen.back(), size - 52);
    EXPECT_EQ(reportedSource, size);
}

TEST_F(ConvertTest, ThrowingProgressEndsAsCorruptedWithFilesClosed) {
    WriteBytes(src, MakeGvi(64 + 2 * kConvertBlockSize, 0));
    TFileJob job;
    ASSERT_TRUE(job.Begin(src, dir.Folder(), platform::kNativeNameSeparators));
    auto progress = [](uint64_t, uint64_t) { throw std::bad_alloc(); };
    TConvertCause cause;
    EXPECT_EQ(ConvertGviToAvi(src, dst, progress, &cause), crCorrupted);
    // Said as what it is, not as a corrupted source.
    EXPECT_EQ(job.FailureText(crCorrupted, cause), "Could not convert \"in.gvi\": Cannot allocate memory.");
    // Both files were closed (and unlocked): a second conversion can open them again.
    EXPECT_EQ(ConvertGviToAvi(src, dst), crOk);
    job.Finish(crCorrupted);
}

TEST_F(ConvertTest, FullDiskIsCorruptedWithAPartialOutput) {
    if (geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
    std::string mnt = dir / "small";
    std::filesystem::create_directory(mnt);
    std::string cmd = "mount -t tmpfs -o size=64k tmpfs '" + mnt + "' 2>/dev/null";
    if (std::system(cmd.c_str()) != 0) GTEST_SKIP() << "mount is not permitted here";
    struct Unmount {
        std::string at;
        ~Unmount() { umount2(at.c_str(), MNT_DETACH); }
    } unmount{mnt};

    WriteBytes(src, MakeGvi(512 * 1024, 0));
    TFileJob job;
    ASSERT_TRUE(job.Begin(src, mnt + "/", platform::kNativeNameSeparators));
    TConvertCause cause;
    EXPECT_EQ(ConvertGviToAvi(src, job.TempPath(), {}, &cause), crCorrupted);
    EXPECT_TRUE(Exists(job.TempPath()));
    EXPECT_LT(ReadBytes(job.TempPath()).size(), 512u * 1024 - 52);
    // The output is to blame, not the good source.
    EXPECT_TRUE(CausedBy(cause, cfOutput, ENOSPC));
    EXPECT_EQ(job.FailureText(crCorrupted, cause),
              "Could not write \"in.AVI\" in \"" + mnt + "/\": No space left on device.");
    EXPECT_EQ(job.Finish(crCorrupted), joDiscarded);
}

TEST_F(ConvertTest, RealAviFilesComeBackByteForByte) {
    // Two sizes: one inside a single block, one spanning many.
    for (const char* size : {"64x48", "320x240"}) {
        std::string avi = dir / "clip.avi";
        if (!MakeAviWithFfmpeg(avi, size, 2)) GTEST_SKIP() << "ffmpeg is not installed";
        Bytes original = ReadBytes(avi);
        WriteBytes(src, WrapAvi(original));
        ASSERT_EQ(ConvertGviToAvi(src, dst), crOk) << size;
        EXPECT_EQ(ReadBytes(dst), original) << size;
    }
}

}  // namespace
