#include "capture/capture_host.h"

#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/leak_check.h"
#include "platform/sdl_platform.h"

bool OpenCaptureHost(bool bench, CaptureHost& host, std::string& error) {
    // Headless by definition, whatever display there may be.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (!SdlPlatform::StartVideo(true, error)) return false;
    auto platform = std::make_unique<SdlPlatform>(SdlPlatform::Options{bench ? 0 : 1});
    host.input = platform.get();
    host.platform = std::move(platform);
    return true;
}

void CloseCaptureHost(CaptureHost& host) {
    host.input = nullptr;
    host.platform.reset();
    CheckLeaksNow();
    SdlPlatform::StopVideo();
}

double MillisecondsSinceProcessStart() {
    // The kernel's record of the start (field 22 of /proc/self/stat, in clock ticks since boot).
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    size_t close = text.rfind(')'); // the command name may hold spaces
    if (close == std::string::npos) return -1.0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
        if (i == 22) {
            double startSeconds =
                std::strtod(field.c_str(), nullptr) / static_cast<double>(sysconf(_SC_CLK_TCK));
            timespec now{};
            clock_gettime(CLOCK_BOOTTIME, &now);
            return (static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9 - startSeconds) * 1000.0;
        }
    }
    return -1.0;
}
