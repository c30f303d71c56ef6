// The file helpers the core stands on: no-replace rename, unique names, small text files.
#include "platform/File.h"
#include "TestFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testfiles;

namespace {

TEST(Platform, KindAndListedSize) {
    ScratchDir dir;
    WriteBytes(dir / "f", Bytes(1234, 1));
    EXPECT_EQ(platform::KindOf(dir / "f"), platform::PathKind::File);
    EXPECT_EQ(platform::KindOf(dir.Folder()), platform::PathKind::Directory);
    EXPECT_EQ(platform::KindOf(dir / "none"), platform::PathKind::None);
    EXPECT_EQ(platform::ListedSize(dir / "f"), 1234u);
    EXPECT_FALSE(platform::ListedSize(dir / "none").has_value());
}

TEST(Platform, RenameNeverReplacesAFileOrFolder) {
    ScratchDir dir;
    WriteBytes(dir / "a", {1});
    WriteBytes(dir / "b", {2});
    std::filesystem::create_directory(dir / "d");
    EXPECT_FALSE(platform::RenameNoReplace(dir / "a", dir / "b"));
    EXPECT_FALSE(platform::RenameNoReplace(dir / "a", dir / "d"));
    EXPECT_EQ(ReadBytes(dir / "b"), Bytes{2});
    EXPECT_TRUE(platform::RenameNoReplace(dir / "a", dir / "c"));
    EXPECT_FALSE(Exists(dir / "a"));
    EXPECT_EQ(ReadBytes(dir / "c"), Bytes{1});
}

TEST(Platform, UniqueFilesSkipNamesAlreadyTaken) {
    ScratchDir dir;
    std::string first;
    ASSERT_TRUE(platform::CreateUniqueFile(dir.Folder(), first));
    // Names are ~vexlar-<pid>-<n>.tmp: occupy the next two, one by a folder.
    std::string prefix = dir.Folder() + "~vexlar-" + std::to_string(getpid()) + "-";
    unsigned n = static_cast<unsigned>(std::stoul(first.substr(prefix.size())));
    WriteBytes(prefix + std::to_string(n + 1) + ".tmp", {7});
    std::filesystem::create_directory(prefix + std::to_string(n + 2) + ".tmp");
    std::string next;
    ASSERT_TRUE(platform::CreateUniqueFile(dir.Folder(), next));
    EXPECT_EQ(next, prefix + std::to_string(n + 3) + ".tmp");
    EXPECT_EQ(ReadBytes(prefix + std::to_string(n + 1) + ".tmp"), Bytes{7});

    std::string none;
    platform::OsError error = 0;
    EXPECT_FALSE(platform::CreateUniqueFile(dir / "missing/", none, &error));
    EXPECT_NE(error, 0u);

    // The fresh file is opened as it is, not truncated: on ext4 a truncation to zero makes the
    // close wait for the disk. A truncation would show as a new modification time.
    struct timespec old[2] = {{946684800, 0}, {946684800, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, first.c_str(), old, 0), 0);
    platform::File file;
    ASSERT_TRUE(file.Create(first));
    EXPECT_TRUE(file.Close());
    struct stat st {};
    ASSERT_EQ(stat(first.c_str(), &st), 0);
    EXPECT_EQ(st.st_mtime, 946684800);
}

TEST(Platform, TextFilesAreCrLfLinesAndOnlyTheFirstLineIsRead) {
    ScratchDir dir;
    ASSERT_TRUE(platform::WriteTextFile(dir / "set.txt", {"C:\\"}));
    EXPECT_EQ(ReadBytes(dir / "set.txt"), Bytes({'C', ':', '\\', '\r', '\n'}));

    std::string line;
    ASSERT_TRUE(platform::ReadFirstLine(dir / "set.txt", line));
    EXPECT_EQ(line, "C:\\");
    WriteBytes(dir / "two.txt", {'D', ':', '\\', 'x', '\n', 'E', '\r', '\n'});
    ASSERT_TRUE(platform::ReadFirstLine(dir / "two.txt", line));
    EXPECT_EQ(line, "D:\\x");
    WriteBytes(dir / "bare.txt", {'a', 'b'});
    ASSERT_TRUE(platform::ReadFirstLine(dir / "bare.txt", line));
    EXPECT_EQ(line, "ab");
    WriteBytes(dir / "empty.txt", {});
    EXPECT_FALSE(platform::ReadFirstLine(dir / "empty.txt", line));
    EXPECT_FALSE(platform::ReadFirstLine(dir / "none.txt", line));

    platform::OsError error = 0;
    EXPECT_FALSE(platform::WriteTextFile(dir / "no/such.txt", {"x"}, &error));
    EXPECT_NE(error, 0u);
}

TEST(Platform, ProgramFolderEndsInASeparator) {
    std::string folder = platform::ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(platform::DirectoryExists(folder));
}

}  // namespace
