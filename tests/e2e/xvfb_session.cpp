#include "xvfb_session.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

// How long Xvfb may take to come up, and xdotool to do one command.
constexpr int ServerStartMilliseconds = 15000;
constexpr double XdotoolSeconds = 10.0;

// Xlib reports a request on a window that has just gone (BadWindow, BadMatch) through a handler
// that would end the test program; the tests only need to know that the request failed.
int lastXError = 0;
int RecordXError(::Display*, XErrorEvent* event) {
    lastXError = event->error_code;
    return 0;
}

// Shift that brings the lowest set bit of a colour mask down to bit 0.
int MaskShift(unsigned long mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

} // namespace

struct XvfbServer::Connection {
    ::Display* display = nullptr;
    ~Connection() {
        if (display) XCloseDisplay(display);
    }
};

XvfbServer::XvfbServer(int width, int height) {
    XSetErrorHandler(RecordXError);
    char logPattern[] = "/tmp/quorvane-e2e-xvfb-XXXXXX";
    int logFd = mkstemp(logPattern);
    if (logFd >= 0) {
        close(logFd);
        logPath = logPattern;
    }

    // Xvfb picks a free display itself and writes its number to this pipe once it listens.
    int fds[2];
    if (pipe(fds) != 0) {
        error = std::string("pipe failed: ") + std::strerror(errno);
        return;
    }
    // Keys held by the tests must not repeat: a repeated F1 switches the window again, and a
    // switch that takes longer than the server's repeat delay (the sanitizer build under load)
    // would be followed by more. A minute (the most the server takes is 65535 ms) is longer than
    // any key is held here.
    ChildProcess::Options options;
    options.args = {"Xvfb",      "-displayfd", std::to_string(fds[1]),
                    "-screen",   "0",          std::to_string(width) + "x" + std::to_string(height) + "x24",
                    "-nolisten", "tcp",        "-ardelay",
                    "60000"};
    options.outputPath = logPath;
    options.keepFd = fds[1];
    bool started = server.Start(options, error);
    close(fds[1]);
    if (!started) {
        close(fds[0]);
        return;
    }

    std::string number;
    auto deadline = Clock::now() + std::chrono::milliseconds(ServerStartMilliseconds);
    while (number.empty() || number.back() != '\n') {
        int left = static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
        pollfd readable{fds[0], POLLIN, 0};
        if (left <= 0 || poll(&readable, 1, left) <= 0) break;
        char buffer[16];
        ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got <= 0) break;
        number.append(buffer, static_cast<size_t>(got));
    }
    close(fds[0]);
    if (number.empty() || number.back() != '\n') {
        error = "Xvfb did not start: " + ReadTextFile(logPath);
        server.Stop();
        return;
    }
    number.pop_back();
    name = ":" + number;

    ::Display* display = XOpenDisplay(name.c_str());
    if (!display) {
        error = "cannot connect to Xvfb on " + name;
        server.Stop();
        return;
    }
    connection = std::make_unique<Connection>();
    connection->display = display;
    // A key held by xdotool would otherwise repeat after half a second: F1, repeated, switches
    // the window again, so that what a test sees would depend on how fast the machine is.
    XAutoRepeatOff(display);
    XSync(display, False);
}

XvfbServer::~XvfbServer() {
    // Our connection goes first: Xlib ends the whole program when its server disappears under it.
    connection.reset();
    server.Stop();
    if (!logPath.empty()) unlink(logPath.c_str());
}

unsigned long XvfbServer::FindWindow(const std::string& title) {
    if (!Ok()) return 0;
    ::Display* display = connection->display;
    Window root = DefaultRootWindow(display);
    Window rootReturn = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, root, &rootReturn, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        char* windowName = nullptr;
        if (XFetchName(display, children[i], &windowName) && windowName) {
            XWindowAttributes attributes;
            if (title == windowName && XGetWindowAttributes(display, children[i], &attributes) &&
                attributes.map_state == IsViewable)
                found = children[i];
            XFree(windowName);
        }
    }
    if (children) XFree(children);
    return found;
}

bool XvfbServer::WindowExists(unsigned long window) {
    if (!Ok()) return false;
    XWindowAttributes attributes;
    lastXError = 0;
    bool ok = XGetWindowAttributes(connection->display, window, &attributes) != 0;
    XSync(connection->display, False);
    return ok && lastXError == 0;
}

std::string XvfbServer::WindowClass(unsigned long window) {
    if (!Ok()) return "";
    XClassHint hint{};
    if (!XGetClassHint(connection->display, window, &hint)) return "";
    std::string name = hint.res_class ? hint.res_class : "";
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    return name;
}

bool XvfbServer::Place(unsigned long window, WindowPlace& place) {
    if (!Ok()) return false;
    ::Display* display = connection->display;
    XWindowAttributes attributes;
    lastXError = 0;
    if (!XGetWindowAttributes(display, window, &attributes)) return false;
    int rootX = 0, rootY = 0;
    Window child = 0;
    if (!XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &rootX, &rootY, &child))
        return false;
    XSync(display, False);
    if (lastXError) return false;
    place.x = rootX;
    place.y = rootY;
    place.width = attributes.width;
    place.height = attributes.height;
    place.viewable = attributes.map_state == IsViewable;
    return true;
}

bool XvfbServer::Capture(unsigned long window, RgbPicture& picture) {
    WindowPlace place;
    if (!Place(window, place) || !place.viewable) return false;
    ::Display* display = connection->display;
    // Only the part on the screen can be read (a framed window at the corner of a screen its own
    // size reaches past it).
    int left = std::max(0, -place.x), top = std::max(0, -place.y);
    place.width = std::min(place.width, DisplayWidth(display, DefaultScreen(display)) - place.x) - left;
    place.height = std::min(place.height, DisplayHeight(display, DefaultScreen(display)) - place.y) - top;
    if (place.width <= 0 || place.height <= 0) return false;
    lastXError = 0;
    XImage* image = XGetImage(display, window, left, top, static_cast<unsigned>(place.width),
                              static_cast<unsigned>(place.height), AllPlanes, ZPixmap);
    XSync(display, False);
    if (!image) return false;
    if (lastXError) {
        XDestroyImage(image);
        return false;
    }
    int redShift = MaskShift(image->red_mask);
    int greenShift = MaskShift(image->green_mask);
    int blueShift = MaskShift(image->blue_mask);
    picture.width = place.width;
    picture.height = place.height;
    picture.pixels.resize(static_cast<size_t>(place.width) * static_cast<size_t>(place.height) * 3);
    uint8_t* out = picture.pixels.data();
    // The tests take screenshots continuously while the program draws: read 32-bit pixels in
    // the machine's own byte order directly rather than one call per pixel.
    uint32_t probe = 1;
    bool nativeOrder = (*reinterpret_cast<uint8_t*>(&probe) == 1) == (image->byte_order == LSBFirst);
    bool direct = image->bits_per_pixel == 32 && nativeOrder;
    for (int y = 0; y < place.height; ++y) {
        const uint32_t* row =
            reinterpret_cast<const uint32_t*>(image->data + static_cast<size_t>(y) * image->bytes_per_line);
        for (int x = 0; x < place.width; ++x) {
            unsigned long pixel = direct ? row[x] : XGetPixel(image, x, y);
            *out++ = static_cast<uint8_t>((pixel & image->red_mask) >> redShift);
            *out++ = static_cast<uint8_t>((pixel & image->green_mask) >> greenShift);
            *out++ = static_cast<uint8_t>((pixel & image->blue_mask) >> blueShift);
        }
    }
    XDestroyImage(image);
    return true;
}

bool XvfbServer::SendCloseRequest(unsigned long window) {
    if (!Ok()) return false;
    ::Display* display = connection->display;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    lastXError = 0;
    Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    return sent != 0 && lastXError == 0;
}

bool XvfbServer::CursorVisible() {
    if (!Ok()) return false;
    XFixesCursorImage* cursor = XFixesGetCursorImage(connection->display);
    if (!cursor) return false;
    bool visible = false;
    for (int i = 0; i < cursor->width * cursor->height && !visible; ++i)
        visible = (cursor->pixels[i] >> 24) != 0; // any pixel not fully transparent
    XFree(cursor);
    return visible;
}

bool XvfbServer::KeyRepeat(bool on) {
    if (!Ok()) return false;
    if (on)
        XAutoRepeatOn(connection->display);
    else
        XAutoRepeatOff(connection->display);
    XSync(connection->display, False);
    return true;
}

int XvfbServer::Keycode(const std::string& keysym) {
    if (!Ok()) return 0;
    KeySym symbol = XStringToKeysym(keysym.c_str());
    if (symbol == NoSymbol) return 0;
    return XKeysymToKeycode(connection->display, symbol);
}

bool XvfbServer::Xdotool(const std::vector<std::string>& args, std::string* output) {
    if (!Ok()) return false;
    ChildProcess::Options options;
    options.args = {"xdotool"};
    options.args.insert(options.args.end(), args.begin(), args.end());
    options.setEnv = {{"DISPLAY", name}};
    std::string text;
    std::optional<ExitStatus> status = RunToEnd(options, XdotoolSeconds, text);
    if (output) *output = text;
    return status && status->exited && status->code == 0;
}
