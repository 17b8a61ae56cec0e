#include "capture/capture_host.h"

#include <emscripten.h>

#include "platform/web_platform.h"

bool OpenCaptureHost(bool bench, CaptureHost& host, std::string&) {
    // The page's own canvas; a benchmark does not wait for the display's refresh.
    auto platform = std::make_unique<WebPlatform>(WebPlatform::Options{!bench});
    host.input = platform.get();
    host.platform = std::move(platform);
    return true;
}

void CloseCaptureHost(CaptureHost& host) {
    host.input = nullptr;
    host.platform.reset();
}

double MillisecondsSinceProcessStart() {
    // From the start of the page's navigation: the page is the program's process.
    return EM_ASM_DOUBLE({ return performance.now(); });
}
