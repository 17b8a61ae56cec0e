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
    bool yielded = true;         // the page has yielded since the last pass that found no message
    bool contextLost = false;    // the browser took the current context away; not yet reported
    bool rebuilding = false;     // the loop is building the window again after a loss
    bool cursorHidden = false;   // as the program last asked; each new canvas follows it
    bool fullscreenHeld = false; // the program is in the fullscreen mode it asked for
    int mouseX = 0, mouseY = 0;
    uint32_t buttons = 0; // MK_* of the buttons held
    uint32_t swaps = 0;
    // The keys the page has sent down and not yet up, and for an on-screen control the swap during
    // which its key went down: its key-up waits until a frame has been drawn with the key down.
    bool held[256] = {};
    uint32_t controlDownAt[256] = {};
    bool controlUpDue[256] = {};
    int controlUpsDue = 0;

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
        // System keys never reach the key table, so only the others can be left held.
        if (virtualKey < 256 && !system) held[virtualKey] = down;
        if (virtualKey < 256 && controlUpDue[virtualKey]) {
            controlUpDue[virtualKey] = false;
            controlUpsDue--;
        }
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

    // A pointer event of the page, at a point of the picture (the page maps it and clamps it to
    // the picture, so no coordinate is negative). The buttons are taken from every event, so a
    // release the page never heard (outside the browser) ends the drag at the next event. Releases
    // come first and presses last, so that no move between them adds the jump to the look.
    void Pointer(int x, int y, uint32_t pressed, bool over) {
        pressed &= MK_LBUTTON | MK_RBUTTON;
        for (uint32_t bit : {MK_LBUTTON, MK_RBUTTON})
            if ((buttons & bit) && !(pressed & bit)) PostButton(bit == MK_RBUTTON, false, x, y);
        if (over || buttons) PostMove(x, y);
        for (uint32_t bit : {MK_LBUTTON, MK_RBUTTON})
            if (!(buttons & bit) && (pressed & bit)) PostButton(bit == MK_RBUTTON, true, x, y);
    }

    // An on-screen control. Its key-down is sent at once; its key-up as soon as a frame has been
    // drawn with the key down, so that a tap shorter than a frame still acts once, as a key held
    // for a frame does.
    void Control(uint32_t virtualKey, bool down) {
        if (virtualKey == 0 || virtualKey > 0xFF) return;
        if (down) {
            PostKey(virtualKey, true, held[virtualKey], false);
            controlDownAt[virtualKey] = swaps;
        } else if (held[virtualKey]) {
            if (swaps > controlDownAt[virtualKey])
                PostKey(virtualKey, false, false, false);
            else if (!controlUpDue[virtualKey]) {
                controlUpDue[virtualKey] = true;
                controlUpsDue++;
            }
        }
    }

    void PostDueControlUps() {
        for (uint32_t key = 0; key < 256 && controlUpsDue > 0; key++)
            if (controlUpDue[key] && swaps > controlDownAt[key]) PostKey(key, false, false, false);
    }

    // Focus gone (another window, a hidden page, a dialog): what was held is let go, with the
    // messages the window would have had had the keys and the button been released.
    void ReleaseHeldInput() {
        for (uint32_t key = 0; key < 256; key++)
            if (held[key]) PostKey(key, false, false, false);
        Pointer(mouseX, mouseY, 0, false);
    }
};

namespace {

WebPlatform::State* live = nullptr; // the platform the page's pointer and controls go to

} // namespace

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
        state->ReleaseHeldInput();
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

EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void* data) {
    static_cast<WebPlatform::State*>(data)->ReleaseHeldInput();
    return EM_FALSE;
}

EM_BOOL OnFullscreenChange(int, const EmscriptenFullscreenChangeEvent* e, void* data) {
    auto* state = static_cast<WebPlatform::State*>(data);
    // The browser left fullscreen by itself (its own Escape, a tab switch): an F1 press, so that
    // the loop's own switch takes the program back to its window. The key-down alone: the loop
    // clears F1 itself.
    if (!e->isFullscreen && state->fullscreenHeld) {
        state->fullscreenHeld = false;
        state->Post(WM_KEYDOWN, VK_F1, KeyMessageLParam(0, false, false, false));
    }
    return EM_FALSE;
}

void ListenToCanvas(const char* selector, WebPlatform::State* state) {
    emscripten_set_webglcontextlost_callback(selector, state, EM_FALSE, OnContextLost);
}

void StopListeningToCanvas(const char* selector) {
    emscripten_set_webglcontextlost_callback(selector, nullptr, EM_FALSE, nullptr);
}

} // namespace

WebPlatform::WebPlatform() : WebPlatform(Options{}) {}

WebPlatform::WebPlatform(const Options& options) : state(std::make_unique<State>()) {
    state->options = options;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, state.get(), EM_FALSE, OnKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, state.get(), EM_FALSE, OnKey);
    emscripten_set_visibilitychange_callback(state.get(), EM_FALSE, OnVisibility);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, state.get(), EM_FALSE, OnBlur);
    emscripten_set_fullscreenchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, state.get(), EM_FALSE,
                                             OnFullscreenChange);
    live = state.get();
    EmscriptenVisibilityChangeEvent visibility{};
    if (emscripten_get_visibility_status(&visibility) == EMSCRIPTEN_RESULT_SUCCESS)
        state->hidden = visibility.hidden != 0;
}

WebPlatform::~WebPlatform() {
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, nullptr);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, nullptr);
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, nullptr);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, nullptr);
    emscripten_set_fullscreenchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE, nullptr);
    if (live == state.get()) live = nullptr;
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
    state->fullscreenHeld = qv_is_fullscreen() || qv_request_fullscreen() != 0;
    return state->fullscreenHeld;
}

void WebPlatform::RestoreDisplayMode() {
    // Building the window again after a lost context keeps the mode it had.
    if (state->rebuilding) return;
    state->fullscreenHeld = false; // leaving it now is the program's own doing
    qv_exit_fullscreen();
}

void WebPlatform::ShowCursor(bool show) {
    // Asked before the window exists (fullscreen hides the cursor first), so it is kept for the
    // canvases to come.
    state->cursorHidden = !show;
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
    qv_set_cursor(id, state->cursorHidden ? 0 : 1);
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
    state->swaps++;
    qv_present(state->options.followDisplay ? 1 : 0);
    state->yielded = true;
    state->PostDueControlUps();
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
    // The dialog takes the keys and the pointer: whatever is held now would never see its release.
    state->ReleaseHeldInput();
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

// What the page sends in: pointer events mapped onto the picture, and the on-screen controls.
extern "C" {

EMSCRIPTEN_KEEPALIVE void QuorvanePointer(int x, int y, int buttons, int over) {
    if (live) live->Pointer(x, y, static_cast<uint32_t>(buttons), over != 0);
}

// `action`: 1 down, 0 up, 2 a press whose key the loop lets go of itself (F1).
EMSCRIPTEN_KEEPALIVE void QuorvaneControl(int virtualKey, int action) {
    if (!live || virtualKey <= 0 || virtualKey > 0xFF) return;
    if (action == 2)
        live->Post(WM_KEYDOWN, static_cast<uint32_t>(virtualKey), KeyMessageLParam(0, false, false, false));
    else
        live->Control(static_cast<uint32_t>(virtualKey), action != 0);
}

// For the page's tests: whether the key `key` is held, or for -1 the buttons held (MK_*).
EMSCRIPTEN_KEEPALIVE int QuorvaneHeld(int key) {
    if (!live) return 0;
    if (key < 0) return static_cast<int>(live->buttons);
    return key < 256 && live->held[key] ? 1 : 0;
}
}
