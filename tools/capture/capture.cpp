// quorvane-capture: runs the real program headless (SDL's offscreen driver) with a scripted input
// and writes chosen frames as PNG files; with --bench it times the frames instead.
//
//   quorvane-capture --frames N [--shots 1,100,600] [--out DIR] [--input "EVENTS"] [--bench]
//
// Shot K is the picture presented by the K-th buffer swap, saved as DIR/frame-K.png. Run it from
// the folder that holds data/.
#include <GL/gl.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_loop.h"
#include "common/input_script.h"
#include "common/png_file.h"
#include "platform/sdl_platform.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Settings {
    int frames = 0;
    std::set<int> shots;
    std::string out = "captures";
    std::vector<InputEvent> input;
    bool bench = false;
};

// Milliseconds since the process started, from the kernel's record of it (10 ms resolution).
double MillisecondsSinceProcessStart() {
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

// The SDL platform with the script's input fed in before each frame, the chosen frames read back
// before they are presented, and the run ended after the last frame.
class CapturePlatform : public SdlPlatform {
  public:
    CapturePlatform(const Settings& settings, const Options& options)
        : SdlPlatform(options), settings(settings) {}

    bool PeekMessage(Message& message) override {
        if (!started) {
            started = true;
            loopStart = Clock::now();
        }
        int next = swaps + 1;
        if (next > deliveredFor) {
            deliveredFor = next;
            if (next > settings.frames)
                InjectClose();
            else
                Deliver(next);
        }
        return SdlPlatform::PeekMessage(message);
    }

    bool SwapBuffers(DeviceContext dc) override {
        ++swaps;
        if (settings.shots.count(swaps)) SaveShot(swaps);
        bool ok = SdlPlatform::SwapBuffers(dc);
        // The offscreen driver's swap presents nothing and so waits for nothing: finish the
        // frame, as a real display's swap would, so that the time includes the drawing.
        if (settings.bench) glFinish();
        Clock::time_point now = Clock::now();
        if (swaps == 1) firstFrameStartup = MillisecondsSinceProcessStart();
        frameMs.push_back(
            std::chrono::duration<double, std::milli>(now - (swaps == 1 ? loopStart : lastSwap)).count());
        lastSwap = now;
        return ok;
    }

    int swaps = 0;
    int failedShots = 0;
    int savedShots = 0;
    std::vector<double> frameMs;
    double firstFrameStartup = -1.0;
    Clock::time_point loopStart;
    Clock::time_point lastSwap;

  private:
    void Deliver(int frame) {
        for (const InputEvent& e : settings.input) {
            if (e.frame != frame) continue;
            switch (e.kind) {
            case InputEvent::Kind::KeyDown:
                InjectKey(e.virtualKey, true);
                break;
            case InputEvent::Kind::KeyUp:
                InjectKey(e.virtualKey, false);
                break;
            case InputEvent::Kind::Drag: {
                // Centred on the window, so that the whole drag stays inside it.
                int x = 320 - e.dx / 2, y = 240 - e.dy / 2;
                InjectMouseButton(true, true, x, y);
                InjectMouseMove(x + e.dx, y + e.dy);
                InjectMouseButton(true, false, x + e.dx, y + e.dy);
                break;
            }
            }
        }
    }

    void SaveShot(int frame) {
        RgbPicture picture;
        picture.width = 640;
        picture.height = 480;
        picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height * 3);
        std::vector<uint8_t> rows(picture.pixels.size());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, picture.width, picture.height, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
        size_t stride = static_cast<size_t>(picture.width) * 3;
        for (int y = 0; y < picture.height; ++y) // GL reads bottom row first; PNG wants the top first
            std::memcpy(&picture.pixels[static_cast<size_t>(y) * stride],
                        &rows[static_cast<size_t>(picture.height - 1 - y) * stride], stride);
        std::string path = settings.out + "/frame-" + std::to_string(frame) + ".png";
        std::string error;
        if (!WritePng(path, picture, error)) {
            std::fprintf(stderr, "quorvane-capture: %s\n", error.c_str());
            ++failedShots;
        } else {
            ++savedShots;
        }
    }

    const Settings& settings;
    bool started = false;
    int deliveredFor = 0;
};

void PrintTiming(const char* label, const std::vector<double>& frameMs) {
    double total = 0.0, worst = 0.0;
    for (double ms : frameMs) {
        total += ms;
        worst = std::max(worst, ms);
    }
    size_t n = frameMs.size();
    double seconds = total / 1000.0;
    std::printf("%sframes=%zu seconds=%.3f fps=%.1f mean_ms=%.3f worst_ms=%.3f\n", label, n, seconds,
                seconds > 0 ? static_cast<double>(n) / seconds : 0.0,
                n ? total / static_cast<double>(n) : 0.0, worst);
}

// The same number of frames that only clear and swap, in a window of the same size: what the
// driver costs without the scene.
std::vector<double> ClearOnlyFrames(int frames) {
    SdlPlatform platform(SdlPlatform::Options{0});
    WindowClass windowClass;
    windowClass.className = "Quorvane_Baseline";
    windowClass.procedure = [](WindowHandle, uint32_t, uintptr_t, intptr_t) -> intptr_t { return 0; };
    std::vector<double> frameMs;
    if (!platform.RegisterClass(windowClass)) return frameMs;
    WindowHandle window = platform.CreateWindow(0, "Quorvane_Baseline", "baseline", WS_OVERLAPPEDWINDOW, 0, 0,
                                                640, 480, nullptr);
    DeviceContext dc = platform.GetDC(window);
    PixelFormatRequest request{
        40, 1, PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER, 16, 0, 0, 16, 0, 0};
    platform.SetPixelFormat(dc, platform.ChoosePixelFormat(dc, request), request);
    RenderContext rc = platform.CreateContext(dc);
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
        platform.DeleteContext(rc);
    }
    platform.ReleaseDC(window, dc);
    platform.DestroyWindow(window);
    platform.UnregisterClass("Quorvane_Baseline", nullptr);
    return frameMs;
}

bool ParseArguments(int argc, char** argv, Settings& settings, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "--frames") {
            if (!value(text)) return false;
            settings.frames = std::atoi(text.c_str());
        } else if (arg == "--shots") {
            if (!value(text)) return false;
            std::stringstream list(text);
            std::string item;
            while (std::getline(list, item, ',')) {
                int frame = std::atoi(item.c_str());
                if (frame < 1) {
                    error = "bad shot '" + item + "'";
                    return false;
                }
                settings.shots.insert(frame);
            }
        } else if (arg == "--out") {
            if (!value(settings.out)) return false;
        } else if (arg == "--input") {
            if (!value(text) || !ParseInputScript(text, settings.input, error)) return false;
        } else if (arg == "--bench") {
            settings.bench = true;
        } else {
            error = "unknown argument '" + arg + "'";
            return false;
        }
    }
    if (settings.frames < 1) {
        error = "--frames N (N >= 1) is required";
        return false;
    }
    for (int shot : settings.shots)
        if (shot > settings.frames) {
            error = "shot " + std::to_string(shot) + " comes after the last frame";
            return false;
        }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Settings settings;
    std::string error;
    if (!ParseArguments(argc, argv, settings, error)) {
        std::fprintf(
            stderr,
            "quorvane-capture: %s\nusage: quorvane-capture --frames N [--shots 1,100,600] [--out DIR] "
            "[--input \"EVENTS\"] [--bench]\n",
            error.c_str());
        return 2;
    }
    if (!settings.shots.empty() && mkdir(settings.out.c_str(), 0777) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "quorvane-capture: cannot create %s\n", settings.out.c_str());
        return 1;
    }

    // Headless by definition, whatever display there may be.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (!SdlPlatform::StartVideo(true, error)) {
        std::fprintf(stderr, "quorvane-capture: %s\n", error.c_str());
        return 1;
    }

    int exitCode = 0;
    int swaps = 0, savedShots = 0;
    std::vector<double> frameMs;
    double startupMs = -1.0;
    {
        CapturePlatform platform(settings, SdlPlatform::Options{settings.bench ? 0 : 1});
        SetCurrentPlatform(&platform);
        exitCode = RunApplication();
        SetCurrentPlatform(nullptr);
        swaps = platform.swaps;
        savedShots = platform.savedShots;
        frameMs = platform.frameMs;
        startupMs = platform.firstFrameStartup;
    }
    if (settings.bench) {
        PrintTiming("", frameMs);
        std::printf("startup_ms=%.1f\n", startupMs);
        PrintTiming("clear_only ", ClearOnlyFrames(settings.frames));
    }
    SdlPlatform::StopVideo();

    if (swaps < settings.frames)
        std::fprintf(stderr, "quorvane-capture: the program ended after %d of %d frames\n", swaps,
                     settings.frames);
    if (!settings.shots.empty())
        std::fprintf(stderr, "quorvane-capture: wrote %d of %zu frame(s) to %s/\n", savedShots,
                     settings.shots.size(), settings.out.c_str());
    // A shot that was asked for and not written is a failure; the program's own end is not.
    if (savedShots < static_cast<int>(settings.shots.size())) return 1;
    return exitCode;
}
