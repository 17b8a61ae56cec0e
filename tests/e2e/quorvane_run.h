// The real quorvane program running in a private X server: its window, screenshots of it, keys and
// the mouse through xdotool, and its end.
//
// The scene has no clock: it moves by a fixed step per frame, as fast as the machine draws. So the
// tests never wait for a time; they wait for the program to draw a number of frames, which it
// counts for them in a shared file (QUORVANE_FRAME_COUNTER).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "child_process.h"
#include "common/png_file.h"
#include "xvfb_session.h"

// How the program is started: the command and what it adds to the environment. By default the
// build's own program; the Windows build's runs under Wine.
struct ProgramCommand {
    std::vector<std::string> args;
    std::vector<std::pair<std::string, std::string>> env;
};
ProgramCommand NativeProgram();

class QuorvaneRun {
  public:
    explicit QuorvaneRun(XvfbServer& server, ProgramCommand command = NativeProgram())
        : server(server), command(std::move(command)) {}
    ~QuorvaneRun();
    QuorvaneRun(const QuorvaneRun&) = delete;
    QuorvaneRun& operator=(const QuorvaneRun&) = delete;

    // Starts the program in `workDir` (which holds data/) with `args`, with DISPLAY set to the
    // server; false with the reason in `error` if it could not be started.
    bool Start(const std::string& workDir, std::string& error, const std::vector<std::string>& args = {});
    // Waits for the window titled "Quorvane" and for its first frames, and gives it the keyboard.
    bool WaitForWindow();
    unsigned long Window() const { return window; }
    // After the program has replaced its window (the F1 switch): waits for the new one.
    bool WaitForNewWindow();

    bool Shot(RgbPicture& picture);
    // Buffer swaps since the program started.
    uint64_t Frames() const;
    // Waits until the program has drawn `count` more frames; false if it ends or takes too long.
    bool WaitFrames(int count);

    // Keys by xdotool name ("l", "Up", "Page_Down", "KP_Add", "Return") or by keycode ("80").
    bool KeyDown(const std::string& key);
    bool KeyUp(const std::string& key);
    // Down for a few frames and up again: a latched control acts exactly once.
    bool Press(const std::string& key);
    // Down while the program draws `frames` frames, then up.
    bool HoldFor(const std::string& key, int frames);
    // Holds the key, taking screenshots, until `done` says so (true), or until the time runs out,
    // the program has drawn `frameLimit` frames since the key went down or a screenshot fails
    // (false); then lets it go. The last screenshot is left in `last`.
    bool HoldUntil(const std::string& key, const std::function<bool(const RgbPicture&)>& done,
                   RgbPicture& last, int frameLimit, int* framesSeen = nullptr);

    // Moves the pointer to client coordinates (the window sits at 0,0 of the screen).
    bool MoveMouse(int x, int y);
    bool RightButton(bool down);
    // A right-button drag from one point to another, with frames drawn in between.
    bool RightDrag(int fromX, int fromY, int toX, int toY);

    bool Running() { return process.Running(); }
    pid_t Pid() const { return process.Pid(); }
    std::optional<ExitStatus> WaitExit(double seconds = 20.0);
    std::string Output() const { return ReadTextFile(outputPath); }

    // Screenshots worth looking at when the test fails; the test fixture writes them out.
    void Keep(const std::string& label, const RgbPicture& picture) { kept.emplace_back(label, picture); }
    const std::vector<std::pair<std::string, RgbPicture>>& Kept() const { return kept; }

  private:
    bool WaitForWindowOtherThan(unsigned long old);

    XvfbServer& server;
    ProgramCommand command;
    ChildProcess process;
    std::string outputPath;
    std::string counterPath;
    const std::atomic<uint64_t>* counter = nullptr; // the program's swap count, mapped
    unsigned long window = 0;
    std::vector<std::pair<std::string, RgbPicture>> kept;
};

// Writes the screenshots a run kept to the build folder (e2e-screenshots/<test>-<label>.png) and
// returns the folder, for the failure message.
std::string SaveScreenshots(const std::string& testName,
                            const std::vector<std::pair<std::string, RgbPicture>>& shots);
