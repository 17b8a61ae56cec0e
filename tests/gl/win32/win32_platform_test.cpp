// The Win32 platform on the real API: the program's window as Windows builds it, and scripted
// input taking the real path from the window's queue to its procedure.
#include "platform/win32_headers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "platform/virtual_keys.h"
#include "platform/win32_platform.h"
#include "scene/scene_state.h"
#include "support/test_support.h"

namespace {

// Message boxes are recorded, not shown: under Xvfb nobody would answer one.
class BoxlessWin32Platform : public Win32Platform {
  public:
    std::vector<std::string> boxes;
    int MessageBox(WindowHandle, const char* text, const char*, uint32_t) override {
        boxes.push_back(text);
        return IDNO;
    }
};

TEST(Win32Platform, OpensTheProgramsWindowWithItsClassAndPixelFormat) {
    ResetProgramState();
    BoxlessWin32Platform platform;
    SetCurrentPlatform(&platform);
    ASSERT_TRUE(OpenMainWindow()) << (platform.boxes.empty() ? "" : platform.boxes.back());
    HWND window = reinterpret_cast<HWND>(scene.mainWindow);
    HDC dc = reinterpret_cast<HDC>(scene.deviceContext);

    // (Its title, place and size are seen from outside, under Wine: tests/wine.)
    WNDCLASSA windowClass{};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "Quorvane_Main_Window", &windowClass));
    EXPECT_EQ(windowClass.style, UINT(CS_HREDRAW | CS_VREDRAW | CS_OWNDC));
    EXPECT_EQ(windowClass.hbrBackground, nullptr);
    EXPECT_EQ(windowClass.hCursor, LoadCursorA(nullptr, IDC_ARROW));

    // The format Windows chose for the request: double-buffered RGBA with a depth buffer.
    PIXELFORMATDESCRIPTOR pfd{};
    ASSERT_NE(DescribePixelFormat(dc, GetPixelFormat(dc), sizeof pfd, &pfd), 0);
    DWORD wanted = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    EXPECT_EQ(pfd.dwFlags & wanted, wanted);
    EXPECT_EQ(pfd.iPixelType, PFD_TYPE_RGBA);
    EXPECT_GE(pfd.cDepthBits, 16);
    EXPECT_EQ(wglGetCurrentContext(), reinterpret_cast<HGLRC>(scene.renderContext));

    CloseMainWindow();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), "Quorvane_Main_Window", &windowClass));
    EXPECT_TRUE(platform.boxes.empty()) << platform.boxes.front();
    SetCurrentPlatform(nullptr);
}

// What the window procedure received, system messages aside.
struct Received {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};
std::vector<Received> received;
Platform* pumping = nullptr;

intptr_t RecordingProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_MOUSEMOVE:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        received.push_back({message, wParam, lParam});
        return 0;
    case WM_CLOSE:
        received.push_back({message, wParam, lParam});
        pumping->PostQuitMessage(0);
        return 0;
    default:
        return pumping->DefWindowProc(window, message, wParam, lParam);
    }
}

TEST(Win32Platform, InjectedInputTakesTheRealPathToTheWindowProcedure) {
    Win32Platform platform;
    pumping = &platform;
    received.clear();
    WindowClass windowClass;
    windowClass.className = "InjectionTest";
    windowClass.procedure = RecordingProc;
    ASSERT_TRUE(platform.RegisterClass(windowClass));
    // Never shown, so the real pointer sends it nothing.
    WindowHandle window =
        platform.CreateWindow(0, "InjectionTest", "test", WS_OVERLAPPEDWINDOW, 0, 0, 320, 240, nullptr);
    ASSERT_NE(window, nullptr);

    platform.InjectKey('L', true);
    platform.InjectKey('L', true); // held: the keyboard's repeat
    platform.InjectKey('L', false);
    platform.InjectKey(VK_UP, true);
    platform.InjectMouseButton(true, true, 100, 50);
    platform.InjectMouseMove(130, 40);
    platform.InjectMouseButton(true, false, 130, 40);
    platform.InjectClose();

    Message message;
    int quits = 0;
    uintptr_t quitCode = 99;
    while (platform.PeekMessage(message)) {
        if (message.message == WM_QUIT) {
            ++quits;
            quitCode = message.wParam;
            continue;
        }
        platform.TranslateMessage(message);
        platform.DispatchMessage(message);
    }
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(quitCode, 0u);

    ASSERT_EQ(received.size(), 8u);
    uint32_t scanL = MapVirtualKeyA('L', MAPVK_VK_TO_VSC);
    EXPECT_NE(scanL, 0u);
    auto key = [](const Received& r, uint32_t message, uintptr_t vk, uint32_t lParam) {
        EXPECT_EQ(r.message, message);
        EXPECT_EQ(r.wParam, vk);
        EXPECT_EQ(static_cast<uint32_t>(r.lParam), lParam) << std::hex << r.lParam;
    };
    // Repeat count 1 and the scan code; the previous-state bit on a repeat and on the release,
    // the transition bit on the release; the extended-key bit for the arrow.
    key(received[0], WM_KEYDOWN, 'L', 1u | scanL << 16);
    key(received[1], WM_KEYDOWN, 'L', 1u | scanL << 16 | 1u << 30);
    key(received[2], WM_KEYUP, 'L', 1u | scanL << 16 | 3u << 30);
    EXPECT_EQ(received[3].lParam & (1 << 24), 1 << 24);
    EXPECT_EQ(received[3].wParam, VK_UP);

    EXPECT_EQ(received[4].message, WM_RBUTTONDOWN);
    EXPECT_EQ(received[4].wParam, MK_RBUTTON);
    EXPECT_EQ(received[4].lParam, MakeLParam(100, 50));
    EXPECT_EQ(received[5].message, WM_MOUSEMOVE);
    EXPECT_EQ(received[5].wParam, MK_RBUTTON);
    EXPECT_EQ(received[5].lParam, MakeLParam(130, 40));
    EXPECT_EQ(received[6].message, WM_RBUTTONUP);
    EXPECT_EQ(received[6].wParam, 0u);
    EXPECT_EQ(received[7].message, WM_CLOSE);

    EXPECT_TRUE(platform.DestroyWindow(window));
    EXPECT_TRUE(platform.UnregisterClass("InjectionTest", nullptr));
}

} // namespace
