// Output names: ".GVI" dropped once, ".AVI" added, "[N]" in front while the name is taken.
#include "conversion/OutputName.h"
#include "platform/File.h"
#include "TestFiles.h"

using namespace testfiles;

namespace {

TEST(OutputBaseName, DropsTheFirstGviInAnyCaseWhereverItStands) {
    EXPECT_EQ(OutputBaseName("C:\\v\\Movie.GvI"), "Movie.AVI");
    EXPECT_EQ(OutputBaseName("a.gvi.gvi"), "a.gvi.AVI");
    EXPECT_EQ(OutputBaseName("my.gvideo.gvi"), "mydeo.gvi.AVI");
    EXPECT_EQ(OutputBaseName("clip.mp4"), "clip.mp4.AVI");
    EXPECT_EQ(OutputBaseName("D:clip.gvi"), "clip.AVI");
    EXPECT_EQ(OutputBaseName("\\\\srv\\share\\x.GVI"), "x.AVI");
}

TEST(OutputBaseName, SeparatorsFollowTheCallersPathStyle) {
    // The program's own rule splits at "\" and ":" only.
    EXPECT_EQ(FileNamePart("/home/u/a\\b.gvi"), "b.gvi");
    EXPECT_EQ(FileNamePart("/home/u/clip.gvi"), "/home/u/clip.gvi");
    // Native paths split at the system's separators.
    EXPECT_EQ(OutputBaseName("/home/u/clip.gvi", platform::kNativeNameSeparators), "clip.AVI");
    EXPECT_EQ(FileNamePart("noseparator", platform::kNativeNameSeparators), "noseparator");
}

TEST(MakeOutputName, TakenNamesGetTheNextFreeCounter) {
    ScratchDir dir;
    const std::string folder = dir.Folder();
    EXPECT_EQ(MakeOutputName("C:\\a\\clip.gvi", folder), folder + "clip.AVI");

    WriteBytes(folder + "clip.AVI", {1});
    EXPECT_EQ(MakeOutputName("C:\\b\\clip.gvi", folder), folder + "[1]clip.AVI");
    WriteBytes(folder + "[1]clip.AVI", {1});
    EXPECT_EQ(MakeOutputName("clip.GVI", folder), folder + "[2]clip.AVI");
}

TEST(MakeOutputName, ADirectoryTakesTheNameToo) {
    ScratchDir dir;
    std::filesystem::create_directory(dir / "clip.AVI");
    EXPECT_EQ(MakeOutputName("clip.gvi", dir.Folder()), dir.Folder() + "[1]clip.AVI");
}

TEST(MakeOutputName, NamesDifferingOnlyInCaseAreDifferentOnThisSystem) {
    ScratchDir dir;
    WriteBytes(dir / "clip.avi", {1});
    EXPECT_EQ(MakeOutputName("clip.gvi", dir.Folder()), dir.Folder() + "clip.AVI");
}

}  // namespace
