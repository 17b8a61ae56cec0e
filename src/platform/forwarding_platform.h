// A platform that passes every operation on to another one. Tools and tests that wrap the real
// platform (to feed it scripted input, to read frames back, to record calls) derive from it and
// override only what they change, so that a new operation is forwarded here, once.
#pragma once

#include "platform/platform.h"

class ForwardingPlatform : public Platform {
  public:
    explicit ForwardingPlatform(Platform& inner) : inner(inner) {}

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
    bool SwapBuffers(DeviceContext dc) override { return inner.SwapBuffers(dc); }
    bool PeekMessage(Message& message) override { return inner.PeekMessage(message); }
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

  protected:
    Platform& inner;
};
