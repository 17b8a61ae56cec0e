// The program's window on a real X server (Xvfb): where it opens, how it ends, resizing, the
// fullscreen switch, its OpenGL context, and what happens when there is no display at all.
#include <gtest/gtest.h>

#include "gl/opengl.h"
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "app/main_window.h"
#include "support/scripted_platform.h"
#include "platform/leak_check.h"
#include "platform/sdl_platform.h"
#include "program_fixture.h"
#include "scene/scene_state.h"

namespace {

class MainWindowTest : public ProgramTest {};

TEST_F(MainWindowTest, OpensTitledQuorvaneWithA640x480ClientAreaAtTheOrigin) {
    // A screen larger than the window, so that the size is the window's own. (Launch found the
    // window by its title.)
    ASSERT_TRUE(Launch(1024, 768));
    WindowPlace place;
    ASSERT_TRUE(server->Place(run->Window(), place));
    EXPECT_EQ(place.x, 0);
    EXPECT_EQ(place.y, 0);
    EXPECT_EQ(place.width, 640);
    EXPECT_EQ(place.height, 480);
    EXPECT_TRUE(place.viewable);
    EXPECT_EQ(server->WindowClass(run->Window()), "Quorvane_Main_Window");
    // And the scene is running in it.
    EXPECT_TRUE(run->WaitFrames(5));
}

TEST_F(MainWindowTest, EscapeEndsItWithExitCodeZero) {
    ASSERT_TRUE(Launch());
    unsigned long window = run->Window();
    ASSERT_TRUE(run->WaitFrames(3));
    ASSERT_TRUE(QuitWithEscape());
    EXPECT_FALSE(server->WindowExists(window));
}

TEST_F(MainWindowTest, CloseRequestEndsItWithExitCodeZero) {
    ASSERT_TRUE(Launch());
    unsigned long window = run->Window();
    ASSERT_TRUE(run->WaitFrames(3));
    ASSERT_TRUE(QuitWithCloseRequest());
    EXPECT_FALSE(server->WindowExists(window));
}

TEST_F(MainWindowTest, ResizingTheWindowReachesTheProjection) {
    ASSERT_TRUE(Launch(1024, 768));
    ASSERT_TRUE(server->Xdotool({"windowsize", std::to_string(run->Window()), "800", "600"}));
    WindowPlace place;
    ASSERT_TRUE(server->Place(run->Window(), place));
    ASSERT_EQ(place.width, 800);
    ASSERT_EQ(place.height, 600);
    ASSERT_TRUE(run->WaitFrames(4));
    RgbPicture picture;
    ASSERT_TRUE(Shot("800x600", picture));
    ASSERT_EQ(picture.width, 800);
    // The scene is built around the line of sight: the backdrop square, the fountain and the
    // boxes are centred on it, so its light is centred on the middle of the viewport. With the
    // projection set for 800 x 600 that is the middle of the window, (400, 300). Had the viewport
    // stayed 640 x 480 (anchored at the bottom left) the light would be centred on (320, 360),
    // and nothing would be drawn right of x = 640 or above y = 120.
    LightCentre centre = CentreOfLight(picture, WholePicture(picture));
    ASSERT_GT(centre.weight, 0) << "nothing is drawn";
    EXPECT_NEAR(centre.x, 400, 40);
    EXPECT_NEAR(centre.y, 300, 40);
}

TEST_F(MainWindowTest, F1SwitchesToFullscreenAndBack) {
    // A screen whose only mode is 640 x 480: the fullscreen request can be met.
    ASSERT_TRUE(Launch(640, 480));
    ASSERT_TRUE(run->MoveMouse(320, 240));
    EXPECT_TRUE(server->CursorVisible()) << "windowed, the cursor shows";

    for (bool fullscreen : {true, false}) {
        std::string mode = fullscreen ? "fullscreen" : "windowed";
        // The loop tears the window down and builds a new one, so the key is let go only once
        // the new window is there (a key pressed and released between two frames is not seen).
        ASSERT_TRUE(run->KeyDown("F1"));
        bool replaced = run->WaitForNewWindow();
        ASSERT_TRUE(run->KeyUp("F1"));
        // Had the mode been refused, a question box would stand in the way and nothing be drawn.
        ASSERT_TRUE(replaced) << "no new window after F1 (" << mode << ")";
        ASSERT_TRUE(run->WaitFrames(5)) << "the " << mode << " window shows no frames";
        WindowPlace place;
        ASSERT_TRUE(server->Place(run->Window(), place));
        EXPECT_EQ(place.x, 0) << mode;
        EXPECT_EQ(place.y, 0) << mode;
        EXPECT_EQ(place.width, 640) << mode;
        EXPECT_EQ(place.height, 480) << mode;
        ASSERT_TRUE(run->MoveMouse(fullscreen ? 330 : 320, 240));
        EXPECT_EQ(server->CursorVisible(), !fullscreen)
            << "the cursor is hidden only in fullscreen (" << mode << ")";
        RgbPicture picture;
        ASSERT_TRUE(Shot(mode, picture));
    }
    // TearDown ends it with Escape and checks for 0.
}

TEST_F(MainWindowTest, FullscreenOptionStartsInTheF1State) {
    ASSERT_TRUE(Launch(640, 480, QUORVANE_SOURCE_DIR, {"--fullscreen"}));
    ASSERT_TRUE(run->WaitFrames(3));
    ASSERT_TRUE(run->MoveMouse(330, 240));
    EXPECT_FALSE(server->CursorVisible()) << "fullscreen from the start hides the cursor";
    WindowPlace place;
    ASSERT_TRUE(server->Place(run->Window(), place));
    EXPECT_EQ(place.width, 640);
    EXPECT_EQ(place.height, 480);
    // TearDown ends it with Escape and checks for 0, after the display mode is restored.
}

// The program's own window code on the real X server, in this process: the window, its pixel
// format and its context are the program's; message boxes are recorded instead of shown (one
// would wait for a click for ever under Xvfb).
class RealContext {
  public:
    bool Open(std::string& error) {
        if (!SdlPlatform::StartVideo(false, error)) return false;
        videoStarted = true;
        real = std::make_unique<SdlPlatform>();
        scripted = std::make_unique<ScriptedPlatform>(*real);
        ResetProgramState();
        SetCurrentPlatform(scripted.get());
        opened = OpenMainWindow();
        if (!opened)
            error = scripted->boxes.empty() ? "the window did not open" : scripted->boxes.back().text;
        return opened;
    }
    ~RealContext() {
        if (opened) CloseMainWindow();
        if (videoStarted) {
            SetCurrentPlatform(nullptr);
            scripted.reset();
            real.reset();
            CheckLeaksNow(); // as the program does, before the GL driver is unloaded
            SdlPlatform::StopVideo();
        }
    }

  private:
    std::unique_ptr<SdlPlatform> real;
    std::unique_ptr<ScriptedPlatform> scripted;
    bool videoStarted = false;
    bool opened = false;
};

TEST(RealWindowContextTest, IsDoubleBufferedWithADepthBuffer) {
    XvfbServer server(640, 480);
    ASSERT_TRUE(server.Ok()) << server.Error();
    ScopedEnv display("DISPLAY", server.Name().c_str());
    ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    ScopedEnv driver("SDL_VIDEODRIVER", nullptr);
    ScopedChdir dataFolder(QUORVANE_SOURCE_DIR);
    {
        RealContext context;
        std::string error;
        ASSERT_TRUE(context.Open(error)) << error;
        EXPECT_EQ(SdlPlatform::VideoDriver(), "x11");
        EXPECT_NE(server.FindWindow("Quorvane"), 0u) << "no window on the X server";
        GLint doubleBuffered = 0, depthBits = 0;
        glGetIntegerv(GL_DOUBLEBUFFER, &doubleBuffered);
        glGetIntegerv(GL_DEPTH_BITS, &depthBits);
        EXPECT_EQ(doubleBuffered, GL_TRUE);
        EXPECT_GE(depthBits, 16);
    }
}

TEST(NoDisplayTest, SaysSoOnStandardErrorAndEndsWithZero) {
    TempDir folder;
    ChildProcess::Options options;
    options.args = {std::string(QUORVANE_BINARY_DIR) + "/quorvane"};
    options.workDir = QUORVANE_SOURCE_DIR;
    // No X server, no Wayland compositor (nor the folder its socket would be in), no driver asked for.
    options.unsetEnv = {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "XDG_RUNTIME_DIR"};
    options.outputPath = folder.File("stdout");
    options.errorPath = folder.File("stderr");
    ChildProcess program;
    std::string error;
    ASSERT_TRUE(program.Start(options, error)) << error;
    pid_t group = program.Pid(); // the program leads a process group of its own
    std::optional<ExitStatus> status = program.Wait(20);
    ASSERT_TRUE(status) << "still running without a display";
    EXPECT_TRUE(status->exited) << status->Describe();
    EXPECT_EQ(status->code, 0);
    std::string message = ReadTextFile(folder.File("stderr"));
    EXPECT_NE(message.find("display"), std::string::npos) << "standard error: " << message;
    EXPECT_EQ(ReadTextFile(folder.File("stdout")), "");
    // Nothing it may have started is left behind.
    errno = 0;
    EXPECT_EQ(kill(-group, 0), -1);
    EXPECT_EQ(errno, ESRCH);
}

} // namespace
