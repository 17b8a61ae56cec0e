// A private X server (Xvfb) for one test, with a connection of the test's own for looking at
// windows and taking screenshots, and xdotool for the keyboard and the mouse.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "child_process.h"
#include "common/png_file.h"

// Position of a window's client area on the screen, and its size.
struct WindowPlace {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool viewable = false;
};

class XvfbServer {
  public:
    // Starts Xvfb on a free display with one screen of the given size (24-bit colour) and waits
    // until it takes connections. Ok() tells whether that worked, Error() why not.
    XvfbServer(int width, int height);
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    bool Ok() const { return connection != nullptr; }
    const std::string& Error() const { return error; }
    const std::string& Name() const { return name; } // ":N", the value for DISPLAY

    // A viewable top-level window with this title, or 0.
    unsigned long FindWindow(const std::string& title);
    bool WindowExists(unsigned long window);
    bool Place(unsigned long window, WindowPlace& place);
    // The window's class as the window manager sees it (the class part of WM_CLASS), or "".
    std::string WindowClass(unsigned long window);
    // The window's content, as far as it lies on the screen; false once the window is gone or
    // not viewable.
    bool Capture(unsigned long window, RgbPicture& picture);
    // The close request a window manager sends for the close button: WM_DELETE_WINDOW.
    bool SendCloseRequest(unsigned long window);
    // Whether the mouse cursor shows (it is over a window that has not hidden it).
    bool CursorVisible();
    // Switches the keyboard's auto-repeat on or off for the whole server (it starts on).
    bool KeyRepeat(bool on);
    // The keycode of a key symbol ("KP_8", "Num_Lock") on this server's keyboard, or 0.
    int Keycode(const std::string& keysym);

    // Runs xdotool with these arguments against this server and waits for it to finish.
    bool Xdotool(const std::vector<std::string>& args, std::string* output = nullptr);

  private:
    struct Connection;

    std::string name;
    std::string error;
    std::string logPath;
    ChildProcess server;
    std::unique_ptr<Connection> connection;
};
