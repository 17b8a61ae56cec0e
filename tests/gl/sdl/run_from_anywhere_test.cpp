// The programs started from folders other than the repository: the build's own copy of the
// pictures, the message when there are none, and an installed tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/image_compare.h"
#include "support/test_support.h"

namespace {

const std::string Capture = std::string(QUORVANE_BINARY_DIR) + "/quorvane-capture";

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Frame 5 of a run of quorvane-capture started in `directory`; the run's exit code is checked.
RgbPicture FifthFrame(const std::string& program, const std::string& directory) {
    TempDir out;
    std::string output;
    EXPECT_EQ(RunProgram({program, "--frames", "5", "--shots", "5", "--out", out.Path()}, directory, &output),
              0)
        << output;
    EXPECT_FALSE(Contains(output, "cannot read")) << output;
    RgbPicture picture;
    std::string error;
    EXPECT_TRUE(ReadPng(out.File("frame-5.png"), picture, error)) << error;
    return picture;
}

TEST(RunFromAnywhere, TheBuildsProgramsUseTheCopyBesideThem) {
    TempDir elsewhere;
    RgbPicture fromRepository = FifthFrame(Capture, QUORVANE_SOURCE_DIR);
    RgbPicture fromElsewhere = FifthFrame(Capture, elsewhere.Path());
    EXPECT_EQ(fromElsewhere.pixels, fromRepository.pixels);
}

TEST(RunFromAnywhere, WithoutPicturesStandardErrorNamesEveryPlaceLookedAt) {
    // A copy of the program with no pictures anywhere near it.
    TempDir alone;
    std::string program = alone.File("quorvane-capture");
    std::filesystem::copy_file(Capture, program);
    std::string output;
    EXPECT_EQ(RunProgram({program, "--frames", "5"}, alone.Path(), &output), 0) << output;
    for (const char* name : {"t1.bmp", "star.bmp"}) {
        // The working directory is the program's folder here: named once.
        EXPECT_TRUE(Contains(output, std::string("cannot read ") + name + ". Looked for it at:\n  " +
                                         alone.File("data/") + name + " (no such folder)\n  /"))
            << output;
        EXPECT_TRUE(Contains(output, std::string("/share/quorvane/data/") + name + " (no such folder)\n"))
            << output;
    }
    // The box of a set-up without pictures, as before.
    EXPECT_TRUE(Contains(output, "Initialize OpenGL failed")) << output;
}

TEST(Install, PutsEverythingUnderThePrefixAndTheProgramsRunFromAnyFolder) {
    TempDir prefix;
    std::string output;
    ASSERT_EQ(
        RunProgram({QUORVANE_CMAKE_COMMAND, "--install", QUORVANE_BINARY_DIR, "--prefix", prefix.Path()},
                   QUORVANE_BINARY_DIR, &output),
        0)
        << output;
    for (const char* file : {"bin/quorvane", "bin/quorvane-capture", "bin/quorvane-bmp",
                             "share/quorvane/data/t1.bmp", "share/quorvane/data/star.bmp",
                             "share/doc/quorvane/README.md", "share/applications/quorvane.desktop"})
        EXPECT_TRUE(std::filesystem::is_regular_file(prefix.File(file))) << file;
    RgbPicture icon;
    std::string error;
    ASSERT_TRUE(ReadPng(prefix.File("share/icons/hicolor/128x128/apps/quorvane.png"), icon, error)) << error;
    EXPECT_EQ(icon.width, 128);
    EXPECT_EQ(icon.height, 128);

    // The installed capture tool, started from the root folder, finds the installed pictures.
    RgbPicture installed = FifthFrame(prefix.File("bin/quorvane-capture"), "/");
    EXPECT_EQ(installed.pixels, FifthFrame(Capture, QUORVANE_SOURCE_DIR).pixels);
    EXPECT_EQ(RunProgram({prefix.File("bin/quorvane"), "--version"}, "/", &output), 0) << output;
}

} // namespace
