// The window, its rendering context, the optional fullscreen display mode and the projection.
#pragma once

// Builds the window class, display mode, window, device context, pixel format and rendering
// context in that order, then the projection and the scene set-up. False after a failure, which
// has been reported in a message box and torn down.
bool OpenMainWindow();

// Releases whatever exists, display mode first and window class last; safe on a partly built
// window.
void CloseMainWindow();

// Viewport and perspective projection for a client area of width x height pixels.
void SetProjection(int width, int height);

// Names and texts the window shows.
constexpr const char* MainWindowClassName = "Quorvane_Main_Window";
constexpr const char* MainWindowTitle = "Quorvane";
constexpr int MainWindowWidth = 640;
constexpr int MainWindowHeight = 480;
constexpr int FullscreenBitsPerPixel = 16;
