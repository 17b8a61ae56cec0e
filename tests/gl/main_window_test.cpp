// Opening and closing the main window with the scripted platform (real offscreen contexts): the
// order of steps, each failure with its box and exactly the teardown it needs, and the fullscreen
// question.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "app/main_window.h"
#include "app/window_proc.h"
#include "scene/scene_state.h"
#include "support/test_support.h"

namespace {

using Calls = std::vector<std::string>;

const Calls OpenSteps = {"GetModuleHandle",
                         "RegisterClass Quorvane_Main_Window",
                         "AdjustWindowRect",
                         "CreateWindow",
                         "GetDC",
                         "ChoosePixelFormat",
                         "SetPixelFormat chosen",
                         "CreateContext",
                         "MakeCurrent",
                         "ShowWindow",
                         "SetForegroundWindow",
                         "SetFocus"};
const Calls FullTeardown = {"MakeCurrent none", "DeleteContext", "ReleaseDC", "DestroyWindow",
                            "UnregisterClass Quorvane_Main_Window"};

class MainWindowTest : public ::testing::Test {
  protected:
    ScriptedWithGl platform;
    ScriptedPlatform& scripted = platform.scripted;

    void TearDown() override {
        if (scene.mainWindow) CloseMainWindow();
        if (scripted.ClassRegistered()) scripted.UnregisterClass(MainWindowClassName, nullptr);
    }

    Calls CallsFrom(size_t first) const {
        return Calls(scripted.calls.begin() + first, scripted.calls.end());
    }

    void ExpectNothingLeft() const {
        EXPECT_EQ(scene.mainWindow, nullptr);
        EXPECT_EQ(scene.deviceContext, nullptr);
        EXPECT_EQ(scene.renderContext, nullptr);
        EXPECT_EQ(scripted.LiveWindows(), 0);
        EXPECT_EQ(scripted.LiveContexts(), 0);
        EXPECT_FALSE(scripted.ClassRegistered());
    }
};

TEST_F(MainWindowTest, OpensInOrderWithTheWindowedStylesAndCloses) {
    ASSERT_TRUE(OpenMainWindow());
    EXPECT_EQ(scripted.calls, OpenSteps);
    EXPECT_TRUE(scripted.boxes.empty());

    EXPECT_EQ(scripted.lastClass.style, CS_HREDRAW | CS_VREDRAW | CS_OWNDC);
    EXPECT_EQ(scripted.lastClass.procedure, &MainWindowProc);
    EXPECT_EQ(scripted.lastExStyle, WS_EX_APPWINDOW | WS_EX_WINDOWEDGE);
    EXPECT_EQ(scripted.lastStyle, WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    EXPECT_EQ(scripted.lastTitle, "Quorvane");
    // The 640 x 480 client rectangle grown by the frame reaches the window at 0, 0.
    EXPECT_EQ(scripted.lastX, 0);
    EXPECT_EQ(scripted.lastY, 0);
    EXPECT_EQ(scripted.lastWidth, 640 + 16);
    EXPECT_EQ(scripted.lastHeight, 480 + 39);

    const PixelFormatRequest& pf = scripted.lastPixelFormat;
    EXPECT_EQ(pf.flags, PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER);
    EXPECT_EQ(pf.colorBits, 16);
    EXPECT_EQ(pf.depthBits, 16);
    EXPECT_EQ(pf.alphaBits + pf.accumBits + pf.stencilBits + pf.auxBuffers, 0);

    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    EXPECT_GE(depthBits, 16);

    size_t mark = scripted.calls.size();
    CloseMainWindow();
    EXPECT_EQ(CallsFrom(mark), FullTeardown);
    EXPECT_TRUE(scripted.boxes.empty());
    ExpectNothingLeft();
}

struct FailureRow {
    const char* operation;
    const char* text;
    const char* caption;
    Calls teardown;
};

class OpenFailureTest : public MainWindowTest, public ::testing::WithParamInterface<FailureRow> {};

TEST_P(OpenFailureTest, ReportsAfterTearingDownExactlyWhatExists) {
    const FailureRow& row = GetParam();
    scripted.Fail(row.operation, 1);
    EXPECT_FALSE(OpenMainWindow());

    // The failing call, then the teardown, then the box: nothing else.
    size_t failed = 0;
    while (failed < scripted.calls.size() && scripted.calls[failed].rfind(row.operation, 0) != 0) ++failed;
    ASSERT_LT(failed, scripted.calls.size());
    Calls expected = row.teardown;
    expected.push_back(std::string("MessageBox ") + row.caption + ": " + row.text);
    EXPECT_EQ(CallsFrom(failed + 1), expected);

    ASSERT_EQ(scripted.boxes.size(), 1u);
    EXPECT_EQ(scripted.boxes[0].flags, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(scripted.boxes[0].owner, nullptr);
    ExpectNothingLeft();
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, OpenFailureTest,
    ::testing::Values(FailureRow{"RegisterClass", "Register window class failed", "Startup Error", {}},
                      FailureRow{"CreateWindow",
                                 "Window creation failed",
                                 "Initialization Error",
                                 {"UnregisterClass Quorvane_Main_Window"}},
                      FailureRow{"GetDC",
                                 "Get DC failed.",
                                 "Initialization Error",
                                 {"DestroyWindow", "UnregisterClass Quorvane_Main_Window"}},
                      FailureRow{"ChoosePixelFormat",
                                 "Choose pixel format failed",
                                 "Initialization Error",
                                 {"ReleaseDC", "DestroyWindow", "UnregisterClass Quorvane_Main_Window"}},
                      FailureRow{"SetPixelFormat",
                                 "Set pixel format failed.",
                                 "Initialization Error",
                                 {"ReleaseDC", "DestroyWindow", "UnregisterClass Quorvane_Main_Window"}},
                      FailureRow{"CreateContext",
                                 "Create rendering context failed",
                                 "Initialization error",
                                 {"ReleaseDC", "DestroyWindow", "UnregisterClass Quorvane_Main_Window"}},
                      FailureRow{"MakeCurrent", "Activate rendering context failed", "Initialization error",
                                 FullTeardown}),
    [](const ::testing::TestParamInfo<FailureRow>& info) { return std::string(info.param.operation); });

TEST_F(MainWindowTest, NoPictureFailsTheSetUpAfterTheWholeWindowExists) {
    TempDir empty;
    ScopedChdir inEmpty(empty.Path());
    EXPECT_FALSE(OpenMainWindow());
    Calls expected = OpenSteps;
    expected.insert(expected.end(), FullTeardown.begin(), FullTeardown.end());
    expected.push_back("MessageBox Initialization Error: Initialize OpenGL failed");
    EXPECT_EQ(scripted.calls, expected);
    ExpectNothingLeft();
}

TEST_F(MainWindowTest, EveryFailingReleaseIsReportedAndEveryHandleForgotten) {
    ASSERT_TRUE(OpenMainWindow());
    scripted.Fail("MakeCurrent", 2);
    scripted.Fail("DeleteContext");
    scripted.Fail("ReleaseDC");
    scripted.Fail("DestroyWindow");
    scripted.Fail("UnregisterClass");
    CloseMainWindow();

    std::vector<std::string> texts;
    for (const auto& box : scripted.boxes) {
        texts.push_back(box.text);
        EXPECT_EQ(box.caption, "Shutdown error");
        EXPECT_EQ(box.flags, MB_OK | MB_ICONINFORMATION);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Release of DC and RC Failed", "Release of RC failed",
                                               "Release DC Failed", "Destroy Window Failed",
                                               "Unregistering window class failed"}));
    EXPECT_EQ(scene.mainWindow, nullptr);
    EXPECT_EQ(scene.deviceContext, nullptr);
    EXPECT_EQ(scene.renderContext, nullptr);
}

TEST_F(MainWindowTest, FullscreenChangesTheModeHidesTheCursorAndRestoresBoth) {
    scene.fullscreen = true;
    ASSERT_TRUE(OpenMainWindow()) << ::testing::PrintToString(scripted.calls);
    EXPECT_EQ(scripted.lastDisplayMode.width, 640u);
    EXPECT_EQ(scripted.lastDisplayMode.height, 480u);
    EXPECT_EQ(scripted.lastDisplayMode.bitsPerPixel, 16u);
    EXPECT_EQ(scripted.calls[2], "ChangeDisplayMode 640x480x16");
    EXPECT_EQ(scripted.calls[3], "ShowCursor 0");
    EXPECT_EQ(scripted.lastExStyle, WS_EX_APPWINDOW);
    EXPECT_EQ(scripted.lastStyle, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    EXPECT_EQ(scripted.lastWidth, 640); // no frame around a popup
    EXPECT_EQ(scripted.lastHeight, 480);

    size_t mark = scripted.calls.size();
    CloseMainWindow();
    Calls expected = {"RestoreDisplayMode", "ShowCursor 1"};
    expected.insert(expected.end(), FullTeardown.begin(), FullTeardown.end());
    EXPECT_EQ(CallsFrom(mark), expected);
    EXPECT_FALSE(scripted.DisplayModeChanged());
    EXPECT_EQ(scripted.CursorShowCount(), 0);
}

TEST_F(MainWindowTest, RefusedFullscreenAnsweredYesOpensAWindow) {
    scene.fullscreen = true;
    scripted.Fail("ChangeDisplayMode");
    scripted.boxAnswers.push_back(IDYES);
    ASSERT_TRUE(OpenMainWindow());
    ASSERT_EQ(scripted.boxes.size(), 1u);
    EXPECT_EQ(scripted.boxes[0].text,
              "The requested full screen mode is not supported by\nyour video card. Do you "
              "want to use windowed mode?");
    EXPECT_EQ(scripted.boxes[0].caption, "Initialization Error");
    EXPECT_EQ(scripted.boxes[0].flags, MB_YESNO | MB_ICONEXCLAMATION);
    // The next F1 asks for fullscreen again.
    EXPECT_FALSE(scene.fullscreen);
    EXPECT_EQ(scripted.lastStyle, WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    EXPECT_EQ(scripted.Count("ShowCursor"), 0);
}

TEST_F(MainWindowTest, RefusedFullscreenAnsweredNoAbortsWithoutTeardown) {
    scene.fullscreen = true;
    scripted.Fail("ChangeDisplayMode");
    EXPECT_FALSE(OpenMainWindow());
    ASSERT_EQ(scripted.boxes.size(), 2u);
    EXPECT_EQ(scripted.boxes[1].text, "Unable to continue fullscreen, program aborted");
    EXPECT_EQ(scripted.boxes[1].caption, "Initialization Error");
    EXPECT_EQ(scripted.boxes[1].flags, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(scripted.Count("CreateWindow"), 0);
    EXPECT_EQ(scripted.Count("UnregisterClass"), 0);
    EXPECT_TRUE(scripted.ClassRegistered()); // nothing is torn down
}

TEST_F(MainWindowTest, FailureAfterTheModeChangeRestoresTheDesktopBeforeTheBox) {
    scene.fullscreen = true;
    scripted.Fail("CreateWindow");
    EXPECT_FALSE(OpenMainWindow());
    Calls tail = CallsFrom(scripted.calls.size() - 4);
    EXPECT_EQ(tail, (Calls{"RestoreDisplayMode", "ShowCursor 1", "UnregisterClass Quorvane_Main_Window",
                           "MessageBox Initialization Error: Window creation failed"}));
    EXPECT_FALSE(scripted.DisplayModeChanged());
    EXPECT_EQ(scripted.CursorShowCount(), 0);
}

// The projection against what GL itself reports.
void ExpectPerspective(double aspect) {
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    const double nearPlane = 0.1, farPlane = 500.0;
    double f = 1.0 / std::tan(45.0 / 2.0 * M_PI / 180.0);
    double expected[16] = {f / aspect,
                           0,
                           0,
                           0,
                           0,
                           f,
                           0,
                           0,
                           0,
                           0,
                           (farPlane + nearPlane) / (nearPlane - farPlane),
                           -1,
                           0,
                           0,
                           2 * farPlane * nearPlane / (nearPlane - farPlane),
                           0};
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(m[i], expected[i], 1e-4 * std::max(1.0, std::fabs(expected[i]))) << i;
}

TEST(SetProjection, ViewportAndPerspectiveForTheClientSize) {
    GlContext gl;
    SetProjection(640, 480);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 0, 640, 480}));
    ExpectPerspective(640.0 / 480.0);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);

    // A height of 0 counts as 1, for the viewport and the aspect ratio alike.
    SetProjection(640, 0);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{0, 0, 640, 1}));
    ExpectPerspective(640.0);

    // A minimised window's 0 x 0 is harmless.
    SetProjection(0, 0);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(SetProjection, WithoutACurrentContextDoesNothing) {
    StartRealPlatform();
    SetProjection(800, 600); // a size message sent while the window is being created
    SUCCEED();
}

} // namespace
