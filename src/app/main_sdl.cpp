// The program's entry point: SDL2 as the platform, then the one loop. No argument is read.
#include <cstdio>
#include <string>

#include "app/main_loop.h"
#include "app/main_window.h"
#include "platform/sdl_platform.h"

int main(int argc, char** argv) {
    // No argument is read; the platform's message-box helper is this program started again.
    int helperExit = 0;
    if (SdlPlatform::RunMessageBoxHelper(argc, argv, helperExit)) return helperExit;
    std::string error;
    if (!SdlPlatform::StartVideo(false, error, MainWindowClassName)) {
        // Without a display there is nothing to show; this is not a failure of the program.
        std::fprintf(
            stderr,
            "quorvane: %s.\n"
            "quorvane: nothing was drawn. quorvane-capture runs the scene headless and writes frames "
            "as PNG files.\n",
            error.c_str());
        return 0;
    }
    int exitCode = 0;
    {
        SdlPlatform platform;
        SetCurrentPlatform(&platform);
        exitCode = RunApplication();
        SetCurrentPlatform(nullptr);
    }
    SdlPlatform::CheckLeaksNow();
    SdlPlatform::StopVideo();
    return exitCode;
}
