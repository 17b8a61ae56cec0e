#include "platform/web_platform.h"

#include <emscripten.h>
#include <emscripten/html5.h>
#include <emscripten/html5_webgl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "gl/gl_layer.h"
#include "gl/opengl.h"
#include "platform/message_queue.h"
#include "platform/virtual_keys.h"
#include "platform/web_gl.h"
#include "platform/web_keys.h"

// The page's side. QuorvanePage (web/page.js) holds the container, the dialog and the notices; the
// waits are asynchronous imports, the only calls at which the program's stack is put aside while
// the browser runs (Asyncify).

EM_JS(int, qv_create_canvas, (int id, int width, int height),
      { return QuorvanePage.createCanvas(id, width, height) ? 1 : 0; });
EM_JS(void, qv_show_canvas, (int id), { QuorvanePage.showCanvas(id); });
EM_JS(void, qv_focus_canvas, (int id), { QuorvanePage.focusCanvas(id); });
EM_JS(void, qv_retire_canvas, (int id), { QuorvanePage.retireCanvas(id); });
EM_JS(void, qv_set_cursor, (int id, int show), { QuorvanePage.setCursor(id, show != 0); });
EM_JS(void, qv_lose_context, (int handle), {
    // The context goes now, not when the collector finds it: browsers keep a few live contexts only.
    var context = GL.getContext(handle);
    var extension = context && context.GLctx.getExtension('WEBGL_lose_context');
    if (extension) extension.loseContext();
});
EM_JS(int, qv_is_fullscreen, (), { return QuorvanePage.isFullscreen() ? 1 : 0; });
EM_ASYNC_JS(int, qv_request_fullscreen, (), { return (await QuorvanePage.requestFullscreen()) ? 1 : 0; });
EM_JS(void, qv_exit_fullscreen, (), { QuorvanePage.exitFullscreen(); });
EM_ASYNC_JS(int, qv_message_box, (const char* text, const char* caption, int yesNo, int icon), {
    return await QuorvanePage.messageBox(UTF8ToString(text), UTF8ToString(caption), yesNo != 0, icon);
});
EM_JS(int, qv_dialog_open, (), { return QuorvanePage.dialogOpen() ? 1 : 0; });
EM_ASYNC_JS(void, qv_present, (int followDisplay), { await QuorvanePage.present(followDisplay != 0); });
EM_ASYNC_JS(void, qv_idle, (), { await QuorvanePage.idle(); });
EM_JS(void, qv_program_ended, (int exitCode), { QuorvanePage.programEnded(exitCode); });

namespace {

uint32_t Now() {
    return static_cast<uint32_t>(emscripten_get_now());
}

struct WebWindow {
    int id = 0;
    int width = 0, height = 0;
    char selector[40] = {};
};

struct WebContext {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE webgl = 0;
    QglContext* layer = nullptr;
    WebDrawingBuffer buffer;
    int width = 0, height = 0;
};

} // namespace

struct WebPlatform::State {
    Options options;
    MessageQueue queue;
    std::string className;
    WindowProc procedure = nullptr;
    WebWindow* window = nullptr;
    WebContext* context = nullptr;
    PixelFormatRequest pixelFormat; // as the window's pixel format was set
    int nextWindowId = 1;
    bool hidden = false;
    bool yielded = true;      // the page has yielded since the last pass that found no message
    bool contextLost = false; // the browser took the current context away; not yet reported
    bool rebuilding = false;  // the loop is building the window again after a loss
    int mouseX = 0, mouseY = 0;
    uint32_t buttons = 0; // MK_* of the buttons held

    WindowHandle Handle() const { return reinterpret_cast<WindowHandle>(window); }

    void Post(uint32_t message, uintptr_t wParam, intptr_t lParam) {
        Message m;
        m.window = Handle();
        m.message = message;
        m.wParam = wParam;
        m.lParam = lParam;
        m.time = Now();
        m.pointX = mouseX;
        m.pointY = mouseY;
        queue.Post(m);
    }

    void PostKey(uint32_t virtualKey, bool down, bool repeat, bool alt) {
        bool system = IsSystemKey(virtualKey, alt);
        uint32_t message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
        // Browsers report no scan code.
        Post(message, virtualKey, KeyMessageLParam(0, false, repeat || !down, !down));
    }

    void PostButton(bool right, bool down, int x, int y) {
        mouseX = x;
        mouseY = y;
        uint32_t bit = right ? MK_RBUTTON : MK_LBUTTON;
        buttons = down ? (buttons | bit) : (buttons & ~bit);
        uint32_t message =
            right ? (down ? WM_RBUTTONDOWN : WM_RBUTTONUP) : (down ? WM_LBUTTONDOWN : WM_LBUTTONUP);
        Post(message, buttons, MakeLParam(static_cast<uint32_t>(x), static_cast<uint32_t>(y)));
    }

    void PostMove(int x, int y) {
        mouseX = x;
        mouseY = y;
        Post(WM_MOUSEMOVE, buttons, MakeLParam(static_cast<uint32_t>(x), static_cast<uint32_t>(y)));
    }

    // Client pixels of the 640 x 480 window, however large the page shows the canvas (fullscreen
    // scales it).
    void ClientPoint(const EmscriptenMouseEvent& e, int& x, int& y) const {
        double cssWidth = 640.0, cssHeight = 480.0;
        if (window) emscripten_get_element_css_size(window->selector, &cssWidth, &cssHeight);
        x = cssWidth > 0 ? static_cast<int>(static_cast<double>(e.targetX) * 640.0 / cssWidth) : 0;
        y = cssHeight > 0 ? static_cast<int>(static_cast<double>(e.targetY) * 480.0 / cssHeight) : 0;
        if (x < 0) x = 0;
        if (y < 0) y = 0;
    }
};

namespace {

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* e, void* data) {
    auto* state = static_cast<WebPlatform::State*>(data);
    // A dialog has the keys to itself, and the browser keeps its own actions on them.
    if (qv_dialog_open()) return EM_FALSE;
    uint32_t vk = VirtualKeyFromDom(e->key, e->code);
    if (vk == 0) return EM_FALSE;
    bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
    state->PostKey(vk, down, down && e->repeat, e->altKey);
    return KeepFromBrowser(vk) ? EM_TRUE : EM_FALSE;
}

EM_BOOL OnMouseButton(int type, const EmscriptenMouseEvent* e, void* data) {
    auto* state = static_cast<WebPlatform::State*>(data);
    if (e->button != 0 && e->button != 2) return EM_FALSE;
    int x = 0, y = 0;
    state->ClientPoint(*e, x, y);
    state->PostButton(e->button == 2, type == EMSCRIPTEN_EVENT_MOUSEDOWN, x, y);
    return e->button == 2 ? EM_TRUE : EM_FALSE;
}

EM_BOOL OnMouseMove(int, const EmscriptenMouseEvent* e, void* data) {
    auto* state = static_cast<WebPlatform::State*>(data);
    int x = 0, y = 0;
    state->ClientPoint(*e, x, y);
    state->PostMove(x, y);
    return EM_FALSE;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* e, void* data) {
    auto* state = static_cast<WebPlatform::State*>(data);
    bool hidden = e->hidden != 0;
    if (hidden == state->hidden || !state->window) {
        state->hidden = hidden;
        return EM_FALSE;
    }
    state->hidden = hidden;
    // A hidden page is a minimised window: no frames, and a size of 0 x 0 until it shows again.
    if (hidden) {
        state->Post(WM_ACTIVATE, WA_INACTIVE | (uintptr_t{1} << 16), 0);
        state->Post(WM_SIZE, SIZE_MINIMIZED, MakeLParam(0, 0));
    } else {
        state->Post(WM_ACTIVATE, WA_ACTIVE, 0);
        state->Post(WM_SIZE, SIZE_RESTORED, MakeLParam(640, 480));
    }
    return EM_FALSE;
}

EM_BOOL OnContextLost(int, const void*, void* data) {
    auto* state = static_cast<WebPlatform::State*>(data);
    // Only the live window's context counts: the ones the platform closed itself are lost on purpose.
    if (state->context) state->contextLost = true;
    return EM_FALSE; // not restored: the loop makes a new canvas and context
}

void ListenToCanvas(const char* selector, WebPlatform::State* state) {
    emscripten_set_mousedown_callback(selector, state, EM_FALSE, OnMouseButton);
    emscripten_set_mouseup_callback(selector, state, EM_FALSE, OnMouseButton);
    emscripten_set_mousemove_callback(selector, state, EM_FALSE, OnMouseMove);
    emscripten_set_webglcontextlost_callback(selector, state, EM_FALSE, OnContextLost);
}

void StopListeningToCanvas(const char* selector) {
    emscripten_set_mousedown_callback(selector, nullptr, EM_FALSE, nullptr);
    emscripten_set_mouseup_callback(selector, nullptr, EM_FALSE, nullptr);
    emscripten_set_mousemove_callback(selector, nullptr, EM_FALSE, nullptr);
    emscripten_set_webglcontextlost_callback(selector, nullptr, EM_FALSE, nullptr);
}

} // namespace

WebPlatform::WebPlatform() : WebPlatform(Options{}) {}

WebPlatform::WebPlatform(const Options& options) : state(std::make_unique<State>()) {
    state->options = options;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, state.get(), EM_FALSE, OnKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, state.get(), EM_FALSE, OnKey);
    emscripten_set_visibilitychange_callback(state.get(), EM_FALSE, OnVisibility);
    EmscriptenVisibilityChangeEvent visibility{};
    if (emscripten_get_visibility_status(&visibility) == EMSCRIPTEN_RESULT_SUCCESS)
        state->hidden = visibility.hidden != 0;
}

WebPlatform::~WebPlatform() {
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, nullptr);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, nullptr);
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, nullptr);
    if (state->context) DeleteContext(reinterpret_cast<RenderContext>(state->context));
    if (state->window) DestroyWindow(state->Handle());
}

void WebPlatform::InjectKey(uint32_t virtualKey, bool down) {
    if (virtualKey == 0 || virtualKey > 0xFF) return;
    state->PostKey(virtualKey, down, false, false);
}

void WebPlatform::InjectMouseMove(int x, int y) {
    state->PostMove(x, y);
}

void WebPlatform::InjectMouseButton(bool right, bool down, int x, int y) {
    state->PostButton(right, down, x, y);
}

void WebPlatform::InjectClose() {
    state->Post(WM_CLOSE, 0, 0);
}

ModuleHandle WebPlatform::GetModuleHandle() {
    static char module;
    return reinterpret_cast<ModuleHandle>(&module);
}

bool WebPlatform::RegisterClass(const WindowClass& windowClass) {
    if (state->procedure || !windowClass.className || !windowClass.procedure) return false;
    state->procedure = windowClass.procedure;
    state->className = windowClass.className;
    return true;
}

bool WebPlatform::UnregisterClass(const char* className, ModuleHandle) {
    if (!state->procedure || state->className != className || state->window) return false;
    state->procedure = nullptr;
    state->className.clear();
    return true;
}

bool WebPlatform::ChangeDisplayMode(const DisplayMode& mode) {
    // The page has one mode to offer: its 640 x 480 canvas filling the screen, at the screen's depth.
    if (mode.width != 640 || mode.height != 480) return false;
    if (qv_is_fullscreen()) return true;
    return qv_request_fullscreen() != 0;
}

void WebPlatform::RestoreDisplayMode() {
    // Building the window again after a lost context keeps the mode it had.
    if (state->rebuilding) return;
    qv_exit_fullscreen();
}

void WebPlatform::ShowCursor(bool show) {
    if (state->window) qv_set_cursor(state->window->id, show ? 1 : 0);
}

void WebPlatform::AdjustWindowRect(WindowRect&, uint32_t, uint32_t) {
    // A canvas has no frame: the client rectangle is the window.
}

WindowHandle WebPlatform::CreateWindow(uint32_t, const char* className, const char*, uint32_t, int, int,
                                       int width, int height, ModuleHandle) {
    if (!state->procedure || state->className != className || state->window) return nullptr;
    int id = state->nextWindowId++;
    if (!qv_create_canvas(id, width, height)) return nullptr;
    auto* window = new WebWindow;
    window->id = id;
    window->width = width;
    window->height = height;
    std::snprintf(window->selector, sizeof window->selector, "#quorvane-canvas-%d", id);
    ListenToCanvas(window->selector, state.get());
    state->window = window;
    return state->Handle();
}

bool WebPlatform::DestroyWindow(WindowHandle handle) {
    if (!handle || handle != state->Handle()) return false;
    StopListeningToCanvas(state->window->selector);
    // The canvas stays in the page until the next window takes its place.
    qv_retire_canvas(state->window->id);
    delete state->window;
    state->window = nullptr;
    state->buttons = 0;
    return true;
}

void WebPlatform::ShowWindow(WindowHandle handle) {
    if (handle && handle == state->Handle()) qv_show_canvas(state->window->id);
}

void WebPlatform::SetForegroundWindow(WindowHandle) {
    // The page is the foreground; nothing to raise.
}

void WebPlatform::SetFocus(WindowHandle handle) {
    if (handle && handle == state->Handle()) qv_focus_canvas(state->window->id);
}

WindowHandle WebPlatform::GetFocus() {
    return state->Handle();
}

// The window is its own device context.
DeviceContext WebPlatform::GetDC(WindowHandle handle) {
    if (!handle || handle != state->Handle()) return nullptr;
    return reinterpret_cast<DeviceContext>(handle);
}

bool WebPlatform::ReleaseDC(WindowHandle handle, DeviceContext dc) {
    return dc && reinterpret_cast<WindowHandle>(dc) == handle;
}

int WebPlatform::ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) {
    // WebGL offers one kind of drawing buffer: RGB(A) with an optional depth buffer, always double
    // buffered by the browser.
    if (!dc || !(request.flags & PFD_SUPPORT_OPENGL) || !(request.flags & PFD_DRAW_TO_WINDOW)) return 0;
    return 1;
}

bool WebPlatform::SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest& request) {
    if (!dc || format != 1) return false;
    state->pixelFormat = request;
    return true;
}

RenderContext WebPlatform::CreateContext(DeviceContext dc) {
    if (!dc || state->context || reinterpret_cast<WindowHandle>(dc) != state->Handle()) return nullptr;
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_FALSE; // the drawing buffer has the depth buffer asked for
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    attributes.preserveDrawingBuffer = EM_FALSE;
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE webgl =
        emscripten_webgl_create_context(state->window->selector, &attributes);
    if (webgl <= 0) return nullptr;
    QglContext* layer = nullptr;
    WebDrawingBuffer buffer;
    const WebWindow& window = *state->window;
    const bool current = emscripten_webgl_make_context_current(webgl) == EMSCRIPTEN_RESULT_SUCCESS;
    if (current && CreateDrawingBuffer(window.width, window.height, state->pixelFormat.depthBits, buffer))
        layer = QglCreateContext(WebGlFunction);
    if (!layer) {
        if (current) DeleteDrawingBuffer(buffer);
        emscripten_webgl_make_context_current(0);
        qv_lose_context(webgl);
        emscripten_webgl_destroy_context(webgl);
        return nullptr;
    }
    auto* context = new WebContext;
    context->webgl = webgl;
    context->layer = layer;
    context->buffer = buffer;
    context->width = window.width;
    context->height = window.height;
    state->context = context;
    state->contextLost = false;
    state->rebuilding = false;
    return reinterpret_cast<RenderContext>(context);
}

bool WebPlatform::MakeCurrent(DeviceContext dc, RenderContext rc) {
    if (!rc) {
        QglMakeCurrent(nullptr);
        return emscripten_webgl_make_context_current(0) == EMSCRIPTEN_RESULT_SUCCESS;
    }
    auto* context = reinterpret_cast<WebContext*>(rc);
    if (!dc || context != state->context) return false;
    if (emscripten_webgl_make_context_current(context->webgl) != EMSCRIPTEN_RESULT_SUCCESS) return false;
    QglMakeCurrent(context->layer);
    return true;
}

bool WebPlatform::DeleteContext(RenderContext rc) {
    auto* context = reinterpret_cast<WebContext*>(rc);
    if (!context || context != state->context) return false;
    state->context = nullptr; // from here on its loss is the platform's own doing
    // Every object made in the real context is deleted while it is current (a lost one too):
    // Emscripten's GL glue keeps a name's object, and with it the context, until it is deleted.
    const bool current = emscripten_webgl_make_context_current(context->webgl) == EMSCRIPTEN_RESULT_SUCCESS;
    if (current) DeleteDrawingBuffer(context->buffer);
    QglDeleteContext(context->layer, current);
    emscripten_webgl_make_context_current(0);
    qv_lose_context(context->webgl);
    emscripten_webgl_destroy_context(context->webgl);
    delete context;
    return true;
}

bool WebPlatform::SwapBuffers(DeviceContext dc) {
    if (!dc) return false;
    // The layer sends what it has batched, the frame goes to the canvas, and the browser presents
    // it once the page yields.
    glFlush();
    if (const WebContext* context = state->context)
        PresentDrawingBuffer(context->buffer, context->width, context->height);
    qv_present(state->options.followDisplay ? 1 : 0);
    state->yielded = true;
    return true;
}

bool WebPlatform::PeekMessage(Message& message) {
    // A loop that draws nothing (the page hidden) still lets the browser run between its passes.
    if (state->queue.Empty()) {
        if (!state->yielded) qv_idle();
        state->yielded = false;
    }
    return state->queue.Next(message);
}

void WebPlatform::TranslateMessage(const Message&) {
    // Character messages are never used: key codes are all the program reads.
}

intptr_t WebPlatform::DispatchMessage(const Message& message) {
    if (!state->procedure)
        return DefWindowProc(message.window, message.message, message.wParam, message.lParam);
    return state->procedure(message.window, message.message, message.wParam, message.lParam);
}

void WebPlatform::PostQuitMessage(int exitCode) {
    state->queue.PostQuit(exitCode);
}

intptr_t WebPlatform::DefWindowProc(WindowHandle, uint32_t, uintptr_t, intptr_t) {
    // The browser keeps the screen on and draws no frame: nothing is left to a default handling.
    return 0;
}

int WebPlatform::MessageBox(WindowHandle, const char* text, const char* caption, uint32_t flags) {
    // Also on the console, for whoever reads the page's log.
    std::fprintf(stderr, "%s: %s\n", caption, text);
    bool yesNo = (flags & 0xF) == MB_YESNO;
    return qv_message_box(text, caption, yesNo ? 1 : 0, static_cast<int>(flags & 0xF0));
}

bool WebPlatform::RenderContextLost() {
    if (!state->contextLost) return false;
    state->contextLost = false;
    state->rebuilding = true;
    return true;
}

void WebProgramEnded(int exitCode) {
    qv_program_ended(exitCode);
}
