#include "support/scripted_platform.h"

#include <algorithm>
#include <cstring>

void ScriptedPlatform::Fail(const std::string& operation, int nth) {
    failures[operation].push_back(nth);
}

void ScriptedPlatform::QueueBeforePass(int pass, const Message& message) {
    script.Add(pass, message);
}

void ScriptedPlatform::KeyDownBeforePass(int pass, uint32_t virtualKey) {
    QueueBeforePass(pass, Message{nullptr, WM_KEYDOWN, virtualKey, KeyMessageLParam(0, false, false, false)});
}

void ScriptedPlatform::KeyUpBeforePass(int pass, uint32_t virtualKey) {
    QueueBeforePass(pass, Message{nullptr, WM_KEYUP, virtualKey, KeyMessageLParam(0, false, true, true)});
}

void ScriptedPlatform::Queue(const Message& message) {
    queue.push_back(message);
}

int ScriptedPlatform::Count(const std::string& prefix) const {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const std::string& line) {
        return line.compare(0, prefix.size(), prefix) == 0 &&
               (line.size() == prefix.size() || line[prefix.size()] == ' ');
    }));
}

bool ScriptedPlatform::Record(const std::string& line, const std::string& operation) {
    calls.push_back(line);
    int n = ++callCounts[operation];
    auto found = failures.find(operation);
    if (found == failures.end()) return false;
    for (int nth : found->second)
        if (nth == 0 || nth == n) return true;
    return false;
}

ModuleHandle ScriptedPlatform::GetModuleHandle() {
    calls.push_back("GetModuleHandle");
    return reinterpret_cast<ModuleHandle>(static_cast<uintptr_t>(0x400000));
}

bool ScriptedPlatform::RegisterClass(const WindowClass& windowClass) {
    lastClass = windowClass;
    if (Record(std::string("RegisterClass ") + windowClass.className, "RegisterClass")) return false;
    if (classProc) return false; // already registered
    if (!inner.RegisterClass(windowClass)) return false;
    classProc = windowClass.procedure;
    className = windowClass.className;
    return true;
}

bool ScriptedPlatform::UnregisterClass(const char* name, ModuleHandle instance) {
    bool fail = Record(std::string("UnregisterClass ") + name, "UnregisterClass");
    if (!classProc || className != name || liveWindows > 0) return false;
    if (fail) return false;
    inner.UnregisterClass(name, instance);
    classProc = nullptr;
    className.clear();
    return true;
}

bool ScriptedPlatform::ChangeDisplayMode(const DisplayMode& mode) {
    lastDisplayMode = mode;
    if (Record("ChangeDisplayMode " + std::to_string(mode.width) + "x" + std::to_string(mode.height) + "x" +
                   std::to_string(mode.bitsPerPixel),
               "ChangeDisplayMode"))
        return false;
    displayModeChanged = true;
    return true;
}

void ScriptedPlatform::RestoreDisplayMode() {
    calls.push_back("RestoreDisplayMode");
    displayModeChanged = false;
}

void ScriptedPlatform::ShowCursor(bool show) {
    calls.push_back(show ? "ShowCursor 1" : "ShowCursor 0");
    cursorCount += show ? 1 : -1;
}

void ScriptedPlatform::AdjustWindowRect(WindowRect& rect, uint32_t style, uint32_t exStyle) {
    calls.push_back("AdjustWindowRect");
    // A made-up frame, so that tests can see the grown rectangle reach CreateWindow.
    if (style & WS_OVERLAPPEDWINDOW) {
        rect.left -= 8;
        rect.top -= 31;
        rect.right += 8;
        rect.bottom += 8;
    }
    (void)exStyle;
    lastAdjustedRect = rect;
}

WindowHandle ScriptedPlatform::CreateWindow(uint32_t exStyle, const char* name, const char* title,
                                            uint32_t style, int x, int y, int width, int height,
                                            ModuleHandle instance) {
    lastExStyle = exStyle;
    lastStyle = style;
    lastTitle = title;
    lastX = x;
    lastY = y;
    lastWidth = width;
    lastHeight = height;
    if (Record("CreateWindow", "CreateWindow")) return nullptr;
    if (!classProc || className != name) return nullptr;
    WindowHandle window = inner.CreateWindow(exStyle, name, title, style, x, y, width, height, instance);
    if (!window) return nullptr;
    ++liveWindows;
    if (sendSizeOnCreate) {
        // Sent from inside the creation, so no rendering context is current yet.
        classProc(window, WM_SIZE, SIZE_RESTORED, MakeLParam(640, 480));
    }
    return window;
}

bool ScriptedPlatform::DestroyWindow(WindowHandle window) {
    bool fail = Record("DestroyWindow", "DestroyWindow");
    if (fail) return false;
    inner.DestroyWindow(window);
    if (focus == window) focus = nullptr;
    --liveWindows;
    return true;
}

void ScriptedPlatform::ShowWindow(WindowHandle window) {
    calls.push_back("ShowWindow");
    inner.ShowWindow(window);
}

void ScriptedPlatform::SetForegroundWindow(WindowHandle window) {
    calls.push_back("SetForegroundWindow");
    inner.SetForegroundWindow(window);
}

void ScriptedPlatform::SetFocus(WindowHandle window) {
    calls.push_back("SetFocus");
    focus = window;
    inner.SetFocus(window);
}

WindowHandle ScriptedPlatform::GetFocus() {
    return focus;
}

DeviceContext ScriptedPlatform::GetDC(WindowHandle window) {
    if (Record("GetDC", "GetDC")) return nullptr;
    return inner.GetDC(window);
}

bool ScriptedPlatform::ReleaseDC(WindowHandle window, DeviceContext dc) {
    if (Record("ReleaseDC", "ReleaseDC")) return false;
    return inner.ReleaseDC(window, dc);
}

int ScriptedPlatform::ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) {
    lastPixelFormat = request;
    if (Record("ChoosePixelFormat", "ChoosePixelFormat")) return 0;
    chosenFormat = inner.ChoosePixelFormat(dc, request);
    return chosenFormat;
}

bool ScriptedPlatform::SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest& request) {
    // Format numbers are the system's own; what matters is that the chosen one is set.
    std::string line = format != 0 && format == chosenFormat ? "chosen" : std::to_string(format);
    if (Record("SetPixelFormat " + line, "SetPixelFormat")) return false;
    return inner.SetPixelFormat(dc, format, request);
}

RenderContext ScriptedPlatform::CreateContext(DeviceContext dc) {
    if (Record("CreateContext", "CreateContext")) return nullptr;
    RenderContext rc = inner.CreateContext(dc);
    if (rc) ++liveContexts;
    return rc;
}

bool ScriptedPlatform::MakeCurrent(DeviceContext dc, RenderContext rc) {
    if (Record(rc ? "MakeCurrent" : "MakeCurrent none", "MakeCurrent")) return false;
    return inner.MakeCurrent(dc, rc);
}

bool ScriptedPlatform::DeleteContext(RenderContext rc) {
    if (Record("DeleteContext", "DeleteContext")) return false;
    inner.DeleteContext(rc);
    --liveContexts;
    return true;
}

bool ScriptedPlatform::SwapBuffers(DeviceContext dc) {
    calls.push_back("SwapBuffers");
    return inner.SwapBuffers(dc);
}

bool ScriptedPlatform::PeekMessage(Message& message) {
    if (queue.empty() && loadedPass <= idlePasses) {
        // Messages scripted for the next idle pass arrive before it.
        loadedPass = idlePasses + 1;
        script.DeliverDue(loadedPass, [this](const Message& message) { queue.push_back(message); });
    }
    if (!queue.empty()) {
        message = queue.front();
        queue.pop_front();
        return true;
    }
    if (quitPosted) {
        // Like the real queue: a quit message comes only once nothing else waits.
        quitPosted = false;
        message = Message{nullptr, WM_QUIT, static_cast<uintptr_t>(quitCode), 0};
        return true;
    }
    ++idlePasses;
    if (idlePasses > maxIdlePasses && !ranAway) {
        ranAway = true;
        queue.push_back(Message{nullptr, WM_QUIT, 0, 0});
    }
    if (onIdlePass) onIdlePass(idlePasses);
    return false;
}

void ScriptedPlatform::TranslateMessage(const Message&) {}

intptr_t ScriptedPlatform::DispatchMessage(const Message& message) {
    if (!classProc) return 0;
    return classProc(message.window, message.message, message.wParam, message.lParam);
}

void ScriptedPlatform::PostQuitMessage(int exitCode) {
    calls.push_back("PostQuitMessage " + std::to_string(exitCode));
    quitPosted = true;
    quitCode = exitCode;
}

intptr_t ScriptedPlatform::DefWindowProc(WindowHandle, uint32_t message, uintptr_t, intptr_t) {
    defaultHandled.push_back(message);
    return 0;
}

int ScriptedPlatform::MessageBox(WindowHandle owner, const char* text, const char* caption, uint32_t flags) {
    calls.push_back(std::string("MessageBox ") + caption + ": " + text);
    int answer = (flags & MB_YESNO) ? IDNO : IDOK;
    if (!boxAnswers.empty()) {
        answer = boxAnswers.front();
        boxAnswers.pop_front();
    }
    boxes.push_back(Box{owner, text, caption, flags, answer});
    return answer;
}
