// The program's entry point on Windows: a GUI-subsystem program (no console window) on the Win32
// platform, then the one loop. No argument is read.
#include "platform/win32_headers.h"

#include "app/main_loop.h"
#include "platform/win32_platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Win32Platform platform;
    SetCurrentPlatform(&platform);
    int exitCode = RunApplication();
    SetCurrentPlatform(nullptr);
    return exitCode;
}
