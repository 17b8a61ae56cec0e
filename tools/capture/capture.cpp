// quorvane-capture: runs the real program headless with a scripted input and writes chosen
// frames as PNG files; with --bench it times the frames instead.
//
//   quorvane-capture --frames N [--shots 1,100,600] [--out DIR] [--input "EVENTS"] [--bench]
//
// Shot K is the picture presented by the K-th buffer swap, saved as DIR/frame-K.png.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_loop.h"
#include "capture/capture_host.h"
#include "capture/capture_platform.h"
#include "common/frame_times.h"
#include "common/number_text.h"
#include "app/frame_counter.h"

namespace {

using Settings = CaptureSettings;

constexpr double CaptureFramesPerSecond = 60.0;

// One line of totals, then the distribution: median, 95th and 99th percentiles, and the five
// slowest frames as FRAME:MS, the worst first.
void PrintTiming(const char* label, const std::vector<double>& frameMs) {
    FrameTimeSummary summary = SummariseFrameTimes(frameMs);
    size_t n = frameMs.size();
    double seconds = summary.totalMs / 1000.0;
    double worst = summary.slowest.empty() ? 0.0 : summary.slowest.front().ms;
    int worstFrame = summary.slowest.empty() ? 0 : summary.slowest.front().number;
    std::printf("%sframes=%zu seconds=%.3f fps=%.1f mean_ms=%.3f worst_ms=%.3f\n", label, n, seconds,
                seconds > 0 ? static_cast<double>(n) / seconds : 0.0, summary.meanMs, worst);
    std::printf("%smedian_ms=%.3f p95_ms=%.3f p99_ms=%.3f worst_frame=%d slowest=", label, summary.medianMs,
                summary.p95Ms, summary.p99Ms, worstFrame);
    for (size_t i = 0; i < summary.slowest.size(); ++i)
        std::printf("%s%d:%.3f", i ? "," : "", summary.slowest[i].number, summary.slowest[i].ms);
    std::printf("\n");
}

// --bench keeps the time of every frame (for its percentiles): 80 MB at this many.
constexpr long long MaxBenchFrames = 10000000;

bool ParseArguments(int argc, char** argv, Settings& settings, std::string& error) {
    std::string framesText, shotsText;
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
            if (!value(framesText)) return false;
        } else if (arg == "--shots") {
            if (!value(shotsText)) return false;
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
    if (framesText.empty()) {
        error = "--frames N is required";
        return false;
    }
    long long number = 0;
    if (!ParseBoundedNumber(framesText, 1, settings.bench ? MaxBenchFrames : MaxFrameNumber, "--frames",
                            number, error))
        return false;
    settings.frames = static_cast<int>(number);
    std::stringstream list(shotsText);
    std::string item;
    while (std::getline(list, item, ',')) {
        if (!ParseBoundedNumber(item, 1, settings.frames, "shot", number, error)) return false;
        settings.shots.insert(static_cast<int>(number));
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

    // Captured frames are pictures of the scene, which has no clock: the help panel's frame rate
    // steps with the frames too, so its pictures are the same on every run. Timed runs keep the
    // real clock.
    if (!settings.bench) UseSteppedFrameClock(CaptureFramesPerSecond);

    int exitCode = 0;
    int swaps = 0, savedShots = 0;
    {
        CapturePlatform platform(*host.platform, *host.input, settings);
        SetCurrentPlatform(&platform);
        exitCode = RunApplication();
        SetCurrentPlatform(nullptr);
        swaps = static_cast<int>(PresentedFrames());
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
