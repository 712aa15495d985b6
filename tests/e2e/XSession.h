// A user's hands on an X display: find top-level windows by caption, click inside them and
// close them as a window manager does (WM_DELETE_WINDOW), with every wait bounded.
#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <string>

class XSession {
public:
    XSession();
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool connected() const { return display_ != nullptr; }

    // The first viewable window whose caption is exactly `caption`, or 0 after `timeout`.
    Window waitForWindow(const std::string& caption, std::chrono::milliseconds timeout);
    // True once no viewable window has the caption any more, false after `timeout`.
    bool waitForWindowGone(const std::string& caption, std::chrono::milliseconds timeout);

    // Left click at (x, y) in the window's own coordinates, through the XTest extension.
    void click(Window window, int x, int y);
    // Asks the window to close, the way a window manager's close box does.
    void requestClose(Window window);

private:
    Window findViewable(Window parent, const std::string& caption);
    std::string captionOf(Window window);

    Display* display_ = nullptr;
};
