// The platform layer on SDL2: a real window (X11, Wayland) or SDL's offscreen driver, an OpenGL
// compatibility context, SDL's events translated into window messages with Windows virtual-key
// codes, and SDL's message boxes. The only part of the program that includes SDL headers.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

class SdlPlatform : public Platform, public InputInjector {
  public:
    struct Options {
        // Swap interval asked for on every context: 1 follows the display's refresh where the
        // driver allows it, 0 draws as fast as possible.
        int swapInterval = 1;
    };

    // Starts SDL's video subsystem. With `allowOffscreen` false, SDL's silent fallback to its
    // offscreen or dummy driver (no X server, no Wayland) counts as "no display": false, with the
    // reason in `error`. SDL_VIDEODRIVER=offscreen in the environment always allows it.
    // `windowClass`, when given, names the program's windows to the window system (the X11
    // WM_CLASS), which SDL reads only as its video starts.
    static bool StartVideo(bool allowOffscreen, std::string& error, const char* windowClass = nullptr);
    static void StopVideo();
    // The entry point's first call: true in a message-box helper, which then returns `exitCode`
    // at once (see sdl_message_box.h); false in the program itself.
    static bool RunMessageBoxHelper(int argc, char** argv, int& exitCode);
    // Name of the video driver in use ("x11", "wayland", "offscreen", ...).
    static std::string VideoDriver();

    SdlPlatform();
    explicit SdlPlatform(const Options& options);
    ~SdlPlatform() override;

    // Scripted input goes into SDL's own queue and through the same translation as real events.
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
    struct State;
    std::unique_ptr<State> state;
};
