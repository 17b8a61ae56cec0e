#include "platform/win32_headers.h"

#include "capture/capture_host.h"

#include "platform/win32_platform.h"

bool OpenCaptureHost(bool bench, CaptureHost& host, std::string&) {
    // Windows has no headless OpenGL: the program runs in a real window, as it would for a user.
    // For a benchmark the swaps do not wait for the display.
    auto platform = std::make_unique<Win32Platform>(Win32Platform::Options{bench ? 0 : -1});
    host.input = platform.get();
    host.platform = std::move(platform);
    return true;
}

void CloseCaptureHost(CaptureHost& host) {
    host.input = nullptr;
    host.platform.reset();
}

double MillisecondsSinceProcessStart() {
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return -1.0;
    GetSystemTimePreciseAsFileTime(&now);
    auto ticks = [](const FILETIME& t) { // 100-nanosecond units
        return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
}
