// The program's entry point: the command line, SDL2 as the platform, then the one loop. Without
// arguments nothing differs from a program that reads none.
#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "app/main_loop.h"
#include "app/main_window.h"
#include "platform/leak_check.h"
#include "platform/sdl_platform.h"
#include "scene/scene_state.h"

int main(int argc, char** argv) {
    // The platform's message-box helper is this program started again, with arguments of its own.
    int helperExit = 0;
    if (SdlPlatform::RunMessageBoxHelper(argc, argv, helperExit)) return helperExit;

    CommandLine command = ParseCommandLine(argc, argv);
    switch (command.action) {
    case CommandAction::Help:
        std::fputs(HelpText().c_str(), stdout);
        return 0;
    case CommandAction::Version:
        std::fputs(VersionText().c_str(), stdout);
        return 0;
    case CommandAction::Misuse:
        std::fputs(MisuseText(command).c_str(), stderr);
        return MisuseExitCode;
    case CommandAction::Run:
        break;
    }
    // Set before the first window exists, so that it asks for the fullscreen mode as F1 does (and a
    // refused mode brings the usual question).
    scene.fullscreen = command.fullscreen;

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
    CheckLeaksNow();
    SdlPlatform::StopVideo();
    return exitCode;
}
