#include "app/main_loop.h"

#include "app/frame_counter.h"
#include "app/main_window.h"
#include "platform/virtual_keys.h"
#include "scene/controls.h"
#include "scene/frame.h"
#include "scene/scene_state.h"

int RunApplication() {
    Platform& platform = CurrentPlatform();
    if (!OpenMainWindow()) return 0;

    Message message;
    bool stop = false;
    for (;;) {
        if (platform.PeekMessage(message)) {
            if (message.message == WM_QUIT) break;
            // The queue is emptied before any frame is drawn.
            platform.TranslateMessage(message);
            platform.DispatchMessage(message);
            continue;
        }

        // Idle pass.
        if (scene.windowActive) {
            if (scene.keyDown[VK_ESCAPE]) {
                stop = true;
            } else {
                RenderFrame();
                platform.SwapBuffers(scene.deviceContext); // a failed swap is simply drawn again
                CountPresentedFrame();
                HandleFrameControls();
            }
        }
        // Movement keys and F1 act on every idle pass, drawn or not.
        HandleMovementKeys();
        if (scene.keyDown[VK_F1]) {
            // The loop clears F1 itself, so a held key switches once per key-down message.
            scene.keyDown[VK_F1] = false;
            CloseMainWindow(); // still sees the old mode, so a fullscreen display is restored
            scene.fullscreen = !scene.fullscreen;
            if (!OpenMainWindow()) return 0; // it has torn down and reported already
        }
        if (stop) {
            // The exit code after Escape is left open; the program ends it with 0.
            CloseMainWindow();
            return 0;
        }
    }

    CloseMainWindow();
    return static_cast<int>(message.wParam);
}
