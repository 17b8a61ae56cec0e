// quorvane-capture: runs the real program headless with a scripted input and writes chosen
// frames as PNG files; with --bench it times the frames instead.
//
//   quorvane-capture --frames N [--shots 1,100,600] [--out DIR] [--input "EVENTS"] [--bench]
//
// Shot K is the picture presented by the K-th buffer swap, saved as DIR/frame-K.png.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_loop.h"
#include "capture/capture_host.h"
#include "capture/capture_platform.h"

namespace {

using Settings = CaptureSettings;

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
    std::error_code made;
    if (!settings.shots.empty() && !std::filesystem::create_directories(settings.out, made) && made) {
        std::fprintf(stderr, "quorvane-capture: cannot create %s\n", settings.out.c_str());
        return 1;
    }

    CaptureHost host;
    if (!OpenCaptureHost(settings.bench, host, error)) {
        std::fprintf(stderr, "quorvane-capture: %s\n", error.c_str());
        return 1;
    }

    int exitCode = 0;
    int swaps = 0, savedShots = 0;
    {
        CapturePlatform platform(*host.platform, *host.input, settings);
        SetCurrentPlatform(&platform);
        exitCode = RunApplication();
        SetCurrentPlatform(nullptr);
        swaps = platform.swaps;
        savedShots = platform.savedShots;
        if (settings.bench) {
            PrintTiming("", platform.frameMs);
            std::printf("startup_ms=%.1f\n", platform.firstFrameStartupMs);
            PrintTiming("clear_only ", ClearOnlyFrames(*host.platform, settings.frames));
        }
    }
    CloseCaptureHost(host);

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
