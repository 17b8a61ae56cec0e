// The program's entry point in a web page: the scene on the web platform. The page hands over the
// options of its address as arguments; with any, it runs the capture tool instead, with the same
// options and meaning as quorvane-capture. Either way the page is told when the program has ended.
#include <emscripten.h>

#include "app/main_loop.h"
#include "capture/capture.h"
#include "gl/gl_layer.h"
#include "platform/web_platform.h"

// For the page's tests: what the GL layer was asked and did not do as GL would (gl_layer.h), as
// Module._QuorvaneGlDivergences().
extern "C" EMSCRIPTEN_KEEPALIVE unsigned QuorvaneGlDivergences() {
    return QglDivergences();
}

int main(int argc, char** argv) {
    int exitCode = 0;
    if (argc > 1) {
        exitCode = CaptureMain(argc, argv);
    } else {
        WebPlatform platform;
        SetCurrentPlatform(&platform);
        exitCode = RunApplication();
        SetCurrentPlatform(nullptr);
    }
    WebProgramEnded(exitCode);
    return exitCode;
}
