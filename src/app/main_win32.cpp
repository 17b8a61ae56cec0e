// The program's entry point on Windows: a GUI-subsystem program (no console window) on the Win32
// platform, then the one loop. Without arguments nothing differs from a program that reads none.
#include "platform/win32_headers.h"

#include <string>

#include "app/command_line.h"
#include "app/main_loop.h"
#include "platform/win32_platform.h"
#include "scene/scene_state.h"

namespace {

// A GUI program has no console of its own. The texts go to its standard stream where it was given
// one (a pipe or a file), else to the console it was started from, else into a box.
void Show(const std::string& text, bool error) {
    DWORD written = 0;
    HANDLE stream = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (stream && stream != INVALID_HANDLE_VALUE &&
        WriteFile(stream, text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
        return;
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        HANDLE console =
            CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        bool shown = console != INVALID_HANDLE_VALUE &&
                     WriteFile(console, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        if (console != INVALID_HANDLE_VALUE) CloseHandle(console);
        if (shown) return;
    }
    MessageBoxA(nullptr, text.c_str(), "Quorvane", error ? MB_OK | MB_ICONSTOP : MB_OK | MB_ICONINFORMATION);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    CommandLine command = ParseCommandLine(__argc, __argv);
    switch (command.action) {
    case CommandAction::Help:
        Show(HelpText(), false);
        return 0;
    case CommandAction::Version:
        Show(VersionText(), false);
        return 0;
    case CommandAction::Misuse:
        Show(MisuseText(command), true);
        return MisuseExitCode;
    case CommandAction::Run:
        break;
    }
    // Set before the first window exists, so that it asks for the fullscreen mode as F1 does.
    scene.fullscreen = command.fullscreen;

    Win32Platform platform;
    SetCurrentPlatform(&platform);
    int exitCode = RunApplication();
    SetCurrentPlatform(nullptr);
    return exitCode;
}
