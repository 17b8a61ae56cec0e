// The platform layer in a web page, on Emscripten's html5.h. The page (web/) holds the container
// the windows go into, the on-screen controls, the message-box dialog and the end-of-program notice.
//
//   class, module, focus          bookkeeping
//   cursor                        the canvas's CSS cursor; asked for before the window exists (as
//                                 fullscreen does), it is kept for every canvas to come
//   display mode                  the Fullscreen API on the stage (the container and the controls),
//                                 which outlives the canvases; a refusal (no user gesture, a frame
//                                 that forbids it, a phone without the API) is a refused mode, so the
//                                 program asks its usual question; when the browser leaves fullscreen
//                                 by itself, an F1 press takes the program back to its window
//   window, device context        a new 640 x 480 canvas per window; the last one stays in the page,
//                                 retired, until the next window or the end of the program
//   pixel format, context         a WebGL 2 context (no alpha, no antialiasing) with the GL 1.1 layer
//                                 on it, drawing into a framebuffer object with the depth buffer the
//                                 pixel format asks for (web_gl.h); a closed context is lost on purpose
//                                 (WEBGL_lose_context), so the browser's limit on live contexts is
//                                 never reached; one the browser takes away is reported through
//                                 RenderContextLost, and the loop builds the window again
//   messages                      keys become key messages with the desktop's virtual-key codes
//                                 (web_keys.h); the page's pointer events, mapped onto the picture,
//                                 become mouse messages, a finger on the picture the right button;
//                                 the on-screen controls send their keys. Nothing stays held that the
//                                 user let go of: a drag ends wherever it is released, and a page
//                                 that loses the focus or is hidden, or a dialog that opens, lets go
//                                 of every key and the button. Hiding the page is minimising
//   swap                          the frame is flushed and copied to the canvas, and the page yields
//                                 until the next display refresh (or, without it, at once), so the
//                                 browser presents it
//   message box                   an in-page dialog that keeps the focus until it is answered; the
//                                 program waits for the answer (Asyncify), and keys pressed meanwhile
//                                 go to the dialog, not to the scene
#pragma once

#include <memory>

#include "platform/platform.h"

class WebPlatform : public Platform, public InputInjector {
  public:
    struct Options {
        // Frames follow the display's refresh; without it the page yields only as long as it takes
        // the browser to handle waiting events (the bench mode of the capture tool).
        bool followDisplay = true;
    };

    WebPlatform();
    explicit WebPlatform(const Options& options);
    ~WebPlatform() override;

    // Scripted input goes into the same queue, as the messages a real key or drag would give.
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
    bool RenderContextLost() override;

    struct State;

  private:
    std::unique_ptr<State> state;
};

// Tells the page that the program has ended with `exitCode`: it says so and offers to start again.
void WebProgramEnded(int exitCode);
