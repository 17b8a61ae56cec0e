// The platform on SDL2 (Linux: X11, Wayland, or the offscreen driver for headless runs).
//
//   class, window    RegisterClass/UnregisterClass are bookkeeping (one class, one window at a
//                    time); CreateWindow = SDL_CreateWindow with the client size asked for (the
//                    window manager adds the frame, so AdjustWindowRect changes nothing); a popup
//                    is borderless, and fullscreen when the display mode was changed
//   display mode     ChangeDisplayMode accepts 640 x 480 at whatever depth the display offers and
//                    refuses only when no mode of that size exists; RestoreDisplayMode leaves
//                    fullscreen
//   DC, pixel format the window is its own device context; the pixel format becomes GL attributes,
//                    set before the window exists (X11 picks its visual then) and again when chosen
//   context          SDL_GL_CreateContext (compatibility profile), made current with swap interval
//                    1 (or the option's); SwapBuffers = SDL_GL_SwapWindow, finished at once where
//                    nothing is presented (the offscreen driver)
//   messages         SDL events become window messages with Windows virtual-key codes
//                    (sdl_key_map.h); Alt combinations and F10 are system keys; SIGINT / SIGTERM
//                    arrive as a close; PostQuitMessage is a flag of this layer's own queue
//   message boxes    a helper process (sdl_message_box.h); without any display, standard error
//   input injection  scripted input is pushed into SDL's own queue and takes the same route
//   GL layer         with QUORVANE_GL_LAYER, an OpenGL ES 3.0 context with the layer's context over
//                    it (gl/gl_layer.h), made current and deleted with it (the real one made
//                    current again first, so that the layer deletes its objects); the batch is
//                    flushed before each swap
#include "platform/sdl_platform.h"

#define SDL_MAIN_HANDLED
#include "gl/opengl.h"
#include <SDL2/SDL.h>
#ifdef QUORVANE_GL_LAYER
#include "gl/gl_layer.h"
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/message_queue.h"
#include "platform/sdl_key_map.h"
#include "platform/sdl_message_box.h"
#include "platform/virtual_keys.h"

namespace {

// Whether StartVideo holds a reference to the GL library (see there).
bool glLibraryHeld = false;

WindowHandle ToHandle(SDL_Window* window) {
    return reinterpret_cast<WindowHandle>(window);
}
SDL_Window* ToWindow(WindowHandle window) {
    return reinterpret_cast<SDL_Window*>(window);
}

int ButtonMask(uint32_t sdlButtons) {
    int mask = 0;
    if (sdlButtons & SDL_BUTTON_LMASK) mask |= MK_LBUTTON;
    if (sdlButtons & SDL_BUTTON_RMASK) mask |= MK_RBUTTON;
    if (sdlButtons & SDL_BUTTON_MMASK) mask |= MK_MBUTTON;
    SDL_Keymod mod = SDL_GetModState();
    if (mod & KMOD_SHIFT) mask |= MK_SHIFT;
    if (mod & KMOD_CTRL) mask |= MK_CONTROL;
    return mask;
}

// A box's caption and text on standard error, for when no box can be shown.
void PrintBox(const char* text, const char* caption) {
    std::fprintf(stderr, "%s: %s%s", caption, text,
                 text[0] && text[std::strlen(text) - 1] == '\n' ? "" : "\n");
}

#ifdef QUORVANE_GL_LAYER
// GL layer: the layer context over the platform's one real context, through which the program
// draws.
QglContext* layerContext = nullptr;

// GL layer: deletes the layer context, and its objects in the real one where that can be made
// current again; no context is current afterwards.
void DeleteLayerContext(SDL_Window* window, SDL_GLContext context) {
    if (!layerContext) return;
    bool realCurrent = window && context && SDL_GL_MakeCurrent(window, context) == 0;
    QglDeleteContext(layerContext, realCurrent);
    layerContext = nullptr;
    if (realCurrent) SDL_GL_MakeCurrent(window, nullptr);
}

// GL layer: OpenGL ES 3.0 behind the layer, as WebGL 2 is in the browser.
void AskForEsContext() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
}
#endif

bool EnvironmentAsks(const char* driver) {
    const char* wanted = std::getenv("SDL_VIDEODRIVER");
    return wanted && std::strstr(wanted, driver) != nullptr;
}

} // namespace

struct SdlPlatform::State {
    Options options;
    MessageQueue queue;
    std::string className;
    WindowProc procedure = nullptr;
    SDL_Window* window = nullptr;
    uint32_t windowId = 0;
    SDL_GLContext context = nullptr;
    bool modeChanged = false;
    SDL_DisplayMode mode{};
    bool headless = false; // no message box can be shown: report on standard error instead
    bool closing = false;  // a signal ended a box: the program is closing, and shows none

    void Post(uint32_t message, uintptr_t wParam, intptr_t lParam, uint32_t time) {
        Message m;
        m.window = ToHandle(window);
        m.message = message;
        m.wParam = wParam;
        m.lParam = lParam;
        m.time = time;
        SDL_GetMouseState(&m.pointX, &m.pointY);
        queue.Post(m);
    }

    void PostClientSize(uintptr_t kind, uint32_t time) {
        int w = 0, h = 0;
        // On HiDPI screens the drawable is larger than the window: the projection wants pixels.
        if (kind != SIZE_MINIMIZED) SDL_GL_GetDrawableSize(window, &w, &h);
        Post(WM_SIZE, kind, MakeLParam(static_cast<uint32_t>(w), static_cast<uint32_t>(h)), time);
    }

    void PostActivate(bool active, uint32_t time) {
        bool minimised = (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED) != 0;
        Post(WM_ACTIVATE, (active ? WA_ACTIVE : WA_INACTIVE) | (static_cast<uintptr_t>(minimised) << 16), 0,
             time);
    }

    void TranslateWindowEvent(const SDL_WindowEvent& e) {
        switch (e.event) {
        case SDL_WINDOWEVENT_CLOSE:
            Post(WM_CLOSE, 0, 0, e.timestamp);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            Post(WM_ACTIVATE, WA_INACTIVE | (uintptr_t{1} << 16), 0, e.timestamp);
            PostClientSize(SIZE_MINIMIZED, e.timestamp);
            break;
        case SDL_WINDOWEVENT_RESTORED:
            Post(WM_ACTIVATE, WA_ACTIVE, 0, e.timestamp);
            PostClientSize(SIZE_RESTORED, e.timestamp);
            break;
        case SDL_WINDOWEVENT_MAXIMIZED:
            PostClientSize(SIZE_MAXIMIZED, e.timestamp);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            PostClientSize(SIZE_RESTORED, e.timestamp);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            PostActivate(true, e.timestamp);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            PostActivate(false, e.timestamp);
            break;
        default:
            break;
        }
    }

    void TranslateKey(const SDL_KeyboardEvent& e) {
        uint32_t vk = VirtualKeyFromSdl(e.keysym.sym, e.keysym.scancode, e.keysym.mod);
        if (vk == 0) return;
        bool down = e.type == SDL_KEYDOWN;
        // Keys pressed with Alt, Alt itself and F10 are system keys.
        bool system = (e.keysym.mod & KMOD_ALT) != 0 || vk == VK_MENU || vk == VK_F10;
        uint32_t message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
        Post(message, vk,
             KeyMessageLParam(static_cast<uint32_t>(e.keysym.scancode), false, e.repeat || !down, !down),
             e.timestamp);
    }

    void TranslateButton(const SDL_MouseButtonEvent& e) {
        uint32_t message = 0;
        bool down = e.type == SDL_MOUSEBUTTONDOWN;
        switch (e.button) {
        case SDL_BUTTON_LEFT:
            message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
            break;
        case SDL_BUTTON_RIGHT:
            message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
            break;
        case SDL_BUTTON_MIDDLE:
            message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
            break;
        default:
            return;
        }
        Post(message, static_cast<uintptr_t>(ButtonMask(SDL_GetMouseState(nullptr, nullptr))),
             MakeLParam(static_cast<uint32_t>(e.x), static_cast<uint32_t>(e.y)), e.timestamp);
    }

    void Translate(const SDL_Event& e) {
        if (e.type == SDL_QUIT) {
            // SIGINT / SIGTERM and the last window's close: the close path, so the teardown runs.
            Post(WM_CLOSE, 0, 0, e.common.timestamp);
            return;
        }
        if (!window) return;
        switch (e.type) {
        case SDL_WINDOWEVENT:
            if (e.window.windowID == windowId) TranslateWindowEvent(e.window);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (e.key.windowID == windowId || e.key.windowID == 0) TranslateKey(e.key);
            break;
        case SDL_MOUSEMOTION:
            if (e.motion.windowID == windowId)
                Post(WM_MOUSEMOVE, static_cast<uintptr_t>(ButtonMask(e.motion.state)),
                     MakeLParam(static_cast<uint32_t>(e.motion.x), static_cast<uint32_t>(e.motion.y)),
                     e.motion.timestamp);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (e.button.windowID == windowId) TranslateButton(e.button);
            break;
        default:
            break;
        }
    }

    void ApplyPixelFormat(const PixelFormatRequest& request) {
        // 16 colour bits: at least 5 bits per channel; SDL treats every size as a minimum.
        int channel = request.colorBits >= 24 ? 8 : request.colorBits >= 15 ? 5 : 1;
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
        SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, request.alphaBits);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, request.depthBits);
        SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, request.stencilBits);
        SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, 0);
        SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, 0);
        SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, 0);
        SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, 0);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, (request.flags & PFD_DOUBLEBUFFER) ? 1 : 0);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    }

    void Push(SDL_Event& e) { SDL_PushEvent(&e); }
};

bool SdlPlatform::StartVideo(bool allowOffscreen, std::string& error, const char* windowClass) {
    // Unless the user chose one.
    if (windowClass) SDL_setenv("SDL_VIDEO_X11_WMCLASS", windowClass, 0);
    // Coordinates stay inside the window while a button is held: no capture.
    SDL_SetHint(SDL_HINT_MOUSE_AUTO_CAPTURE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetMainReady();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error = std::string("no display could be opened (") + SDL_GetError() + ")";
        return false;
    }
    std::string driver = VideoDriver();
    bool fallback = driver == "offscreen" || driver == "dummy";
    if (fallback && !allowOffscreen && !EnvironmentAsks(driver.c_str())) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        error = "no display found (no X server or Wayland compositor to open a window on)";
        return false;
    }
    SDL_StopTextInput();
    // SDL loads the GL library with the first GL window and unloads it with the last, and the
    // driver then builds its whole configuration again on the next load, keeping some of each
    // build for good: every F1 switch would pay for it. One reference held from here to
    // StopVideo keeps the library, and what the driver built once, for the whole run.
#ifdef QUORVANE_GL_LAYER
    AskForEsContext(); // GL layer: first, so that SDL loads the ES library
#endif
    glLibraryHeld = SDL_GL_LoadLibrary(nullptr) == 0;
    return true;
}

void SdlPlatform::StopVideo() {
    if (glLibraryHeld) SDL_GL_UnloadLibrary();
    glLibraryHeld = false;
    SDL_Quit();
}

std::string SdlPlatform::VideoDriver() {
    const char* name = SDL_GetCurrentVideoDriver();
    return name ? name : "";
}

SdlPlatform::SdlPlatform() : SdlPlatform(Options{}) {}

SdlPlatform::SdlPlatform(const Options& options) : state(std::make_unique<State>()) {
    state->options = options;
    std::string driver = VideoDriver();
    state->headless = driver == "offscreen" || driver == "dummy" || driver.empty();
}

SdlPlatform::~SdlPlatform() {
#ifdef QUORVANE_GL_LAYER
    DeleteLayerContext(state->window, state->context); // GL layer: its context goes with the real one
#endif
    if (state->context) SDL_GL_DeleteContext(state->context);
    if (state->window) SDL_DestroyWindow(state->window);
}

void SdlPlatform::InjectKey(uint32_t virtualKey, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = state->windowId;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    int32_t keycode = SDLK_UNKNOWN;
    uint16_t mod = 0;
    if (!SdlKeyFromVirtualKey(virtualKey, keycode, mod)) return;
    e.key.keysym.sym = keycode;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(keycode);
    e.key.keysym.mod = mod;
    e.key.timestamp = SDL_GetTicks();
    state->Push(e);
}

void SdlPlatform::InjectMouseMove(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = state->windowId;
    e.motion.x = x;
    e.motion.y = y;
    e.motion.timestamp = SDL_GetTicks();
    state->Push(e);
}

void SdlPlatform::InjectMouseButton(bool right, bool down, int x, int y) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = state->windowId;
    e.button.button = right ? SDL_BUTTON_RIGHT : SDL_BUTTON_LEFT;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    e.button.timestamp = SDL_GetTicks();
    state->Push(e);
}

void SdlPlatform::InjectClose() {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    e.window.windowID = state->windowId;
    e.window.timestamp = SDL_GetTicks();
    state->Push(e);
}

ModuleHandle SdlPlatform::GetModuleHandle() {
    static char module;
    return reinterpret_cast<ModuleHandle>(&module);
}

bool SdlPlatform::RegisterClass(const WindowClass& windowClass) {
    if (state->procedure || !windowClass.className || !windowClass.procedure) return false;
    state->procedure = windowClass.procedure;
    state->className = windowClass.className;
    return true;
}

bool SdlPlatform::UnregisterClass(const char* className, ModuleHandle) {
    if (!state->procedure || state->className != className || state->window) return false;
    state->procedure = nullptr;
    state->className.clear();
    return true;
}

bool SdlPlatform::ChangeDisplayMode(const DisplayMode& mode) {
    // Desktops rarely offer 16-bit modes: any depth will do, but the size must be exactly right
    // (SDL offers the closest mode it has, which on a one-mode display is simply that mode).
    SDL_DisplayMode wanted{};
    wanted.w = static_cast<int>(mode.width);
    wanted.h = static_cast<int>(mode.height);
    SDL_DisplayMode closest{};
    if (!SDL_GetClosestDisplayMode(0, &wanted, &closest)) return false;
    if (closest.w != wanted.w || closest.h != wanted.h) return false;
    state->mode = closest;
    state->modeChanged = true;
    return true;
}

void SdlPlatform::RestoreDisplayMode() {
    if (state->window && (SDL_GetWindowFlags(state->window) & SDL_WINDOW_FULLSCREEN))
        SDL_SetWindowFullscreen(state->window, 0);
    state->modeChanged = false;
}

void SdlPlatform::ShowCursor(bool show) {
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void SdlPlatform::AdjustWindowRect(WindowRect&, uint32_t, uint32_t) {
    // SDL sizes windows by their client area and the window manager adds the frame around it, so
    // the client rectangle already is the size to ask for.
}

WindowHandle SdlPlatform::CreateWindow(uint32_t, const char* className, const char* title, uint32_t style,
                                       int x, int y, int width, int height, ModuleHandle) {
    if (!state->procedure || state->className != className || state->window) return nullptr;
    // The pixel format must be known before the window exists (X11 picks its visual now); the
    // program asks for one format only, so ask for it here and again when it is chosen.
    state->ApplyPixelFormat(ProgramPixelFormat);
#ifdef QUORVANE_GL_LAYER
    AskForEsContext(); // GL layer: in place of the profile just asked for
#endif
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    bool popup = (style & WS_POPUP) != 0;
    if (popup)
        flags |= SDL_WINDOW_BORDERLESS | (state->modeChanged ? SDL_WINDOW_FULLSCREEN : 0);
    else
        flags |= SDL_WINDOW_RESIZABLE;
    SDL_Window* window = SDL_CreateWindow(title, x, y, width, height, flags);
    if (!window) return nullptr;
    if (popup && state->modeChanged) SDL_SetWindowDisplayMode(window, &state->mode);
    state->window = window;
    state->windowId = SDL_GetWindowID(window);
    return ToHandle(window);
}

bool SdlPlatform::DestroyWindow(WindowHandle window) {
    if (!window || ToWindow(window) != state->window) return false;
    SDL_DestroyWindow(state->window);
    state->window = nullptr;
    state->windowId = 0;
    return true;
}

void SdlPlatform::ShowWindow(WindowHandle window) {
    if (window) SDL_ShowWindow(ToWindow(window));
}

void SdlPlatform::SetForegroundWindow(WindowHandle window) {
    if (window) SDL_RaiseWindow(ToWindow(window));
}

void SdlPlatform::SetFocus(WindowHandle window) {
    if (window) SDL_SetWindowInputFocus(ToWindow(window));
}

WindowHandle SdlPlatform::GetFocus() {
    SDL_Window* focus = SDL_GetKeyboardFocus();
    return focus && focus == state->window ? ToHandle(focus) : nullptr;
}

// The window is its own device context.
DeviceContext SdlPlatform::GetDC(WindowHandle window) {
    if (!window || ToWindow(window) != state->window) return nullptr;
    return reinterpret_cast<DeviceContext>(window);
}

bool SdlPlatform::ReleaseDC(WindowHandle window, DeviceContext dc) {
    return dc && reinterpret_cast<WindowHandle>(dc) == window;
}

int SdlPlatform::ChoosePixelFormat(DeviceContext dc, const PixelFormatRequest& request) {
    if (!dc) return 0;
    if (!(request.flags & PFD_SUPPORT_OPENGL) || !(request.flags & PFD_DRAW_TO_WINDOW)) return 0;
    state->ApplyPixelFormat(request);
#ifdef QUORVANE_GL_LAYER
    AskForEsContext(); // GL layer: in place of the profile just asked for
#endif
    return 1;
}

bool SdlPlatform::SetPixelFormat(DeviceContext dc, int format, const PixelFormatRequest&) {
    return dc && format == 1;
}

RenderContext SdlPlatform::CreateContext(DeviceContext dc) {
    if (!dc || state->context) return nullptr;
    // SDL makes a new context current at once; the program makes it current itself next.
    SDL_GLContext context = SDL_GL_CreateContext(reinterpret_cast<SDL_Window*>(dc));
    if (!context) return nullptr;
#ifdef QUORVANE_GL_LAYER
    // GL layer: a context of its own over the real one, which SDL has just made current.
    layerContext = QglCreateContext(SDL_GL_GetProcAddress);
    if (!layerContext) {
        SDL_GL_DeleteContext(context);
        return nullptr;
    }
#endif
    state->context = context;
    return reinterpret_cast<RenderContext>(context);
}

bool SdlPlatform::MakeCurrent(DeviceContext dc, RenderContext rc) {
#ifdef QUORVANE_GL_LAYER
    // GL layer: follows the real context. It sends its batch before the real one goes, and is
    // current again only once the real one is: after a failed switch none is.
    QglMakeCurrent(nullptr);
#endif
    if (!rc) return SDL_GL_MakeCurrent(state->window, nullptr) == 0;
    if (!dc) return false;
    if (SDL_GL_MakeCurrent(reinterpret_cast<SDL_Window*>(dc), reinterpret_cast<SDL_GLContext>(rc)) != 0)
        return false;
#ifdef QUORVANE_GL_LAYER
    if (reinterpret_cast<SDL_GLContext>(rc) == state->context) QglMakeCurrent(layerContext);
#endif
    // Frames follow the display's refresh where the driver allows it; Xvfb and the offscreen
    // driver do not, and the loop simply draws as fast as it can.
    SDL_GL_SetSwapInterval(state->options.swapInterval);
    return true;
}

bool SdlPlatform::DeleteContext(RenderContext rc) {
    if (!rc || reinterpret_cast<SDL_GLContext>(rc) != state->context) return false;
#ifdef QUORVANE_GL_LAYER
    DeleteLayerContext(state->window, state->context); // GL layer: with its objects
#endif
    SDL_GL_DeleteContext(state->context);
    state->context = nullptr;
    return true;
}

bool SdlPlatform::SwapBuffers(DeviceContext dc) {
    if (!dc) return false;
#ifdef QUORVANE_GL_LAYER
    glFlush(); // GL layer: the frame's batch is drawn before it is presented
#endif
    SDL_GL_SwapWindow(reinterpret_cast<SDL_Window*>(dc));
    // The offscreen driver's surface is never presented, so its swap hands nothing to the driver:
    // without a flush llvmpipe keeps binning frame after frame into one scene that grows by half
    // a megabyte a frame. A real display's swap flushes by itself.
    if (state->headless) glFinish();
    return true;
}

bool SdlPlatform::PeekMessage(Message& message) {
    SDL_Event e;
    while (!state->queue.HasTranslated() && SDL_PollEvent(&e)) state->Translate(e);
    return state->queue.Next(message);
}

void SdlPlatform::TranslateMessage(const Message&) {
    // Character messages are never used: key codes are all the program reads.
}

intptr_t SdlPlatform::DispatchMessage(const Message& message) {
    if (!state->procedure)
        return DefWindowProc(message.window, message.message, message.wParam, message.lParam);
    return state->procedure(message.window, message.message, message.wParam, message.lParam);
}

void SdlPlatform::PostQuitMessage(int exitCode) {
    state->queue.PostQuit(exitCode);
}

intptr_t SdlPlatform::DefWindowProc(WindowHandle, uint32_t, uintptr_t, intptr_t) {
    // Nothing the window system needs is left undone by the window procedure: SDL handles frame,
    // cursor and screen saver itself.
    return 0;
}

int SdlPlatform::MessageBox(WindowHandle, const char* text, const char* caption, uint32_t flags) {
    std::fflush(stdout);
    std::fflush(stderr);
    bool yesNo = (flags & 0xF) == MB_YESNO;
    // Once a signal has ended a box the program is closing: no further box stands in its way.
    if (!state->headless && !state->closing) {
        SdlMessageBoxOutcome outcome = SdlShowMessageBox(text, caption, flags);
        if (outcome.kind == SdlMessageBoxOutcome::Kind::Answered) return outcome.button;
        if (outcome.kind == SdlMessageBoxOutcome::Kind::Interrupted) {
            // As a close of the window: the loop's close path runs the teardown, which restores
            // the display mode. The box's text still reaches the user, below.
            state->closing = true;
            state->Post(WM_CLOSE, 0, 0, SDL_GetTicks());
            PrintBox(text, caption);
            return yesNo ? IDNO : IDOK;
        }
    }
    // No box could be shown: the user still learns what happened, and a question counts as "No".
    PrintBox(text, caption);
    return 0;
}

bool SdlPlatform::RunMessageBoxHelper(int argc, char** argv, int& exitCode) {
    return SdlRunMessageBoxHelper(argc, argv, exitCode);
}
