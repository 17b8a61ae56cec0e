#include "capture/capture_platform.h"

#include "gl/opengl.h"

#include <cstdio>
#include <cstring>

#include "app/frame_counter.h"
#include "capture/capture_host.h"

RgbPicture ReadBackBuffer(int width, int height) {
    RgbPicture picture;
    picture.width = width;
    picture.height = height;
    size_t stride = static_cast<size_t>(width) * 3;
    picture.pixels.resize(stride * static_cast<size_t>(height));
    std::vector<uint8_t> rows(picture.pixels.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
    for (int y = 0; y < height; ++y) // GL reads the bottom row first; pictures start at the top
        std::memcpy(&picture.pixels[static_cast<size_t>(y) * stride],
                    &rows[static_cast<size_t>(height - 1 - y) * stride], stride);
    return picture;
}

CapturePlatform::CapturePlatform(Platform& inner, InputInjector& input, const CaptureSettings& settings)
    : ForwardingPlatform(inner), input(input), settings(settings) {
    for (const InputEvent& event : settings.input) schedule.Add(event.frame, event);
}

bool CapturePlatform::PeekMessage(Message& message) {
    if (!started) {
        started = true;
        loopStart = Clock::now();
    }
    int next = static_cast<int>(PresentedFrames()) + 1;
    if (next > deliveredFor) {
        deliveredFor = next;
        if (next > settings.frames)
            input.InjectClose();
        else
            schedule.DeliverDue(next, [this](const InputEvent& event) { Deliver(event); });
    }
    return inner.PeekMessage(message);
}

bool CapturePlatform::SwapBuffers(DeviceContext dc) {
    // The loop counts this frame once the swap is done.
    int swap = static_cast<int>(PresentedFrames()) + 1;
    if (settings.shots.count(swap)) SaveShot(swap);
    bool ok = inner.SwapBuffers(dc);
    // A headless swap presents nothing and so waits for nothing: finish the frame, as a real
    // display's swap would, so that the time includes the drawing.
    if (settings.bench) glFinish();
    Clock::time_point now = Clock::now();
    if (swap == 1) firstFrameStartupMs = MillisecondsSinceProcessStart();
    // Kept for --bench only: a long run without it must not grow.
    if (settings.bench)
        frameMs.push_back(
            std::chrono::duration<double, std::milli>(now - (swap == 1 ? loopStart : lastSwap)).count());
    lastSwap = now;
    if (afterSwap) afterSwap(swap);
    return ok;
}

void CapturePlatform::Deliver(const InputEvent& e) {
    switch (e.kind) {
    case InputEvent::Kind::KeyDown:
        input.InjectKey(e.virtualKey, true);
        break;
    case InputEvent::Kind::KeyUp:
        input.InjectKey(e.virtualKey, false);
        break;
    case InputEvent::Kind::Drag: {
        // Centred on the window, so that the whole drag stays inside it.
        int x = 320 - e.dx / 2, y = 240 - e.dy / 2;
        input.InjectMouseButton(true, true, x, y);
        input.InjectMouseMove(x + e.dx, y + e.dy);
        input.InjectMouseButton(true, false, x + e.dx, y + e.dy);
        break;
    }
    }
}

void CapturePlatform::SaveShot(int frame) {
    RgbPicture picture = ReadBackBuffer(640, 480);
    std::string path = settings.out + "/frame-" + std::to_string(frame) + ".png";
    std::string error;
    if (!WritePng(path, picture, error)) {
        std::fprintf(stderr, "quorvane-capture: %s\n", error.c_str());
        ++failedShots;
    } else {
        ++savedShots;
    }
}

namespace {
Platform* baselinePlatform = nullptr;
} // namespace

std::vector<double> ClearOnlyFrames(Platform& platform, int frames) {
    using Clock = std::chrono::steady_clock;
    // Every message gets the default handling: a window whose creation messages are not passed on
    // is never made (Windows).
    baselinePlatform = &platform;
    WindowClass windowClass;
    windowClass.className = "Quorvane_Baseline";
    windowClass.procedure = [](WindowHandle window, uint32_t message, uintptr_t wParam,
                               intptr_t lParam) -> intptr_t {
        return baselinePlatform->DefWindowProc(window, message, wParam, lParam);
    };
    std::vector<double> frameMs;
    if (!platform.RegisterClass(windowClass)) return frameMs;
    WindowRect rect{0, 0, 640, 480};
    platform.AdjustWindowRect(rect, WS_OVERLAPPEDWINDOW, 0);
    WindowHandle window = platform.CreateWindow(0, "Quorvane_Baseline", "baseline", WS_OVERLAPPEDWINDOW, 0, 0,
                                                rect.right - rect.left, rect.bottom - rect.top, nullptr);
    DeviceContext dc = window ? platform.GetDC(window) : nullptr;
    const PixelFormatRequest& request = ProgramPixelFormat;
    RenderContext rc = nullptr;
    if (dc && platform.SetPixelFormat(dc, platform.ChoosePixelFormat(dc, request), request))
        rc = platform.CreateContext(dc);
    if (rc && platform.MakeCurrent(dc, rc)) {
        Clock::time_point last = Clock::now();
        for (int i = 0; i < frames; ++i) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            platform.SwapBuffers(dc);
            glFinish();
            Clock::time_point now = Clock::now();
            frameMs.push_back(std::chrono::duration<double, std::milli>(now - last).count());
            last = now;
        }
        platform.MakeCurrent(nullptr, nullptr);
    }
    if (rc) platform.DeleteContext(rc);
    if (dc) platform.ReleaseDC(window, dc);
    if (window) platform.DestroyWindow(window);
    platform.UnregisterClass("Quorvane_Baseline", nullptr);
    return frameMs;
}
