#include "app/window_proc.h"

#include "app/main_window.h"
#include "scene/scene_state.h"

namespace {

// Cursor positions arrive as two unsigned 16-bit halves of lParam, in client pixels.
int32_t CursorX(intptr_t lParam) {
    return static_cast<int32_t>(LowWord(static_cast<uintptr_t>(lParam)));
}
int32_t CursorY(intptr_t lParam) {
    return static_cast<int32_t>(HighWord(static_cast<uintptr_t>(lParam)));
}

// Signed 32-bit addition that wraps instead of overflowing, however long a drag goes unconsumed.
int32_t AddWrapping(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

void RememberCursor(intptr_t lParam) {
    scene.mouseX = CursorX(lParam);
    scene.mouseY = CursorY(lParam);
}

} // namespace

intptr_t MainWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    Platform& platform = CurrentPlatform();
    switch (message) {
    case WM_ACTIVATE:
        // Only the minimised flag counts: a window behind others keeps drawing.
        scene.windowActive = HighWord(wParam) == 0;
        return 0;

    case WM_SYSCOMMAND:
        // Keep the screen saver and monitor power-down away while the scene runs.
        if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) return 0;
        break;

    case WM_CLOSE:
        // The window stays until the loop has ended and the teardown destroys it.
        platform.PostQuitMessage(0);
        return 0;

    case WM_KEYDOWN:
        // A platform could deliver a code beyond the table; such a key has no entry and no effect.
        if (wParam < KeyCount) scene.keyDown[wParam] = true;
        return 0;

    case WM_KEYUP:
        if (wParam < KeyCount) scene.keyDown[wParam] = false;
        return 0;

    case WM_SIZE:
        SetProjection(static_cast<int>(LowWord(static_cast<uintptr_t>(lParam))),
                      static_cast<int>(HighWord(static_cast<uintptr_t>(lParam))));
        return 0;

    case WM_MOUSEMOVE:
        RememberCursor(lParam);
        if (scene.rightButtonDown) {
            int32_t x = CursorX(lParam);
            int32_t y = CursorY(lParam);
            scene.lookDeltaX = AddWrapping(scene.lookDeltaX, scene.lastMouseX - x);
            scene.lookDeltaY = AddWrapping(scene.lookDeltaY, scene.lastMouseY - y);
            scene.lastMouseX = x;
            scene.lastMouseY = y;
        }
        break;

    case WM_RBUTTONDOWN:
        RememberCursor(lParam);
        scene.rightButtonDown = 1;
        scene.lastMouseX = CursorX(lParam);
        scene.lastMouseY = CursorY(lParam);
        break;

    case WM_RBUTTONUP:
        RememberCursor(lParam);
        scene.rightButtonDown = 0;
        break;

    case WM_LBUTTONDOWN:
        RememberCursor(lParam);
        break;

    default:
        break;
    }
    return platform.DefWindowProc(window, message, wParam, lParam);
}
