// The SDL platform's translation of SDL events into window messages, on SDL's offscreen driver:
// events are pushed into SDL's own queue, as the window system would put them there.
#include <gtest/gtest.h>

#define SDL_MAIN_HANDLED
#include <SDL2/SDL.h>

#include <cstring>

#include "app/window_proc.h"
#include "platform/sdl_platform.h"
#include "platform/virtual_keys.h"
#include "scene/controls.h"
#include "scene/scene_state.h"
#include "support/test_support.h"

namespace {

class SdlPlatformTest : public ::testing::Test {
  protected:
    void SetUp() override {
        StartRealPlatform();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        WindowClass windowClass;
        windowClass.className = "SdlPlatformTest";
        windowClass.procedure = [](WindowHandle, uint32_t, uintptr_t, intptr_t) -> intptr_t { return 0; };
        ASSERT_TRUE(platform.RegisterClass(windowClass));
        window =
            platform.CreateWindow(0, "SdlPlatformTest", "test", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr);
        ASSERT_NE(window, nullptr);
        windowId = SDL_GetWindowID(reinterpret_cast<SDL_Window*>(window));
        Drain();
    }
    void TearDown() override {
        platform.DestroyWindow(window);
        platform.UnregisterClass("SdlPlatformTest", nullptr);
    }

    std::vector<Message> Drain() {
        std::vector<Message> messages;
        Message m;
        while (platform.PeekMessage(m)) messages.push_back(m);
        return messages;
    }

    void PushKey(bool down, SDL_Keycode key, uint16_t mod = 0, bool repeat = false) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.windowID = windowId;
        e.key.repeat = repeat;
        e.key.keysym.sym = key;
        e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
        e.key.keysym.mod = mod;
        SDL_PushEvent(&e);
    }
    void PushWindowEvent(uint8_t event, uint32_t id = 0) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = event;
        e.window.windowID = id ? id : windowId;
        SDL_PushEvent(&e);
    }

    SdlPlatform platform;
    WindowHandle window = nullptr;
    uint32_t windowId = 0;
};

TEST_F(SdlPlatformTest, KeysBecomeKeyMessagesWithVirtualKeyCodes) {
    PushKey(true, SDLK_w);
    PushKey(true, SDLK_w, 0, true);
    PushKey(false, SDLK_w);
    PushKey(true, SDLK_KP_PLUS);
    PushKey(true, SDLK_KP_ENTER);
    PushKey(true, SDLK_RSHIFT);
    PushKey(true, SDLK_F1);
    PushKey(true, SDLK_PAGEDOWN);
    std::vector<Message> m = Drain();
    ASSERT_EQ(m.size(), 8u);
    EXPECT_EQ(m[0].message, WM_KEYDOWN);
    EXPECT_EQ(m[0].wParam, 'W');
    EXPECT_EQ(m[0].lParam & (1 << 30), 0);
    EXPECT_EQ(m[1].message, WM_KEYDOWN); // auto-repeat, marked as already down
    EXPECT_NE(m[1].lParam & (1 << 30), 0);
    EXPECT_EQ(m[2].message, WM_KEYUP);
    EXPECT_EQ(m[3].wParam, VK_ADD);
    EXPECT_EQ(m[4].wParam, VK_RETURN);
    EXPECT_EQ(m[5].wParam, VK_SHIFT);
    EXPECT_EQ(m[6].wParam, VK_F1);
    EXPECT_EQ(m[7].wParam, VK_NEXT);
}

TEST_F(SdlPlatformTest, AltCombinationsAltItselfAndF10AreSystemKeys) {
    PushKey(true, SDLK_LALT, KMOD_LALT);
    PushKey(true, SDLK_f, KMOD_LALT);
    PushKey(false, SDLK_f, KMOD_LALT);
    PushKey(false, SDLK_LALT, 0);
    PushKey(true, SDLK_F10);
    PushKey(false, SDLK_F10);
    std::vector<Message> m = Drain();
    ASSERT_EQ(m.size(), 6u);
    const uint32_t expected[] = {WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSKEYUP,
                                 WM_SYSKEYUP,   WM_SYSKEYDOWN, WM_SYSKEYUP};
    for (size_t i = 0; i < m.size(); ++i) EXPECT_EQ(m[i].message, expected[i]) << i;
    EXPECT_EQ(m[0].wParam, VK_MENU);
    EXPECT_EQ(m[1].wParam, 'F');
    EXPECT_EQ(m[4].wParam, VK_F10);
}

TEST_F(SdlPlatformTest, ALetterKeyOfANonLatinLayoutSwitchesItsControl) {
    // The L key under a Russian layout, the whole way from SDL's event to the lighting.
    ResetProgramState();
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.windowID = windowId;
    e.key.keysym.sym = 0x0434;
    e.key.keysym.scancode = SDL_SCANCODE_L;
    SDL_PushEvent(&e);
    PushKey(true, SDLK_AUDIOPLAY); // a key the program has no code for gives no message
    std::vector<Message> m = Drain();
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].message, WM_KEYDOWN);
    EXPECT_EQ(m[0].wParam, 'L');
    SetCurrentPlatform(&platform);
    MainWindowProc(m[0].window, m[0].message, m[0].wParam, m[0].lParam);
    SetCurrentPlatform(nullptr);
    HandleFrameControls();
    EXPECT_TRUE(scene.lightingOn);
}

TEST_F(SdlPlatformTest, MinimiseRestoreResizeAndClose) {
    PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    PushWindowEvent(SDL_WINDOWEVENT_RESTORED);
    PushWindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED);
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE, windowId + 100); // some other window's
    std::vector<Message> m = Drain();
    ASSERT_EQ(m.size(), 6u);
    EXPECT_EQ(m[0].message, WM_ACTIVATE);
    EXPECT_EQ(HighWord(m[0].wParam), 1u); // minimised
    EXPECT_EQ(m[1].message, WM_SIZE);
    EXPECT_EQ(m[1].lParam, 0); // a minimised window's client area is 0 x 0
    EXPECT_EQ(m[2].message, WM_ACTIVATE);
    EXPECT_EQ(HighWord(m[2].wParam), 0u);
    EXPECT_EQ(m[3].message, WM_SIZE);
    EXPECT_EQ(m[3].lParam, MakeLParam(640, 480));
    EXPECT_EQ(m[4].message, WM_SIZE);
    EXPECT_EQ(m[5].message, WM_CLOSE);
}

TEST_F(SdlPlatformTest, AQuitRequestTakesTheClosePath) {
    SDL_Event quit{};
    quit.type = SDL_QUIT; // what SDL makes of SIGINT and SIGTERM
    SDL_PushEvent(&quit);
    std::vector<Message> m = Drain();
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].message, WM_CLOSE);
}

TEST_F(SdlPlatformTest, MouseMessagesCarryClientCoordinates) {
    platform.InjectMouseButton(true, true, 100, 50);
    platform.InjectMouseMove(110, 54);
    platform.InjectMouseButton(true, false, 110, 54);
    platform.InjectMouseButton(false, true, 3, 4);
    std::vector<Message> m = Drain();
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].message, WM_RBUTTONDOWN);
    EXPECT_EQ(m[0].lParam, MakeLParam(100, 50));
    EXPECT_EQ(m[1].message, WM_MOUSEMOVE);
    EXPECT_EQ(m[1].lParam, MakeLParam(110, 54));
    EXPECT_EQ(m[2].message, WM_RBUTTONUP);
    EXPECT_EQ(m[3].message, WM_LBUTTONDOWN);
    // The mouse is not captured while a button is held.
    EXPECT_STREQ(SDL_GetHint(SDL_HINT_MOUSE_AUTO_CAPTURE), "0");
}

TEST_F(SdlPlatformTest, APostedQuitComesOnceNothingElseWaits) {
    PushKey(true, SDLK_q);
    platform.PostQuitMessage(3);
    std::vector<Message> m = Drain();
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].message, WM_KEYDOWN);
    EXPECT_EQ(m[1].message, WM_QUIT);
    EXPECT_EQ(m[1].wParam, 3u);
}

TEST_F(SdlPlatformTest, InjectedKeysTakeTheSameRoute) {
    platform.InjectKey(VK_NUMPAD8, true);
    platform.InjectKey(VK_ADD, true);
    platform.InjectKey('L', false);
    std::vector<Message> m = Drain();
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].wParam, VK_NUMPAD8);
    EXPECT_EQ(m[1].wParam, VK_ADD);
    EXPECT_EQ(m[2].message, WM_KEYUP);
    EXPECT_EQ(m[2].wParam, 'L');
}

TEST_F(SdlPlatformTest, OneWindowAndOneClassAtATime) {
    WindowClass again;
    again.className = "Other";
    again.procedure = [](WindowHandle, uint32_t, uintptr_t, intptr_t) -> intptr_t { return 0; };
    EXPECT_FALSE(platform.RegisterClass(again));
    EXPECT_EQ(platform.CreateWindow(0, "SdlPlatformTest", "x", WS_POPUP, 0, 0, 64, 64, nullptr), nullptr);
    EXPECT_FALSE(platform.UnregisterClass("SdlPlatformTest", nullptr)); // its window still exists
    EXPECT_EQ(platform.GetDC(nullptr), nullptr);
}

TEST_F(SdlPlatformTest, WhereNoBoxCanBeShownTheTextGoesToStandardError) {
    // The offscreen driver has no screen for a box: caption and text go to standard error, and a
    // question counts as "No".
    ::testing::internal::CaptureStderr();
    platform.MessageBox(nullptr, "Release DC Failed", "Shutdown error", MB_OK | MB_ICONINFORMATION);
    int answer = platform.MessageBox(nullptr, "Full screen?\nOr not?", "Initialization Error",
                                     MB_YESNO | MB_ICONEXCLAMATION);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Shutdown error: Release DC Failed\nInitialization Error: Full screen?\nOr not?\n");
    EXPECT_NE(answer, IDYES);
}

} // namespace
