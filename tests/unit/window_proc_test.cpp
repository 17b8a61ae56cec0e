// The window procedure on its own: each message against the input fields it may touch, and
// whether the default handling runs.
#include <gtest/gtest.h>

#include <cstring>

#include "app/window_proc.h"
#include "platform/virtual_keys.h"
#include "scene/scene_state.h"
#include "support/test_support.h"

namespace {

class WindowProcTest : public ::testing::Test {
  protected:
    ScriptedOnly platform;
    ScriptedPlatform& scripted = platform.scripted;

    intptr_t Send(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0) {
        return MainWindowProc(nullptr, message, wParam, lParam);
    }
    intptr_t Mouse(uint32_t message, int x, int y) {
        return Send(message, 0, MakeLParam(static_cast<uint32_t>(x), static_cast<uint32_t>(y)));
    }
    bool DefaultRan() const { return !scripted.defaultHandled.empty(); }
};

TEST_F(WindowProcTest, KeysSetAndClearTheirEntryOnly) {
    EXPECT_EQ(Send(WM_KEYDOWN, 'W'), 0);
    EXPECT_TRUE(scene.keyDown['W']);
    Send(WM_KEYDOWN, 'W'); // auto-repeat sets it again
    Send(WM_KEYDOWN, VK_SHIFT);
    EXPECT_EQ(Send(WM_KEYUP, 'W'), 0);
    EXPECT_FALSE(scene.keyDown['W']);
    EXPECT_TRUE(scene.keyDown[VK_SHIFT]);
    EXPECT_FALSE(DefaultRan());
}

TEST_F(WindowProcTest, SystemKeysNeverReachTheKeyTable) {
    Send(WM_SYSKEYDOWN, 'F');
    Send(WM_SYSKEYDOWN, VK_F10);
    EXPECT_FALSE(scene.keyDown['F']);
    EXPECT_FALSE(scene.keyDown[VK_F10]);
    Send(WM_KEYDOWN, 'F');
    Send(WM_SYSKEYUP, 'F');
    EXPECT_TRUE(scene.keyDown['F']);
    EXPECT_EQ(scripted.defaultHandled, (std::vector<uint32_t>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSKEYUP}));
}

TEST_F(WindowProcTest, KeyCodesBeyondTheTableAreIgnored) {
    // Whatever follows the key table in the record must stay as it was.
    SceneState before = scene;
    Send(WM_KEYDOWN, 256);
    Send(WM_KEYDOWN, 0x1234);
    Send(WM_KEYDOWN, static_cast<uintptr_t>(-1));
    Send(WM_KEYUP, 300);
    EXPECT_EQ(std::memcmp(&before, &scene, sizeof(SceneState)), 0);
}

TEST_F(WindowProcTest, ActivationFollowsOnlyTheMinimisedFlag) {
    Send(WM_ACTIVATE, WA_INACTIVE | (1u << 16));
    EXPECT_FALSE(scene.windowActive);
    Send(WM_ACTIVATE, WA_ACTIVE);
    EXPECT_TRUE(scene.windowActive);
    // Another window in front, this one not minimised: it keeps drawing.
    EXPECT_EQ(Send(WM_ACTIVATE, WA_INACTIVE), 0);
    EXPECT_TRUE(scene.windowActive);
    EXPECT_FALSE(DefaultRan());
}

TEST_F(WindowProcTest, CloseAsksTheLoopToQuitWithoutDestroyingTheWindow) {
    EXPECT_EQ(Send(WM_CLOSE), 0);
    EXPECT_EQ(scripted.calls, (std::vector<std::string>{"PostQuitMessage 0"}));
    Message quit;
    ASSERT_TRUE(scripted.PeekMessage(quit));
    EXPECT_EQ(quit.message, WM_QUIT);
    EXPECT_EQ(quit.wParam, 0u);
}

TEST_F(WindowProcTest, ScreenSaverAndMonitorPowerAreSwallowed) {
    EXPECT_EQ(Send(WM_SYSCOMMAND, SC_SCREENSAVE), 0);
    EXPECT_EQ(Send(WM_SYSCOMMAND, SC_MONITORPOWER), 0);
    EXPECT_FALSE(DefaultRan());
    // The whole command is compared: low bits set make it another command.
    Send(WM_SYSCOMMAND, SC_SCREENSAVE | 1);
    Send(WM_SYSCOMMAND, 0xF020); // minimise
    EXPECT_EQ(scripted.defaultHandled, (std::vector<uint32_t>{WM_SYSCOMMAND, WM_SYSCOMMAND}));
}

TEST_F(WindowProcTest, RightButtonDragAddsPreviousMinusCurrent) {
    Mouse(WM_RBUTTONDOWN, 100, 50);
    Mouse(WM_MOUSEMOVE, 110, 54); // 10 right, 4 down
    EXPECT_EQ(scene.lookDeltaX, -10);
    EXPECT_EQ(scene.lookDeltaY, -4);
    Mouse(WM_MOUSEMOVE, 100, 54); // back 10 left: the sum cancels
    EXPECT_EQ(scene.lookDeltaX, 0);
    EXPECT_EQ(scene.lastMouseX, 100);
    EXPECT_EQ(scene.lastMouseY, 54);
    // Every mouse message also goes on to the default handling.
    EXPECT_EQ(scripted.defaultHandled.size(), 3u);
}

TEST_F(WindowProcTest, MovesWithoutTheButtonAreNotAccumulated) {
    Mouse(WM_MOUSEMOVE, 300, 200);
    Mouse(WM_LBUTTONDOWN, 310, 200);
    Mouse(WM_MOUSEMOVE, 320, 220);
    EXPECT_EQ(scene.lookDeltaX, 0);
    EXPECT_EQ(scene.lookDeltaY, 0);
    // The press sets the reference point: only movement from there counts.
    Mouse(WM_RBUTTONDOWN, 400, 300);
    Mouse(WM_MOUSEMOVE, 398, 301);
    EXPECT_EQ(scene.lookDeltaX, 2);
    EXPECT_EQ(scene.lookDeltaY, -1);
    Mouse(WM_RBUTTONUP, 398, 301);
    Mouse(WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(scene.lookDeltaX, 2);
    EXPECT_EQ(scene.rightButtonDown, 0);
    EXPECT_EQ(scene.mouseX, 0);
}

TEST_F(WindowProcTest, ReleaseOutsideTheWindowKeepsDraggingAndAddsTheWholeJump) {
    Mouse(WM_RBUTTONDOWN, 10, 10);
    // The button comes up outside the client area: no WM_RBUTTONUP arrives.
    Mouse(WM_MOUSEMOVE, 600, 400);
    EXPECT_EQ(scene.rightButtonDown, 1);
    EXPECT_EQ(scene.lookDeltaX, -590);
    EXPECT_EQ(scene.lookDeltaY, -390);
}

TEST_F(WindowProcTest, CursorHalvesAreUnsigned) {
    Mouse(WM_RBUTTONDOWN, 0, 0);
    Send(WM_MOUSEMOVE, 0, MakeLParam(0xFFFF, 0x8000));
    EXPECT_EQ(scene.mouseX, 65535);
    EXPECT_EQ(scene.mouseY, 32768);
    EXPECT_EQ(scene.lookDeltaX, -65535);
    EXPECT_EQ(scene.lookDeltaY, -32768);
}

TEST_F(WindowProcTest, UnhandledMessagesGoToTheDefault) {
    SceneState before = scene;
    Send(0x0001); // WM_CREATE
    Send(WM_LBUTTONUP, 0, MakeLParam(1, 2));
    Send(WM_MBUTTONDOWN);
    EXPECT_EQ(scripted.defaultHandled, (std::vector<uint32_t>{0x0001, WM_LBUTTONUP, WM_MBUTTONDOWN}));
    EXPECT_EQ(std::memcmp(&before, &scene, sizeof(SceneState)), 0);
}

} // namespace
