// Where the pictures are looked for: one folder, the first of the candidates that exists, and a
// message that names every place looked at when a picture is not there.
#include <gtest/gtest.h>

#include <filesystem>

#include "assets/data_folder.h"
#include "support/test_support.h"

namespace {

// Paths with '/' only, so that one expectation serves both builds' separators.
std::string Slashed(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

bool EndsWith(const std::string& text, const std::string& ending) {
    return text.size() >= ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

TEST(DataFolder, TheFirstCandidateThatIsAFolderIsChosen) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("second"));
    std::filesystem::create_directory(dir.File("third"));
    WriteFile(dir.File("file"), {1});
    DataFolder folder =
        ChooseDataFolder({dir.File("missing"), dir.File("file"), dir.File("second"), dir.File("third")});
    EXPECT_EQ(folder.path, dir.File("second"));
    EXPECT_EQ(folder.skipped, (std::vector<std::string>{dir.File("missing"), dir.File("file")}));
    EXPECT_EQ(Slashed(DataFilePath(folder, "t1.bmp")), Slashed(dir.File("second/t1.bmp")));
    EXPECT_EQ(Slashed(MissingDataFileMessage(folder, "t1.bmp")),
              Slashed("cannot read t1.bmp. Looked for it at:\n  " + dir.File("missing/t1.bmp") +
                      " (no such folder)\n  " + dir.File("file/t1.bmp") + " (no such folder)\n  " +
                      dir.File("second/t1.bmp") + "\n"));
    EXPECT_EQ(ChooseDataFolder({dir.File("missing")}).path, "");
}

TEST(DataFolder, WorkingDirectoryFirstThenBesideTheProgramThenInstalled) {
    std::vector<std::string> candidates = DataFolderCandidates();
    ASSERT_EQ(candidates.size(), 4u);
    EXPECT_EQ(candidates[0], "data");
    // This test program lives in the build folder's tests/.
    // (Under Wine the build folder is seen through a drive letter: Z:\\work\\...)
    const std::string tests = std::string(QUORVANE_BINARY_DIR) + "/tests/";
    EXPECT_TRUE(EndsWith(Slashed(candidates[1]), tests + "data")) << candidates[1];
    EXPECT_NE(Slashed(candidates[2]).find(tests), std::string::npos) << candidates[2];
    EXPECT_TRUE(EndsWith(Slashed(candidates[2]), "/share/quorvane/data")) << candidates[2];
    EXPECT_TRUE(std::filesystem::path(candidates[3]).has_root_directory()) << candidates[3];
    EXPECT_TRUE(EndsWith(Slashed(candidates[3]), "/share/quorvane/data")) << candidates[3];

    // The working directory's folder is named in full.
    TempDir dir;
    ScopedChdir inside(dir.Path());
    std::string message = MissingDataFileMessage(ChooseDataFolder({"data"}), "star.bmp");
    EXPECT_NE(Slashed(message).find(Slashed(std::filesystem::current_path().string()) +
                                    "/data/star.bmp (no such folder)"),
              std::string::npos)
        << message;
}

} // namespace
