// quorvane-soak [FRAMES]: a long headless run of the real program (100,000 frames by default)
// under a script that cycles every control of the key table, F1 and a right-button drag
// included, and ends with Escape. Along the way it samples the resident size; at the end it
// checks every star, cube and particle field against its bounds.
//
// Exit code 0 when every field is finite and within its bounds and the resident size stayed
// flat (the peak after the first tenth of the run grew by less than 2 MB by its end); 1 if not;
// 2 for a bad argument. Meant for people, not for CI: it runs for many minutes.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/frame_counter.h"
#include "app/main_loop.h"
#include "capture/capture_host.h"
#include "capture/capture_platform.h"
#include "common/number_text.h"
#include "platform/virtual_keys.h"
#include "scene/scene_state.h"

namespace {

constexpr long long DefaultFrames = 100000;
constexpr long SampleEvery = 1000;     // frames between two samples of the resident size
constexpr double FlatKilobytes = 2048; // allowed growth of the peak after the warm-up

// The key table: latched keys are held for a few frames, held keys long enough to move their
// values, each in a pair with its opposite so that the run wanders without drifting away.
struct Control {
    uint32_t key;
    int holdFrames;
};
const Control Controls[] = {
    {'L', 3},         {'F', 3},         {'B', 3},         {'T', 3},     {'G', 3},          {VK_UP, 30},
    {VK_DOWN, 30},    {VK_PRIOR, 30},   {VK_NEXT, 30},    {VK_ADD, 30}, {VK_SUBTRACT, 30}, {'J', 30},
    {'K', 30},        {VK_RETURN, 3},   {VK_SPACE, 3},    {VK_TAB, 30}, {VK_SHIFT, 30},    {VK_NUMPAD8, 30},
    {VK_NUMPAD2, 30}, {VK_NUMPAD6, 30}, {VK_NUMPAD4, 30}, {'W', 30},    {'S', 30},         {'A', 30},
    {'D', 30},        {'Q', 30},        {'E', 30},        {VK_F1, 3},
};

std::vector<InputEvent> SoakScript(int frames) {
    std::vector<InputEvent> events;
    int frame = 1;
    auto add = [&](InputEvent::Kind kind, uint32_t key, int at) {
        InputEvent e;
        e.kind = kind;
        e.virtualKey = key;
        e.frame = at;
        events.push_back(e);
    };
    while (frame < frames - 200) {
        for (const Control& c : Controls) {
            add(InputEvent::Kind::KeyDown, c.key, frame);
            add(InputEvent::Kind::KeyUp, c.key, frame + c.holdFrames);
            frame += c.holdFrames + 2;
        }
        InputEvent drag;
        drag.kind = InputEvent::Kind::Drag;
        drag.frame = frame++;
        drag.dx = (frame / 7) % 2 ? 40 : -40;
        drag.dy = -25;
        events.push_back(drag);
    }
    add(InputEvent::Kind::KeyDown, VK_ESCAPE, frames); // the loop stops before drawing this one
    return events;
}

double ResidentKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string name;
    while (status >> name) {
        double value = 0;
        if (name == field && status >> value) return value;
        status.ignore(1 << 10, '\n');
    }
    return -1;
}

// Every problem found, as text; none when every field is finite and within its bounds.
std::vector<std::string> CheckScene(const SceneState& s) {
    std::vector<std::string> problems;
    auto check = [&](bool ok, const std::string& what) {
        if (!ok) problems.push_back(what);
    };
    auto within = [](double v, double low, double high) { return std::isfinite(v) && v >= low && v <= high; };
    auto colour = [](int32_t c) { return c >= 0 && c <= 255; };
    for (int i = 0; i < StarCount; ++i) {
        const Star& star = s.stars[i];
        std::string name = "star " + std::to_string(i);
        check(colour(star.red) && colour(star.green) && colour(star.blue), name + " colour");
        check(within(star.distance, 0.0, 5.0), name + " distance");
        check(std::isfinite(star.angle) && star.angle >= 0, name + " angle");
    }
    for (int i = 0; i < CubeCount; ++i) {
        const Cube& cube = s.cubes[i];
        std::string name = "cube " + std::to_string(i);
        check(colour(cube.red) && colour(cube.green) && colour(cube.blue), name + " colour");
        check(within(cube.x, -5.0, 4.9001) && within(cube.y, -5.0, 4.9001) && cube.z == -10.0f,
              name + " position");
        for (float spin : {cube.spinX, cube.spinY, cube.spinZ})
            check(within(spin, -0.5, 0.4001), name + " spin");
        for (float rot : {cube.rotX, cube.rotY, cube.rotZ}) check(std::isfinite(rot), name + " rotation");
    }
    // A particle lives at most 3,334 frames (the scatter's smallest decay, 0.0003) under a gravity
    // of at most 2.5 per frame, launched at most 260 (plus a launch bias of 200) per axis: so no
    // speed passes 260 + 200 + 2.5 * 3334 and no position 3334 times that over the smallest
    // divisor (0.99 * 1000).
    const double maxSpeed = 260 + 200 + 2.51 * 3334;
    const double maxOffset = 3334 * maxSpeed / 990 + 1;
    for (int i = 0; i < ParticleCount; ++i) {
        const Particle& p = s.particles[i];
        std::string name = "particle " + std::to_string(i);
        check(p.active, name + " inactive");
        check(within(p.life, 0.0, 1.0), name + " life");
        check(within(p.lifeDecay, 0.0003 - 1e-6, 0.0102 + 1e-6) ||
                  within(p.lifeDecay, 0.003 - 1e-6, 0.102 + 1e-6),
              name + " life decay");
        for (float c : {p.red, p.green, p.blue}) check(within(c, 0.5, 1.0), name + " colour");
        for (float v : {p.x, p.y, p.z}) check(within(v, -maxOffset, maxOffset), name + " position");
        for (float v : {p.velX, p.velY, p.velZ}) check(within(v, -maxSpeed, maxSpeed), name + " speed");
        for (float g : {p.gravX, p.gravY, p.gravZ}) check(within(g, -2.5, 2.5), name + " gravity");
    }
    check(within(s.particleSlowdown, 0.99 - 1e-4, 4.01 + 1e-4), "particleSlowdown");
    check(within(s.launchSpeedX, -200, 200) && within(s.launchSpeedY, -200, 200), "launch speed");
    check(s.paletteIndex < 12 && s.filterIndex < 3 && s.fogModeIndex < 3, "selectors");
    for (float v : {s.cameraYaw, s.cameraPitch, s.cameraX, s.cameraY, s.cameraZ, s.sceneDepth, s.starTilt,
                    s.starSpin, s.particleDepth, s.backdropZ})
        check(std::isfinite(v), "scene parameters");
    return problems;
}

} // namespace

int main(int argc, char** argv) {
    long long frames = DefaultFrames;
    std::string error;
    if (argc > 2 || (argc == 2 && !ParseBoundedNumber(argv[1], 10 * SampleEvery, MaxFrameNumber - 1, "FRAMES",
                                                      frames, error))) {
        std::fprintf(stderr, "quorvane-soak: %s\nusage: quorvane-soak [FRAMES]\n",
                     error.empty() ? "one argument at most" : error.c_str());
        return 2;
    }
    CaptureSettings settings;
    settings.frames = static_cast<int>(frames) + 1; // the last is the one Escape stops
    settings.input = SoakScript(settings.frames);
    CaptureHost host;
    if (!OpenCaptureHost(true, host, error)) {
        std::fprintf(stderr, "quorvane-soak: %s\n", error.c_str());
        return 1;
    }
    std::vector<double> samples; // resident kilobytes, every SampleEvery frames
    int swaps = 0;
    {
        CapturePlatform platform(*host.platform, *host.input, settings);
        platform.afterSwap = [&](int swap) {
            if (swap % SampleEvery == 0) samples.push_back(ResidentKilobytes("VmRSS:"));
        };
        SetCurrentPlatform(&platform);
        RunApplication();
        SetCurrentPlatform(nullptr);
        swaps = static_cast<int>(PresentedFrames());
    }
    std::vector<std::string> problems = CheckScene(scene);
    CloseCaptureHost(host);

    // The peak over the first tenth (drivers and caches warming up) against the peak overall.
    size_t warm = samples.size() / 10;
    double warmPeak = 0, peak = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        if (i <= warm) warmPeak = std::max(warmPeak, samples[i]);
        peak = std::max(peak, samples[i]);
    }
    bool flat = !samples.empty() && peak - warmPeak < FlatKilobytes;
    std::printf("frames=%d events=%zu resident_kb first=%.0f after_warmup_peak=%.0f peak=%.0f last=%.0f "
                "growth_kb=%.0f %s\n",
                swaps, settings.input.size(), samples.empty() ? 0 : samples.front(), warmPeak, peak,
                samples.empty() ? 0 : samples.back(), peak - warmPeak, flat ? "flat" : "GROWING");
    for (size_t i = 0; i < problems.size() && i < 20; ++i)
        std::printf("out of bounds: %s\n", problems[i].c_str());
    std::printf("fields: %s\n", problems.empty() ? "all finite and within bounds" : "PROBLEMS");
    bool complete = swaps == static_cast<int>(frames);
    if (!complete) std::printf("the run ended after %d of %lld frames\n", swaps, frames);
    return problems.empty() && flat && complete ? 0 : 1;
}
