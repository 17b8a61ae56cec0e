// The program's entry point in a web page: the scene on the web platform. The page hands over the
// options of its address as arguments; with any, it runs the capture tool instead, with the same
// options and meaning as quorvane-capture. Either way the page first gets the key guide, from
// which it makes its on-screen controls, and is told when the program has ended.
#include <emscripten.h>

#include "app/main_loop.h"
#include "capture/capture.h"
#include "gl/gl_layer.h"
#include "overlay/key_guide.h"
#include "platform/web_platform.h"

// For the page's tests: what the GL layer was asked and did not do as GL would (gl_layer.h), as
// Module._QuorvaneGlDivergences().
extern "C" EMSCRIPTEN_KEEPALIVE unsigned QuorvaneGlDivergences() {
    return QglDivergences();
}

EM_JS(void, qv_add_key_guide_entry,
      (const char* keys, const char* action, const char* detail, const char* group, const uint8_t* codes,
       int count),
      {
          QuorvanePage.addKeyGuideEntry(UTF8ToString(keys), UTF8ToString(action), UTF8ToString(group),
                                        Array.from(HEAPU8.subarray(codes, codes + count)),
                                        UTF8ToString(detail));
      });

namespace {

// Group by group, so that the page shows the groups in their order.
void HandKeyGuideToPage() {
    for (int group = 0; group < KeyGroupCount; group++)
        for (int i = 0; i < KeyGuideSize; i++) {
            const KeyGuideEntry& entry = KeyGuide[i];
            if (static_cast<int>(entry.group) != group) continue;
            int count = 0;
            while (count < static_cast<int>(sizeof entry.codes) && entry.codes[count]) count++;
            qv_add_key_guide_entry(entry.keys, entry.action, entry.detail, KeyGroupNames[group], entry.codes,
                                   count);
        }
}

} // namespace

int main(int argc, char** argv) {
    HandKeyGuideToPage();
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
