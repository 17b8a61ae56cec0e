// What the capture tool needs from the build's own platform: a real platform with a real OpenGL
// context (headless where the platform can be), a way to put input into its queue, and the time
// since the process started.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

struct CaptureHost {
    std::unique_ptr<Platform> platform;
    InputInjector* input = nullptr; // the same object as `platform`
};

// Starts the platform; `bench` asks for frames that do not wait for the display. False with the
// reason in `error` when no OpenGL-capable platform can be had.
bool OpenCaptureHost(bool bench, CaptureHost& host, std::string& error);
// Ends what OpenCaptureHost started; the host's platform is gone by then.
void CloseCaptureHost(CaptureHost& host);

// Milliseconds since the process started, or a negative value where the system does not tell.
double MillisecondsSinceProcessStart();
