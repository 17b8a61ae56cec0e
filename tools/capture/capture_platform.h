// The capture tool's platform: any real platform, wrapped. Before each frame it feeds the scripted
// input into the real platform's own queue; at the chosen buffer swaps it reads the frame back
// before it is presented; after the last frame it closes the window as a user would. It times
// every frame on the way.
#pragma once

#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/input_script.h"
#include "common/png_file.h"
#include "platform/platform.h"

struct CaptureSettings {
    int frames = 0;
    std::set<int> shots;
    std::string out = "captures";
    std::vector<InputEvent> input;
    bool bench = false;
};

// The picture in the back buffer of the current context, top row first.
RgbPicture ReadBackBuffer(int width, int height);

class CapturePlatform : public Platform {
  public:
    using Clock = std::chrono::steady_clock;

    CapturePlatform(Platform& inner, InputInjector& input, const CaptureSettings& settings);

    int swaps = 0;
    int failedShots = 0;
    int savedShots = 0;
    std::vector<double>
        frameMs; // with --bench: time of each frame, from the previous swap (the first: loop start)
    double firstFrameStartupMs = -1.0;
    // Called after every buffer swap with its number, for front ends that watch a long run.
    std::function<void(int swap)> afterSwap;

    ModuleHandle GetModuleHandle() override { return inner.GetModuleHandle(); }
    bool RegisterClass(const WindowClass& windowClass) override { return inner.RegisterClass(windowClass); }
    bool UnregisterClass(const char* className, ModuleHandle instance) override {
        return inner.UnregisterClass(className, instance);
    }
    bool ChangeDisplayMode(const DisplayMode& mode) override { return inner.ChangeDisplayMode(mode); }
    void RestoreDisplayMode() override { inner.RestoreDisplayMode(); }
    void ShowCursor(bool show) override { inner.ShowCursor(show); }
    void AdjustWindowRect(WindowRect& rect, uint32_t style, uint32_t exStyle) override {
        inner.AdjustWindowRect(rect, style, exStyle);
    }
    WindowHandle CreateWindow(uint32_t exStyle, const char* className, const char* title, uint32_t style,
                              int x, int y, int width, int height, ModuleHandle instance) override {
        return inner.CreateWindow(exStyle, className, title, style, x, y, width, height, instance);
    }
    bool DestroyWindow(WindowHandle window) override { return inner.DestroyWindow(window); }
    void ShowWindow(WindowHandle window) override { inner.ShowWindow(window); }
    void SetForegroundWindow(WindowHandle window) override { inner.SetForegroundWindow(window); }
    void SetFocus(WindowHandle window) override { inner.SetFocus(window); }
    WindowHandle GetFocus() override { return inner.GetFocus(); }
    DeviceContext GetDC(WindowHandle window) override { return inner.GetDC(window); }
    bool ReleaseDC(WindowHandle window, DeviceContext dc) override { return inner.ReleaseDC(window, dc); }
    int ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) override {
        return inner.ChoosePixelFormat(dc, request);
    }
    bool SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest& request) override {
        return inner.SetPixelFormat(dc, format, request);
    }
    RenderContext CreateContext(DeviceContext dc) override { return inner.CreateContext(dc); }
    bool MakeCurrent(DeviceContext dc, RenderContext rc) override { return inner.MakeCurrent(dc, rc); }
    bool DeleteContext(RenderContext rc) override { return inner.DeleteContext(rc); }
    bool SwapBuffers(DeviceContext dc) override;
    bool PeekMessage(Message& message) override;
    void TranslateMessage(const Message& message) override { inner.TranslateMessage(message); }
    intptr_t DispatchMessage(const Message& message) override { return inner.DispatchMessage(message); }
    void PostQuitMessage(int exitCode) override { inner.PostQuitMessage(exitCode); }
    intptr_t DefWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam,
                           intptr_t lParam) override {
        return inner.DefWindowProc(window, message, wParam, lParam);
    }
    int MessageBox(WindowHandle owner, const char* text, const char* caption, uint32_t flags) override {
        return inner.MessageBox(owner, text, caption, flags);
    }
    bool RenderContextLost() override { return inner.RenderContextLost(); }

  private:
    void Deliver(int frame);
    void SaveShot(int frame);

    Platform& inner;
    InputInjector& input;
    const CaptureSettings& settings;
    std::vector<InputEvent> events; // the script in frame order
    size_t nextEvent = 0;
    bool started = false;
    int deliveredFor = 0;
    Clock::time_point loopStart;
    Clock::time_point lastSwap;
};

// The same number of frames that only clear and swap, in a 640 x 480 window of the same platform:
// what the driver costs without the scene.
std::vector<double> ClearOnlyFrames(Platform& platform, int frames);
