// The Windows build's quorvane.exe under Wine, in a real window on Xvfb, driven by xdotool: its
// window, its two ways to end, and the F1 switch with Windows' own display-mode change and message
// boxes.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "e2e/program_fixture.h"
#include "wine/wine_program.h"

namespace {

const std::string Question =
    "The requested full screen mode is not supported by\nyour video card. Do you want to use windowed mode?";
const std::string Abort = "Unable to continue fullscreen, program aborted";

class WindowsProgramTest : public ProgramTest {
  protected:
    WindowsProgramTest() { command = UnderWine("quorvane.exe"); }
    void SetUp() override { EndWineSession(); }
    void TearDown() override {
        ProgramTest::TearDown();
        EndWineSession();
    }

    // A viewable top-level window with this name other than `other`, or 0 after a while.
    unsigned long WaitForWindowNamed(const std::string& name, unsigned long other = 0) {
        for (int i = 0; i < 1500; ++i) {
            unsigned long window = server->FindWindow(name);
            if (window && window != other) return window;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return 0;
    }

    // F1, held until the old window has gone (the loop sees a key only between frames). Under
    // Wine the teardown takes a second or two, longer than the keyboard waits before it repeats
    // a held key, and every repeat would switch again: the key does not repeat here.
    ::testing::AssertionResult PressF1() {
        unsigned long old = run->Window();
        if (!server->KeyRepeat(false)) return ::testing::AssertionFailure() << "no X server";
        if (!run->KeyDown("F1")) return ::testing::AssertionFailure() << "xdotool failed";
        for (int i = 0; i < 1500 && server->WindowExists(old) && server->FindWindow("Quorvane") == old; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!run->KeyUp("F1")) return ::testing::AssertionFailure() << "xdotool failed";
        return ::testing::AssertionSuccess();
    }

    // The box Wine built for the program, found by its caption (the name of its X window).
    unsigned long WaitForBox(const std::string& text, unsigned long other = 0) {
        unsigned long box = WaitForWindowNamed("Initialization Error", other);
        for (int i = 0; i < 500 && box; ++i) {
            std::vector<std::string> texts = MessageBoxTexts(run->Output());
            if (!texts.empty() && texts.back() == text) return box;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return 0;
    }

    // A key for a box, sent to its window.
    bool Answer(unsigned long box, const std::string& key) {
        return server->Xdotool({"key", "--window", std::to_string(box), key});
    }
};

TEST_F(WindowsProgramTest, OpensTitledQuorvaneWithA640x480ClientArea) {
    ASSERT_TRUE(Launch(1024, 768));
    // The X window is the client area; Wine draws Windows' frame around it, so with the window at
    // the screen's corner the client area lies a border in and a title bar down.
    WindowPlace place;
    ASSERT_TRUE(server->Place(run->Window(), place));
    EXPECT_EQ(place.width, 640);
    EXPECT_EQ(place.height, 480);
    EXPECT_GT(place.x, 0);
    EXPECT_GT(place.y, place.x);
    EXPECT_LT(place.y, 60);
    EXPECT_TRUE(run->WaitFrames(5));
}

TEST_F(WindowsProgramTest, EscapeEndsItWithExitCodeZero) {
    ASSERT_TRUE(Launch(1024, 768));
    unsigned long window = run->Window();
    ASSERT_TRUE(QuitWithEscape());
    EXPECT_FALSE(server->WindowExists(window));
}

TEST_F(WindowsProgramTest, ClosingTheWindowEndsItWithExitCodeZero) {
    ASSERT_TRUE(Launch(1024, 768));
    unsigned long window = run->Window();
    // Wine turns the close request into Windows' own SC_CLOSE and WM_CLOSE.
    ASSERT_TRUE(QuitWithCloseRequest());
    EXPECT_FALSE(server->WindowExists(window));
}

TEST_F(WindowsProgramTest, F1WithoutA640x480ModeAsksAndYesKeepsAWindow) {
    ASSERT_TRUE(Launch(1024, 768));
    ASSERT_TRUE(PressF1());
    unsigned long box = WaitForBox(Question);
    ASSERT_NE(box, 0u) << "no question box; output:\n" << run->Output();
    ASSERT_TRUE(Answer(box, "y"));
    ASSERT_TRUE(run->WaitForNewWindow()) << "no window after Yes";
    WindowPlace place;
    ASSERT_TRUE(server->Place(run->Window(), place));
    EXPECT_EQ(place.width, 640);
    EXPECT_GT(place.x, 0) << "a framed window, not a fullscreen one";
    EXPECT_FALSE(server->WindowExists(box));
    // TearDown ends it with Escape and checks for 0.
}

TEST_F(WindowsProgramTest, F1WithoutA640x480ModeAnsweredNoAbortsAfterOneTeardown) {
    ASSERT_TRUE(Launch(1024, 768));
    unsigned long window = run->Window();
    ASSERT_TRUE(PressF1());
    unsigned long question = WaitForBox(Question);
    ASSERT_NE(question, 0u) << "no question box; output:\n" << run->Output();
    // The old window was torn down before the question.
    EXPECT_FALSE(server->WindowExists(window));
    ASSERT_TRUE(Answer(question, "n"));
    unsigned long abort = WaitForBox(Abort, question);
    ASSERT_NE(abort, 0u) << "no abort box; output:\n" << run->Output();
    ASSERT_TRUE(Answer(abort, "Return"));
    EXPECT_TRUE(EndsWithZero("the abort box"));
    // A second teardown would have had a class to unregister and nothing else; a failing step of
    // it would have shown a "Shutdown error" box. Only the two boxes came.
    EXPECT_EQ(MessageBoxTexts(run->Output()), (std::vector<std::string>{Question, Abort}));
}

TEST_F(WindowsProgramTest, F1On640x480GoesFullscreenAndBack) {
    // A screen whose only mode is 640 x 480: ChangeDisplaySettingsA grants the request.
    ASSERT_TRUE(Launch(640, 480));
    for (bool fullscreen : {true, false}) {
        std::string mode = fullscreen ? "fullscreen" : "windowed";
        ASSERT_TRUE(PressF1());
        ASSERT_TRUE(run->WaitForNewWindow()) << "no " << mode << " window; output:\n" << run->Output();
        ASSERT_TRUE(run->WaitFrames(3)) << mode;
        WindowPlace place;
        ASSERT_TRUE(server->Place(run->Window(), place));
        // Fullscreen: a popup without a frame over the whole screen, and no cursor over it.
        // Windowed: framed, as tall as the screen lets a framed window be (the system shortens a
        // window taller than the screen).
        EXPECT_EQ(place.width, 640) << mode;
        EXPECT_EQ(place.height == 480, fullscreen) << mode << " height " << place.height;
        EXPECT_EQ(place.x == 0 && place.y == 0, fullscreen) << mode << " at " << place.x << "," << place.y;
        ASSERT_TRUE(run->MoveMouse(fullscreen ? 330 : 320, 240));
        EXPECT_EQ(server->CursorVisible(), !fullscreen) << mode;
    }
    EXPECT_TRUE(MessageBoxTexts(run->Output()).empty());
}

TEST_F(WindowsProgramTest, StartsFromAFolderNamedInCyrillicAndFindsItsPicturesBesideIt) {
    // Under a Russian locale Wine's ANSI code page is 1251, in which the folder's name can be
    // written: the ANSI calls see the real name. (The locale is made here; the test machine
    // has C.UTF-8 only.)
    TempDir place;
    ASSERT_EQ(RunProgram({"/usr/bin/localedef", "-i", "ru_RU", "-f", "UTF-8", place.File("ru_RU.UTF-8")},
                         place.Path()),
              0);
    const std::string folder = place.File("\xD0\x9A\xD0\xB2\xD0\xB0\xD1\x80\xD1\x86"); // Kvarts
    std::filesystem::create_directories(folder + "/data");
    std::filesystem::copy_file(std::string(QUORVANE_WINDOWS_BUILD) + "/quorvane.exe",
                               folder + "/quorvane.exe");
    for (const char* name : {"t1.bmp", "star.bmp"})
        std::filesystem::copy_file(std::string(QUORVANE_SOURCE_DIR) + "/data/" + name,
                                   folder + "/data/" + name);
    command = UnderWine(folder + "/quorvane.exe");
    command.env.insert(command.env.end(), {{"LOCPATH", place.Path()}, {"LANG", "ru_RU.UTF-8"}});
    // Started from elsewhere: the pictures are found beside the program.
    ASSERT_TRUE(Launch(1024, 768, place.Path()));
    EXPECT_TRUE(run->WaitFrames(5));
    EXPECT_EQ(run->Output().find("cannot read"), std::string::npos) << run->Output();
    EXPECT_TRUE(MessageBoxTexts(run->Output()).empty()) << run->Output();
}

} // namespace
