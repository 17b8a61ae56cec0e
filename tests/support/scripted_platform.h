// A platform for tests: messages come from a script, any operation can be made to fail, every
// call and every message box is recorded, and boxes are answered from a queue.
//
// Windows, device contexts, rendering contexts and swaps are passed on to the platform it wraps: a
// real one, so that a real OpenGL context exists while the messages, boxes, display modes and
// failures stay scripted, or by default a null platform that makes up handles.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/input_schedule.h"
#include "platform/forwarding_platform.h"

// A platform that does nothing and succeeds: windows, device contexts and rendering contexts are
// made-up handles, and no message ever waits.
class NullPlatform : public Platform {
  public:
    ModuleHandle GetModuleHandle() override { return MakeHandle<ModuleHandle>(); }
    bool RegisterClass(const WindowClass&) override { return true; }
    bool UnregisterClass(const char*, ModuleHandle) override { return true; }
    bool ChangeDisplayMode(const DisplayMode&) override { return true; }
    void RestoreDisplayMode() override {}
    void ShowCursor(bool) override {}
    void AdjustWindowRect(WindowRect&, uint32_t, uint32_t) override {}
    WindowHandle CreateWindow(uint32_t, const char*, const char*, uint32_t, int, int, int, int,
                              ModuleHandle) override {
        return MakeHandle<WindowHandle>();
    }
    bool DestroyWindow(WindowHandle) override { return true; }
    void ShowWindow(WindowHandle) override {}
    void SetForegroundWindow(WindowHandle) override {}
    void SetFocus(WindowHandle) override {}
    WindowHandle GetFocus() override { return nullptr; }
    DeviceContext GetDC(WindowHandle) override { return MakeHandle<DeviceContext>(); }
    bool ReleaseDC(WindowHandle, DeviceContext) override { return true; }
    int ChoosePixelFormat(DeviceContext, const PixelFormatRequest&) override { return 1; }
    bool SetPixelFormat(DeviceContext, int format, const PixelFormatRequest&) override { return format != 0; }
    RenderContext CreateContext(DeviceContext) override { return MakeHandle<RenderContext>(); }
    bool MakeCurrent(DeviceContext, RenderContext) override { return true; }
    bool DeleteContext(RenderContext) override { return true; }
    bool SwapBuffers(DeviceContext) override { return true; }
    bool PeekMessage(Message&) override { return false; }
    void TranslateMessage(const Message&) override {}
    intptr_t DispatchMessage(const Message&) override { return 0; }
    void PostQuitMessage(int) override {}
    intptr_t DefWindowProc(WindowHandle, uint32_t, uintptr_t, intptr_t) override { return 0; }
    int MessageBox(WindowHandle, const char*, const char*, uint32_t) override { return 0; }

  private:
    template <typename Handle> Handle MakeHandle() {
        return reinterpret_cast<Handle>(static_cast<uintptr_t>(0x1000 + 0x10 * ++handleCounter));
    }
    int handleCounter = 0;
};

class ScriptedPlatform : public ForwardingPlatform {
  public:
    // With made-up handles, or with the windows and contexts of `real`.
    ScriptedPlatform() : ForwardingPlatform(none) {}
    explicit ScriptedPlatform(Platform& real) : ForwardingPlatform(real) {}

    struct Box {
        WindowHandle owner;
        std::string text;
        std::string caption;
        uint32_t flags;
        int answer;
    };

    // One line per call, in order: "CreateWindow", "SetPixelFormat chosen" (the format that
    // ChoosePixelFormat returned), "MakeCurrent", "MakeCurrent none", ...
    std::vector<std::string> calls;
    std::vector<Box> boxes;
    // Answers for the next boxes. When empty, an OK box answers IDOK and a Yes/No box IDNO.
    std::deque<int> boxAnswers;
    // Messages the window procedure passed on to the default handling.
    std::vector<uint32_t> defaultHandled;

    // The window size that WM_SIZE reports when a window is created (a message sent from inside
    // the creation, before any rendering context exists).
    bool sendSizeOnCreate = true;
    // Safety stop: after this many idle passes a WM_QUIT is queued and `ranAway` is set.
    int maxIdlePasses = 100000;
    bool ranAway = false;

    // Makes the n-th call (1-based) of an operation fail; n = 0 makes every call fail.
    void Fail(const std::string& operation, int nth = 0);

    // Queues a message to arrive before idle pass `pass` (1-based): the loop handles it, and every
    // other message queued for that pass, before the pass runs.
    void QueueBeforePass(int pass, const Message& message);
    void KeyDownBeforePass(int pass, uint32_t virtualKey);
    void KeyUpBeforePass(int pass, uint32_t virtualKey);
    // Queues a message now, behind whatever waits.
    void Queue(const Message& message);

    // Called at the start of every idle pass, with its number (1-based).
    std::function<void(int pass)> onIdlePass;

    int IdlePasses() const { return idlePasses; }
    // Number of recorded calls whose line starts with `prefix`.
    int Count(const std::string& prefix) const;
    bool DisplayModeChanged() const { return displayModeChanged; }
    int CursorShowCount() const { return cursorCount; }
    int LiveWindows() const { return liveWindows; }
    int LiveContexts() const { return liveContexts; }
    bool ClassRegistered() const { return classProc != nullptr; }

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

    // The last arguments seen, for tests that check what was asked for.
    WindowClass lastClass;
    DisplayMode lastDisplayMode;
    WindowRect lastAdjustedRect;
    uint32_t lastExStyle = 0;
    uint32_t lastStyle = 0;
    std::string lastTitle;
    int lastX = 0, lastY = 0, lastWidth = 0, lastHeight = 0;
    PixelFormatRequest lastPixelFormat;

  private:
    // Records the call and tells whether it is to fail.
    bool Record(const std::string& line, const std::string& operation);

    NullPlatform none;
    std::map<std::string, int> callCounts;
    std::map<std::string, std::vector<int>> failures;
    InputSchedule<Message> script; // by the idle pass each message comes before
    std::deque<Message> queue;
    WindowProc classProc = nullptr;
    std::string className;
    WindowHandle focus = nullptr;
    int chosenFormat = 0;
    int idlePasses = 0;
    bool displayModeChanged = false;
    int cursorCount = 0; // ShowCursor's display counter: 0 shows the cursor
    int liveWindows = 0;
    int liveContexts = 0;
    int loadedPass = 0;
    bool quitPosted = false;
    int quitCode = 0;
};
