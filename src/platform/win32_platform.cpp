// The platform on the Windows API itself: every operation is the call it is named after.
//
//   class, window    RegisterClassA (the class's procedure passes every message to the program's
//                    window procedure, found by the class atom) / UnregisterClassA; AdjustWindowRectEx,
//                    CreateWindowExA, DestroyWindow, ShowWindow, SetForegroundWindow, SetFocus,
//                    GetFocus
//   display mode     ChangeDisplaySettingsA with the 640 x 480 x 16 record and CDS_FULLSCREEN; the
//                    call with no record restores the desktop's mode; ShowCursor
//   DC, pixel format GetDC / ReleaseDC; ChoosePixelFormat / SetPixelFormat with the whole
//                    PIXELFORMATDESCRIPTOR, every field the request leaves out zero
//   context          wglCreateContext / wglMakeCurrent (swap interval through wglSwapIntervalEXT
//                    when the option asks) / wglDeleteContext; SwapBuffers
//   messages         PeekMessageA with PM_REMOVE, TranslateMessage, DispatchMessageA, PostQuitMessage,
//                    DefWindowProcA: Windows' own messages and virtual keys, untranslated
//   message boxes    MessageBoxA
//   input injection  scripted input is posted to the newest window as the messages Windows sends
#include "platform/win32_headers.h"

#include "platform/win32_platform.h"

#include <cstdint>
#include <string>

#include "platform/virtual_keys.h"

namespace {

HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}
WindowHandle ToHandle(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}
HDC ToHdc(DeviceContext dc) {
    return reinterpret_cast<HDC>(dc);
}
HGLRC ToHglrc(RenderContext rc) {
    return reinterpret_cast<HGLRC>(rc);
}

// The procedure of each registered class, found again by the class atom of the window a message
// is for. A WNDPROC carries no context, so the table is shared by every Win32Platform; a few
// entries suffice (the program registers one class at a time, a test at most two).
struct ClassEntry {
    ATOM atom = 0;
    std::string name;
    WindowProc procedure = nullptr;
};
ClassEntry classes[8];

LRESULT CALLBACK ClassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ATOM atom = static_cast<ATOM>(GetClassLongPtrA(window, GCW_ATOM));
    for (const ClassEntry& entry : classes)
        if (entry.atom != 0 && entry.atom == atom)
            return entry.procedure(ToHandle(window), message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

MSG ToMsg(const Message& message) {
    MSG msg{};
    msg.hwnd = ToHwnd(message.window);
    msg.message = message.message;
    msg.wParam = message.wParam;
    msg.lParam = message.lParam;
    msg.time = message.time;
    msg.pt.x = message.pointX;
    msg.pt.y = message.pointY;
    return msg;
}

// Keys whose scan code carries the extended-key flag (bit 24 of a key message's lParam).
bool IsExtendedKey(uint32_t virtualKey) {
    switch (virtualKey) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_INSERT:
    case VK_DELETE:
    case VK_DIVIDE:
    case VK_NUMLOCK:
        return true;
    default:
        return false;
    }
}

} // namespace

void Win32Platform::Post(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (newestWindow) PostMessageA(ToHwnd(newestWindow), message, wParam, lParam);
}

void Win32Platform::InjectKey(uint32_t virtualKey, bool down) {
    if (virtualKey >= keysHeld.size()) return;
    intptr_t lParam = KeyMessageLParam(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC), IsExtendedKey(virtualKey),
                                       !down || keysHeld[virtualKey], !down);
    keysHeld[virtualKey] = down;
    Post(down ? WM_KEYDOWN : WM_KEYUP, virtualKey, lParam);
}

void Win32Platform::InjectMouseMove(int x, int y) {
    uintptr_t buttons = (leftHeld ? MK_LBUTTON : 0) | (rightHeld ? MK_RBUTTON : 0);
    Post(WM_MOUSEMOVE, buttons, MakeLParam(static_cast<uint32_t>(x), static_cast<uint32_t>(y)));
}

void Win32Platform::InjectMouseButton(bool right, bool down, int x, int y) {
    (right ? rightHeld : leftHeld) = down;
    uintptr_t buttons = (leftHeld ? MK_LBUTTON : 0) | (rightHeld ? MK_RBUTTON : 0);
    uint32_t message =
        right ? (down ? WM_RBUTTONDOWN : WM_RBUTTONUP) : (down ? WM_LBUTTONDOWN : WM_LBUTTONUP);
    Post(message, buttons, MakeLParam(static_cast<uint32_t>(x), static_cast<uint32_t>(y)));
}

void Win32Platform::InjectClose() {
    Post(WM_CLOSE, 0, 0);
}

ModuleHandle Win32Platform::GetModuleHandle() {
    return reinterpret_cast<ModuleHandle>(GetModuleHandleA(nullptr));
}

bool Win32Platform::RegisterClass(const WindowClass& windowClass) {
    ClassEntry* slot = nullptr;
    for (ClassEntry& entry : classes)
        if (entry.atom == 0) slot = &entry;
    if (!slot || !windowClass.procedure || !windowClass.className) return false;

    WNDCLASSA wc{};
    wc.style = windowClass.style;
    wc.lpfnWndProc = ClassProcedure;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = reinterpret_cast<HINSTANCE>(windowClass.instance);
    wc.hIcon = windowClass.logoIcon ? LoadIconA(nullptr, IDI_WINLOGO) : nullptr;
    wc.hCursor = windowClass.arrowCursor ? LoadCursorA(nullptr, IDC_ARROW) : nullptr;
    wc.hbrBackground = nullptr;
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = windowClass.className;
    ATOM atom = RegisterClassA(&wc);
    if (atom == 0) return false;
    *slot = ClassEntry{atom, windowClass.className, windowClass.procedure};
    return true;
}

bool Win32Platform::UnregisterClass(const char* className, ModuleHandle instance) {
    if (!UnregisterClassA(className, reinterpret_cast<HINSTANCE>(instance))) return false;
    for (ClassEntry& entry : classes) // class names compare without regard to case
        if (entry.atom != 0 && lstrcmpiA(entry.name.c_str(), className) == 0) entry = ClassEntry{};
    return true;
}

bool Win32Platform::ChangeDisplayMode(const DisplayMode& mode) {
    static_assert(sizeof(DEVMODEA) == 156, "the ANSI display-mode record");
    DEVMODEA request;
    ZeroMemory(&request, sizeof request);
    request.dmSize = sizeof request;
    request.dmPelsWidth = mode.width;
    request.dmPelsHeight = mode.height;
    request.dmBitsPerPel = mode.bitsPerPixel;
    request.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsA(&request, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

void Win32Platform::RestoreDisplayMode() {
    ChangeDisplaySettingsA(nullptr, 0);
}

void Win32Platform::ShowCursor(bool show) {
    ::ShowCursor(show ? TRUE : FALSE);
}

void Win32Platform::AdjustWindowRect(WindowRect& rect, uint32_t style, uint32_t exStyle) {
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    rect = WindowRect{r.left, r.top, r.right, r.bottom};
}

WindowHandle Win32Platform::CreateWindow(uint32_t exStyle, const char* className, const char* title,
                                         uint32_t style, int x, int y, int width, int height,
                                         ModuleHandle instance) {
    HWND window = CreateWindowExA(exStyle, className, title, style, x, y, width, height, nullptr, nullptr,
                                  reinterpret_cast<HINSTANCE>(instance), nullptr);
    if (window) {
        newestWindow = ToHandle(window);
        rightHeld = leftHeld = false;
    }
    return ToHandle(window);
}

bool Win32Platform::DestroyWindow(WindowHandle window) {
    if (window == newestWindow) newestWindow = nullptr;
    return ::DestroyWindow(ToHwnd(window)) != FALSE;
}

void Win32Platform::ShowWindow(WindowHandle window) {
    ::ShowWindow(ToHwnd(window), SW_SHOW);
}

void Win32Platform::SetForegroundWindow(WindowHandle window) {
    ::SetForegroundWindow(ToHwnd(window));
}

void Win32Platform::SetFocus(WindowHandle window) {
    ::SetFocus(ToHwnd(window));
}

WindowHandle Win32Platform::GetFocus() {
    return ToHandle(::GetFocus());
}

DeviceContext Win32Platform::GetDC(WindowHandle window) {
    return reinterpret_cast<DeviceContext>(::GetDC(ToHwnd(window)));
}

bool Win32Platform::ReleaseDC(WindowHandle window, DeviceContext dc) {
    return ::ReleaseDC(ToHwnd(window), ToHdc(dc)) == 1;
}

namespace {

// The whole descriptor: what the request names, RGBA in the main plane, every other field zero.
PIXELFORMATDESCRIPTOR ToDescriptor(const PixelFormatRequest& request) {
    PIXELFORMATDESCRIPTOR pfd;
    ZeroMemory(&pfd, sizeof pfd);
    pfd.nSize = request.size;
    pfd.nVersion = request.version;
    pfd.dwFlags = request.flags;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = request.colorBits;
    pfd.cAlphaBits = request.alphaBits;
    pfd.cAccumBits = request.accumBits;
    pfd.cDepthBits = request.depthBits;
    pfd.cStencilBits = request.stencilBits;
    pfd.cAuxBuffers = request.auxBuffers;
    pfd.iLayerType = PFD_MAIN_PLANE;
    return pfd;
}

} // namespace

int Win32Platform::ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) {
    static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40, "the descriptor's size field says 40");
    PIXELFORMATDESCRIPTOR pfd = ToDescriptor(request);
    return ::ChoosePixelFormat(ToHdc(dc), &pfd);
}

bool Win32Platform::SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest& request) {
    PIXELFORMATDESCRIPTOR pfd = ToDescriptor(request);
    return ::SetPixelFormat(ToHdc(dc), format, &pfd) != FALSE;
}

RenderContext Win32Platform::CreateContext(DeviceContext dc) {
    return reinterpret_cast<RenderContext>(wglCreateContext(ToHdc(dc)));
}

bool Win32Platform::MakeCurrent(DeviceContext dc, RenderContext rc) {
    if (!wglMakeCurrent(ToHdc(dc), ToHglrc(rc))) {
        // Releasing when no context is current fails (ERROR_INVALID_HANDLE), yet no context is
        // current afterwards, as asked: after a failed activation the teardown has nothing to
        // release and reports nothing.
        return !rc && !wglGetCurrentContext();
    }
    if (rc && options.swapInterval >= 0) {
        using SwapIntervalProc = BOOL(WINAPI*)(int);
        PROC proc = wglGetProcAddress("wglSwapIntervalEXT");
        // void (*)() converts to and from any function pointer without a warning.
        auto setInterval = reinterpret_cast<SwapIntervalProc>(reinterpret_cast<void (*)()>(proc));
        if (setInterval) setInterval(options.swapInterval);
    }
    return true;
}

bool Win32Platform::DeleteContext(RenderContext rc) {
    return wglDeleteContext(ToHglrc(rc)) != FALSE;
}

bool Win32Platform::SwapBuffers(DeviceContext dc) {
    return ::SwapBuffers(ToHdc(dc)) != FALSE;
}

bool Win32Platform::PeekMessage(Message& message) {
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    message.window = ToHandle(msg.hwnd);
    message.message = msg.message;
    message.wParam = msg.wParam;
    message.lParam = msg.lParam;
    message.time = msg.time;
    message.pointX = msg.pt.x;
    message.pointY = msg.pt.y;
    return true;
}

void Win32Platform::TranslateMessage(const Message& message) {
    MSG msg = ToMsg(message);
    ::TranslateMessage(&msg);
}

intptr_t Win32Platform::DispatchMessage(const Message& message) {
    MSG msg = ToMsg(message);
    return DispatchMessageA(&msg);
}

void Win32Platform::PostQuitMessage(int exitCode) {
    ::PostQuitMessage(exitCode);
}

intptr_t Win32Platform::DefWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam,
                                      intptr_t lParam) {
    return DefWindowProcA(ToHwnd(window), message, wParam, lParam);
}

int Win32Platform::MessageBox(WindowHandle owner, const char* text, const char* caption, uint32_t flags) {
    return MessageBoxA(ToHwnd(owner), text, caption, flags);
}
