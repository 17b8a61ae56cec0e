// The capture tool's platform: any real platform, wrapped. Before each frame it feeds the scripted
// input into the real platform's own queue; at the chosen buffer swaps it reads the frame back
// before it is presented; after the last frame it closes the window as a user would. It times
// every frame on the way. Frames are numbered by the main loop's own count.
#pragma once

#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/input_schedule.h"
#include "common/input_script.h"
#include "common/png_file.h"
#include "platform/forwarding_platform.h"

struct CaptureSettings {
    int frames = 0;
    std::set<int> shots;
    std::string out = "captures";
    std::vector<InputEvent> input;
    bool bench = false;
};

// The picture in the back buffer of the current context, top row first.
RgbPicture ReadBackBuffer(int width, int height);

class CapturePlatform : public ForwardingPlatform {
  public:
    using Clock = std::chrono::steady_clock;

    CapturePlatform(Platform& inner, InputInjector& input, const CaptureSettings& settings);

    int failedShots = 0;
    int savedShots = 0;
    // With --bench: the time of each frame, from the previous swap (the first: from the loop's start).
    std::vector<double> frameMs;
    double firstFrameStartupMs = -1.0;
    // Called after every buffer swap with its number, for front ends that watch a long run.
    std::function<void(int swap)> afterSwap;

    bool SwapBuffers(DeviceContext dc) override;
    bool PeekMessage(Message& message) override;

  private:
    void Deliver(const InputEvent& event);
    void SaveShot(int frame);

    InputInjector& input;
    const CaptureSettings& settings;
    InputSchedule<InputEvent> schedule; // the script, by the frame each event comes before
    bool started = false;
    int deliveredFor = 0;
    Clock::time_point loopStart;
    Clock::time_point lastSwap;
};

// The same number of frames that only clear and swap, in a 640 x 480 window of the same platform:
// what the driver costs without the scene.
std::vector<double> ClearOnlyFrames(Platform& platform, int frames);
