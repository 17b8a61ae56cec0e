// The platform layer on the Windows API itself: each operation is the one Win32 / WGL call it is
// named after, and the window class's procedure hands every message Windows delivers to the
// program's window procedure unchanged. windows.h stays inside the .cpp file.
#pragma once

#include <bitset>

#include "platform/platform.h"

class Win32Platform : public Platform, public InputInjector {
  public:
    struct Options {
        // Swap interval set on every context made current, where the driver offers the swap
        // control extension: 0 draws without waiting for the display. -1 keeps the driver's own.
        int swapInterval = -1;
    };

    Win32Platform() = default;
    explicit Win32Platform(const Options& options) : options(options) {}

    // Scripted input is posted to the newest window's own queue as the window messages the
    // system would send, so it takes the real path through PeekMessageA and DispatchMessageA.
    void InjectKey(uint32_t virtualKey, bool down) override;
    void InjectMouseMove(int x, int y) override;
    void InjectMouseButton(bool right, bool down, int x, int y) override;
    void InjectClose() override;

    ModuleHandle GetModuleHandle() override;
    bool RegisterClass(const WindowClass& windowClass) override;
    bool UnregisterClass(const char* className, ModuleHandle instance) override;
    bool ChangeDisplayMode(const DisplayMode& mode) override;
    void RestoreDisplayMode() override;
    void ShowCursor(bool show) override;
    void AdjustWindowRect(WindowRect& rect, uint32_t style, uint32_t exStyle) override;
    WindowHandle CreateWindow(uint32_t exStyle, const char* className, const char* title, uint32_t style,
                              int x, int y, int width, int height, ModuleHandle instance) override;
    bool DestroyWindow(WindowHandle window) override;
    void ShowWindow(WindowHandle window) override;
    void SetForegroundWindow(WindowHandle window) override;
    void SetFocus(WindowHandle window) override;
    WindowHandle GetFocus() override;
    DeviceContext GetDC(WindowHandle window) override;
    bool ReleaseDC(WindowHandle window, DeviceContext dc) override;
    int ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) override;
    bool SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest& request) override;
    RenderContext CreateContext(DeviceContext dc) override;
    bool MakeCurrent(DeviceContext dc, RenderContext rc) override;
    bool DeleteContext(RenderContext rc) override;
    bool SwapBuffers(DeviceContext dc) override;
    bool PeekMessage(Message& message) override;
    void TranslateMessage(const Message& message) override;
    intptr_t DispatchMessage(const Message& message) override;
    void PostQuitMessage(int exitCode) override;
    intptr_t DefWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    int MessageBox(WindowHandle owner, const char* text, const char* caption, uint32_t flags) override;

  private:
    void Post(uint32_t message, uintptr_t wParam, intptr_t lParam);

    Options options;
    WindowHandle newestWindow = nullptr; // where injected input goes
    bool rightHeld = false;              // for the button state of injected mouse moves
    bool leftHeld = false;
    std::bitset<256> keysHeld; // injected keys now down, for the previous-state bit of repeats
};
