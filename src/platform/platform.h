// The thin layer between the program and the window system.
//
// The window, the loop and the loader are written against the operations below, which keep the
// shape of the Win32 / WGL calls the program was designed around (one window class, a device
// context, a pixel format, a rendering context, a message queue). Each platform implements them
// in one file: SDL2 (sdl_platform.h) on Linux, the Windows API itself (win32_platform.h), and
// Emscripten's html5.h in a web page (web_platform.h). Tools and tests wrap a platform in another
// (forwarding_platform.h) to feed it input or watch its calls.
#pragma once

#include <cstdint>

// Opaque handles. Each implementation decides what they point at; null always means "none".
struct ModuleTag;
struct WindowTag;
struct DeviceContextTag;
struct RenderContextTag;
using ModuleHandle = ModuleTag*;
using WindowHandle = WindowTag*;
using DeviceContext = DeviceContextTag*;
using RenderContext = RenderContextTag*;

using WindowProc = intptr_t (*)(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// One queued message, as the window procedure sees it.
struct Message {
    WindowHandle window = nullptr;
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    uint32_t time = 0;
    int32_t pointX = 0;
    int32_t pointY = 0;
};

// Window messages (Windows numbering, so that logs and tests read like the design).
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_ACTIVATE = 0x0006;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_SYSCOMMAND = 0x0112;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr uint32_t WM_MBUTTONUP = 0x0208;

constexpr uintptr_t SC_SCREENSAVE = 0xF140;
constexpr uintptr_t SC_MONITORPOWER = 0xF170;
constexpr uintptr_t SIZE_RESTORED = 0;
constexpr uintptr_t SIZE_MINIMIZED = 1;
constexpr uintptr_t SIZE_MAXIMIZED = 2;
constexpr uintptr_t WA_INACTIVE = 0;
constexpr uintptr_t WA_ACTIVE = 1;
constexpr uintptr_t MK_LBUTTON = 0x0001;
constexpr uintptr_t MK_RBUTTON = 0x0002;
constexpr uintptr_t MK_SHIFT = 0x0004;
constexpr uintptr_t MK_CONTROL = 0x0008;
constexpr uintptr_t MK_MBUTTON = 0x0010;

// The lParam of a key message, as the keyboard driver fills it in: a repeat count of 1, the scan
// code, the extended-key flag, the key's state before the message (down for a repeat and for every
// release) and the transition flag of a release. Every platform builds its key messages with it.
constexpr intptr_t KeyMessageLParam(uint32_t scanCode, bool extended, bool wasDown, bool release) {
    return static_cast<intptr_t>(1u | ((scanCode & 0xFFu) << 16) | (extended ? 1u << 24 : 0u) |
                                 (wasDown ? 1u << 30 : 0u) | (release ? 1u << 31 : 0u));
}

// Packing of the two 16-bit halves of wParam / lParam.
constexpr intptr_t MakeLParam(uint32_t low, uint32_t high) {
    return static_cast<intptr_t>((low & 0xFFFFu) | ((high & 0xFFFFu) << 16));
}
constexpr uint32_t LowWord(uintptr_t value) {
    return static_cast<uint32_t>(value & 0xFFFFu);
}
constexpr uint32_t HighWord(uintptr_t value) {
    return static_cast<uint32_t>((value >> 16) & 0xFFFFu);
}

// Window class and window styles.
constexpr uint32_t CS_VREDRAW = 0x0001;
constexpr uint32_t CS_HREDRAW = 0x0002;
constexpr uint32_t CS_OWNDC = 0x0020;
constexpr uint32_t WS_OVERLAPPEDWINDOW = 0x00CF0000;
constexpr uint32_t WS_POPUP = 0x80000000;
constexpr uint32_t WS_CLIPSIBLINGS = 0x04000000;
constexpr uint32_t WS_CLIPCHILDREN = 0x02000000;
constexpr uint32_t WS_EX_WINDOWEDGE = 0x00000100;
constexpr uint32_t WS_EX_APPWINDOW = 0x00040000;

struct WindowClass {
    uint32_t style = 0;
    WindowProc procedure = nullptr;
    ModuleHandle instance = nullptr;
    const char* className = nullptr;
    // The system's logo icon and arrow cursor are the only ones the program uses.
    bool logoIcon = true;
    bool arrowCursor = true;
};

struct WindowRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// A display-mode request: size and colour depth, no refresh rate.
struct DisplayMode {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bitsPerPixel = 0;
};

// The pixel format the program asks for. Only the fields the program sets are kept; every other
// field of the descriptor it stands for is zero.
constexpr uint32_t PFD_DOUBLEBUFFER = 0x00000001;
constexpr uint32_t PFD_DRAW_TO_WINDOW = 0x00000004;
constexpr uint32_t PFD_SUPPORT_OPENGL = 0x00000020;
struct PixelFormatRequest {
    uint16_t size = 40;
    uint16_t version = 1;
    uint32_t flags = 0;
    uint8_t colorBits = 0;
    uint8_t alphaBits = 0;
    uint8_t accumBits = 0;
    uint8_t depthBits = 0;
    uint8_t stencilBits = 0;
    uint8_t auxBuffers = 0;
};

// The one pixel format the program asks for, on every window: double-buffered RGBA with 16 colour
// bits and a 16-bit depth buffer; no alpha, accumulation, stencil or auxiliary buffers.
constexpr PixelFormatRequest ProgramPixelFormat = {
    40, 1, PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER, 16, 0, 0, 16, 0, 0};

// Message boxes.
constexpr uint32_t MB_OK = 0x00000000;
constexpr uint32_t MB_YESNO = 0x00000004;
constexpr uint32_t MB_ICONSTOP = 0x00000010;
constexpr uint32_t MB_ICONEXCLAMATION = 0x00000030;
constexpr uint32_t MB_ICONINFORMATION = 0x00000040;
constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

class Platform {
  public:
    virtual ~Platform() = default;

    virtual ModuleHandle GetModuleHandle() = 0;
    virtual bool RegisterClass(const WindowClass& windowClass) = 0;
    virtual bool UnregisterClass(const char* className, ModuleHandle instance) = 0;

    // True when the display now runs the requested mode; false when it was refused.
    virtual bool ChangeDisplayMode(const DisplayMode& mode) = 0;
    // Back to the desktop's own mode (the call with no mode and no flags).
    virtual void RestoreDisplayMode() = 0;
    virtual void ShowCursor(bool show) = 0;

    // Grows a client rectangle to the window rectangle of a frame with these styles.
    virtual void AdjustWindowRect(WindowRect& rect, uint32_t style, uint32_t exStyle) = 0;
    virtual WindowHandle CreateWindow(uint32_t exStyle, const char* className, const char* title,
                                      uint32_t style, int x, int y, int width, int height,
                                      ModuleHandle instance) = 0;
    virtual bool DestroyWindow(WindowHandle window) = 0;
    virtual void ShowWindow(WindowHandle window) = 0;
    virtual void SetForegroundWindow(WindowHandle window) = 0;
    virtual void SetFocus(WindowHandle window) = 0;
    virtual WindowHandle GetFocus() = 0;

    virtual DeviceContext GetDC(WindowHandle window) = 0;
    virtual bool ReleaseDC(WindowHandle window, DeviceContext dc) = 0;
    // 0 when no format matches; otherwise a format number for SetPixelFormat.
    virtual int ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) = 0;
    virtual bool SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest& request) = 0;
    virtual RenderContext CreateContext(DeviceContext dc) = 0;
    // MakeCurrent(nullptr, nullptr) leaves no context current.
    virtual bool MakeCurrent(DeviceContext dc, RenderContext rc) = 0;
    virtual bool DeleteContext(RenderContext rc) = 0;
    virtual bool SwapBuffers(DeviceContext dc) = 0;

    // Never blocks: false when no message is waiting.
    virtual bool PeekMessage(Message& message) = 0;
    virtual void TranslateMessage(const Message& message) = 0;
    virtual intptr_t DispatchMessage(const Message& message) = 0;
    virtual void PostQuitMessage(int exitCode) = 0;
    virtual intptr_t DefWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam,
                                   intptr_t lParam) = 0;

    // Modal box; returns the button pressed (IDOK, IDYES, IDNO) or 0 when no box could be shown.
    virtual int MessageBox(WindowHandle owner, const char* text, const char* caption, uint32_t flags) = 0;

    // True once after the window system took the rendering context away by itself (a browser may
    // do so at any time); the loop then builds the window and its context again, as F1 does but
    // in the same mode. Desktop contexts are never taken away.
    virtual bool RenderContextLost() { return false; }
};

// Scripted input for front ends that drive the real program (the capture tool): each event goes
// into the platform's own queue, so it takes the same path as one from the window system.
// Coordinates are client pixels.
class InputInjector {
  public:
    virtual ~InputInjector() = default;
    virtual void InjectKey(uint32_t virtualKey, bool down) = 0;
    virtual void InjectMouseMove(int x, int y) = 0;
    virtual void InjectMouseButton(bool right, bool down, int x, int y) = 0;
    // The window's close request, as from its frame.
    virtual void InjectClose() = 0;
};

// The platform the program runs on. Set once by the entry point (or by a test) before anything
// else runs.
Platform& CurrentPlatform();
void SetCurrentPlatform(Platform* platform);
