#include "quorvane_run.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Upper bounds only: a passing run never waits for them. The sanitizer build draws far slower.
constexpr double WindowSeconds = 30.0;
constexpr double FramesSeconds = 20.0; // for a few frames
constexpr double HoldSeconds = 60.0;   // for a key held up to a few hundred frames

// A key message is read on the pass after it arrives; the frame being drawn meanwhile does not
// see it, and the controls run after the next frame's swap. So three frames after a key-down the
// control has acted and a frame drawn after it is on the screen; one more for margin. Two after a
// key-up the latch has seen the key up.
constexpr int FramesAfterKeyDown = 4;
constexpr int FramesAfterKeyUp = 3;
// Mouse messages are applied by the first frame after them.
constexpr int FramesAfterMouse = 3;

Clock::time_point Deadline(double seconds) {
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

} // namespace

ProgramCommand NativeProgram() {
    return ProgramCommand{{std::string(QUORVANE_BINARY_DIR) + "/quorvane"}, {}};
}

QuorvaneRun::~QuorvaneRun() {
    process.Stop();
    if (counter) munmap(const_cast<std::atomic<uint64_t>*>(counter), sizeof(*counter));
    if (!outputPath.empty()) unlink(outputPath.c_str());
    if (!counterPath.empty()) unlink(counterPath.c_str());
}

bool QuorvaneRun::Start(const std::string& workDir, std::string& error,
                        const std::vector<std::string>& args) {
    char pattern[] = "/tmp/quorvane-e2e-program-XXXXXX";
    int fd = mkstemp(pattern);
    if (fd < 0) {
        error = "cannot create a file for the program's output";
        return false;
    }
    close(fd);
    outputPath = pattern;
    // The frame counter: eight zero bytes the program maps and counts its swaps in.
    char counterPattern[] = "/tmp/quorvane-e2e-frames-XXXXXX";
    fd = mkstemp(counterPattern);
    void* mapped = MAP_FAILED;
    if (fd >= 0 && ftruncate(fd, sizeof(uint64_t)) == 0)
        mapped = mmap(nullptr, sizeof(uint64_t), PROT_READ, MAP_SHARED, fd, 0);
    if (fd >= 0) close(fd);
    if (mapped == MAP_FAILED) {
        error = "cannot map a frame counter";
        return false;
    }
    counterPath = counterPattern;
    counter = static_cast<const std::atomic<uint64_t>*>(mapped);
    ChildProcess::Options options;
    options.args = command.args;
    options.args.insert(options.args.end(), args.begin(), args.end());
    options.workDir = workDir;
    options.setEnv = command.env;
    options.setEnv.emplace_back("DISPLAY", server.Name());
    options.setEnv.emplace_back("QUORVANE_FRAME_COUNTER", counterPath);
    options.unsetEnv = {"WAYLAND_DISPLAY", "SDL_VIDEODRIVER"};
    options.outputPath = outputPath;
    return process.Start(options, error);
}

bool QuorvaneRun::WaitForWindow() {
    return WaitForWindowOtherThan(0);
}

bool QuorvaneRun::WaitForNewWindow() {
    return WaitForWindowOtherThan(window);
}

bool QuorvaneRun::WaitForWindowOtherThan(unsigned long old) {
    auto deadline = Deadline(WindowSeconds);
    for (;;) {
        window = server.FindWindow("Quorvane");
        if (window != 0 && window != old) break;
        if (Clock::now() >= deadline || !process.Running()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // The program focuses its window itself; without a window manager nothing takes it away, but
    // make sure before any key is sent.
    if (!server.Xdotool({"windowfocus", "--sync", std::to_string(window)})) return false;
    return WaitFrames(2);
}

bool QuorvaneRun::Shot(RgbPicture& picture) {
    return window && server.Capture(window, picture);
}

uint64_t QuorvaneRun::Frames() const {
    return counter ? counter->load(std::memory_order_acquire) : 0;
}

bool QuorvaneRun::WaitFrames(int count) {
    auto deadline = Deadline(FramesSeconds);
    uint64_t target = Frames() + static_cast<uint64_t>(count);
    while (Frames() < target) {
        if (Clock::now() >= deadline || !process.Running()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

bool QuorvaneRun::KeyDown(const std::string& key) {
    return server.Xdotool({"keydown", key});
}

bool QuorvaneRun::KeyUp(const std::string& key) {
    return server.Xdotool({"keyup", key});
}

bool QuorvaneRun::Press(const std::string& key) {
    return KeyDown(key) && WaitFrames(FramesAfterKeyDown) && KeyUp(key) && WaitFrames(FramesAfterKeyUp);
}

bool QuorvaneRun::HoldFor(const std::string& key, int frames) {
    return KeyDown(key) && WaitFrames(frames) && KeyUp(key);
}

bool QuorvaneRun::HoldUntil(const std::string& key, const std::function<bool(const RgbPicture&)>& done,
                            RgbPicture& last, int frameLimit, int* framesSeen) {
    if (!KeyDown(key)) return false;
    auto deadline = Deadline(HoldSeconds);
    uint64_t start = Frames();
    bool reached = false;
    while (Clock::now() < deadline && Frames() - start < static_cast<uint64_t>(frameLimit)) {
        if (!Shot(last)) break;
        if (done(last)) {
            reached = true;
            break;
        }
    }
    bool released = KeyUp(key);
    if (framesSeen) *framesSeen = static_cast<int>(Frames() - start);
    return reached && released;
}

bool QuorvaneRun::MoveMouse(int x, int y) {
    return server.Xdotool({"mousemove", std::to_string(x), std::to_string(y)});
}

bool QuorvaneRun::RightButton(bool down) {
    return server.Xdotool({down ? "mousedown" : "mouseup", "3"});
}

bool QuorvaneRun::RightDrag(int fromX, int fromY, int toX, int toY) {
    return MoveMouse(fromX, fromY) && WaitFrames(FramesAfterMouse) && RightButton(true) &&
           WaitFrames(FramesAfterMouse) && MoveMouse(toX, toY) && WaitFrames(FramesAfterMouse) &&
           RightButton(false) && WaitFrames(FramesAfterMouse);
}

std::optional<ExitStatus> QuorvaneRun::WaitExit(double seconds) {
    return process.Wait(seconds);
}

std::string SaveScreenshots(const std::string& testName,
                            const std::vector<std::pair<std::string, RgbPicture>>& shots) {
    std::string folder = std::string(QUORVANE_BINARY_DIR) + "/e2e-screenshots";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    for (const auto& [label, picture] : shots) {
        std::string error;
        WritePng(folder + "/" + testName + "-" + label + ".png", picture, error);
    }
    return folder;
}
