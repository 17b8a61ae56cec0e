#include "app/main_window.h"

#include "gl/opengl.h"

#include "app/window_proc.h"
#include "overlay/help_panel.h"
#include "scene/render_setup.h"
#include "scene/scene_state.h"

namespace {

constexpr const char* StartupCaption = "Startup Error";
constexpr const char* InitCaption = "Initialization Error";
constexpr const char* ContextCaption = "Initialization error"; // the two context failures
constexpr const char* ShutdownCaption = "Shutdown error";

// Tears down what exists, then reports: the desktop mode is back before the user reads the box.
bool FailOpen(const char* text, const char* caption) {
    CloseMainWindow();
    CurrentPlatform().MessageBox(nullptr, text, caption, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void ShutdownBox(const char* text) {
    CurrentPlatform().MessageBox(nullptr, text, ShutdownCaption, MB_OK | MB_ICONINFORMATION);
}

} // namespace

bool OpenMainWindow() {
    Platform& platform = CurrentPlatform();
    scene.instanceHandle = platform.GetModuleHandle();

    WindowClass windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.procedure = MainWindowProc;
    windowClass.instance = scene.instanceHandle;
    windowClass.className = MainWindowClassName;
    if (!platform.RegisterClass(windowClass)) {
        platform.MessageBox(nullptr, "Register window class failed", StartupCaption,
                            MB_OK | MB_ICONEXCLAMATION);
        return false;
    }

    if (scene.fullscreen) {
        DisplayMode mode{MainWindowWidth, MainWindowHeight, FullscreenBitsPerPixel};
        if (!platform.ChangeDisplayMode(mode)) {
            int answer = platform.MessageBox(nullptr,
                                             "The requested full screen mode is not supported by\nyour video "
                                             "card. Do you want to use windowed mode?",
                                             InitCaption, MB_YESNO | MB_ICONEXCLAMATION);
            if (answer == IDYES) {
                scene.fullscreen = false;
            } else {
                // Nothing was changed yet, so nothing is torn down; the class stays registered.
                platform.MessageBox(nullptr, "Unable to continue fullscreen, program aborted", InitCaption,
                                    MB_OK | MB_ICONSTOP);
                return false;
            }
        }
    }

    uint32_t exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    uint32_t frameStyle = WS_OVERLAPPEDWINDOW;
    if (scene.fullscreen) {
        exStyle = WS_EX_APPWINDOW;
        frameStyle = WS_POPUP;
        platform.ShowCursor(false);
    }

    WindowRect rect{0, 0, MainWindowWidth, MainWindowHeight};
    platform.AdjustWindowRect(rect, frameStyle, exStyle);

    scene.mainWindow = platform.CreateWindow(
        exStyle, MainWindowClassName, MainWindowTitle, frameStyle | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
        rect.right - rect.left, rect.bottom - rect.top, scene.instanceHandle);
    if (!scene.mainWindow) return FailOpen("Window creation failed", InitCaption);

    scene.deviceContext = platform.GetDC(scene.mainWindow);
    if (!scene.deviceContext) return FailOpen("Get DC failed.", InitCaption);

    int format = platform.ChoosePixelFormat(scene.deviceContext, ProgramPixelFormat);
    if (format == 0) return FailOpen("Choose pixel format failed", InitCaption);
    if (!platform.SetPixelFormat(scene.deviceContext, format, ProgramPixelFormat))
        return FailOpen("Set pixel format failed.", InitCaption);

    scene.renderContext = platform.CreateContext(scene.deviceContext);
    if (!scene.renderContext) return FailOpen("Create rendering context failed", ContextCaption);
    if (!platform.MakeCurrent(scene.deviceContext, scene.renderContext))
        return FailOpen("Activate rendering context failed", ContextCaption);

    platform.ShowWindow(scene.mainWindow);
    platform.SetForegroundWindow(scene.mainWindow);
    platform.SetFocus(scene.mainWindow);
    SetProjection(MainWindowWidth, MainWindowHeight);

    if (!SetupScene()) return FailOpen("Initialize OpenGL failed", InitCaption);
    return true;
}

void CloseMainWindow() {
    Platform& platform = CurrentPlatform();
    if (scene.fullscreen) {
        platform.RestoreDisplayMode();
        platform.ShowCursor(true);
    }
    if (scene.renderContext) {
        // The font lists and the help panel's picture belong to this context, so they go before
        // it is released.
        glDeleteLists(scene.fontBase, 96);
        ReleaseHelpPanel();
        if (!platform.MakeCurrent(nullptr, nullptr)) ShutdownBox("Release of DC and RC Failed");
        if (!platform.DeleteContext(scene.renderContext)) ShutdownBox("Release of RC failed");
        scene.renderContext = nullptr;
    }
    if (scene.deviceContext) {
        if (!platform.ReleaseDC(scene.mainWindow, scene.deviceContext)) ShutdownBox("Release DC Failed");
        scene.deviceContext = nullptr;
    }
    if (scene.mainWindow) {
        if (!platform.DestroyWindow(scene.mainWindow)) ShutdownBox("Destroy Window Failed");
        scene.mainWindow = nullptr;
    }
    if (!platform.UnregisterClass(MainWindowClassName, scene.instanceHandle))
        ShutdownBox("Unregistering window class failed");
}

void SetProjection(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<GLdouble>(width) / static_cast<GLdouble>(height), 0.1, 500.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
