// Opening and closing the main window with the scripted platform (real offscreen contexts): the
// order of steps, each failure with its box and exactly the teardown it needs, and the fullscreen
// question.
#include <gtest/gtest.h>

#include "gl/opengl.h"

#include <algorithm>
#include <cmath>
#include <memory>

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

TEST_F(MainWindowTest, CloseDeletesTheFontListsWhileTheirContextIsCurrent) {
    ASSERT_TRUE(OpenMainWindow());
    const GLuint base = scene.fontBase;
    ASSERT_TRUE(glIsList(base) && glIsList(base + 95));
    // A context that shares the window's display lists and outlives it: there they can be looked
    // for after the teardown. Lists nobody deletes live on in it, as the cube list does.
    GlContext witness(16, 16, true);
    ASSERT_TRUE(glIsList(base)) << "the lists are shared";
    ASSERT_TRUE(scripted.MakeCurrent(scene.deviceContext, scene.renderContext));
    CloseMainWindow();
    witness.MakeCurrent();
    for (GLuint k = 0; k < 96; ++k) EXPECT_FALSE(glIsList(base + k)) << "font list " << k;
    EXPECT_TRUE(glIsList(scene.cubeList));
}

struct FailureRow {
    const char* operation; // the call that fails; "SetFocus" stands for the set-up after it
    const char* text;
    const char* caption;
    Calls teardown;
};

class OpenFailureTest : public MainWindowTest, public ::testing::WithParamInterface<FailureRow> {};

TEST_P(OpenFailureTest, ReportsAfterTearingDownExactlyWhatExists) {
    const FailureRow& row = GetParam();
    // The set-up fails when neither picture is there; every other step by the platform's answer.
    TempDir empty;
    std::unique_ptr<ScopedChdir> inEmpty;
    if (std::string(row.operation) == "SetFocus")
        inEmpty = std::make_unique<ScopedChdir>(empty.Path());
    else
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
    ::testing::Values(
        FailureRow{"RegisterClass", "Register window class failed", "Startup Error", {}},
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
        FailureRow{"MakeCurrent", "Activate rendering context failed", "Initialization error", FullTeardown},
        FailureRow{"SetFocus", "Initialize OpenGL failed", "Initialization Error", FullTeardown}),
    [](const ::testing::TestParamInfo<FailureRow>& info) {
        return std::string(info.param.operation) == "SetFocus" ? std::string("SetupScene")
                                                               : std::string(info.param.operation);
    });

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
}

// The window procedure's WM_SIZE row: the projection follows the client size, the 0 x 0 of a
// minimised window included, and a size message sent before any context exists does nothing.
TEST(WindowSizeMessage, SetsTheProjectionForTheNewClientSize) {
    ScriptedOnly platform;
    std::vector<GLint> viewport(4);
    {
        GlContext gl;
        EXPECT_EQ(MainWindowProc(nullptr, WM_SIZE, SIZE_RESTORED, MakeLParam(800, 600)), 0);
        glGetIntegerv(GL_VIEWPORT, viewport.data());
        EXPECT_EQ(viewport, (std::vector<GLint>{0, 0, 800, 600}));
        ExpectPerspective(800.0 / 600.0);
        EXPECT_EQ(MainWindowProc(nullptr, WM_SIZE, SIZE_MINIMIZED, MakeLParam(0, 0)), 0);
        glGetIntegerv(GL_VIEWPORT, viewport.data());
        EXPECT_EQ(viewport, (std::vector<GLint>{0, 0, 0, 1}));
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    ASSERT_EQ(glGetString(GL_VERSION), nullptr) << "no context is current any more";
    EXPECT_EQ(MainWindowProc(nullptr, WM_SIZE, SIZE_RESTORED, MakeLParam(800, 600)), 0);
    EXPECT_TRUE(platform.scripted.defaultHandled.empty());
}

} // namespace
