#include "XSession.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <thread>

namespace {
constexpr auto pollInterval = std::chrono::milliseconds(50);

// Windows come and go while we walk the tree (a box closing, the toolkit's helper windows);
// Xlib's default handler would end the process on the resulting BadWindow, so a failed request
// simply finds nothing.
int ignoreXError(Display*, XErrorEvent*) {
    return 0;
}
} // namespace

XSession::XSession() : display_(XOpenDisplay(nullptr)) {
    XSetErrorHandler(ignoreXError);
}

XSession::~XSession() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

std::string XSession::captionOf(Window window) {
    char* name = nullptr;
    std::string caption;
    if (XFetchName(display_, window, &name) != 0 && name != nullptr) {
        caption = name;
        XFree(name);
    }
    return caption;
}

Window XSession::findViewable(Window parent, const std::string& caption) {
    Window root = 0;
    Window parentOfParent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display_, parent, &root, &parentOfParent, &children, &count) == 0) {
        return 0;
    }
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display_, children[i], &attributes) != 0 &&
            attributes.map_state == IsViewable && captionOf(children[i]) == caption) {
            found = children[i];
        } else {
            found = findViewable(children[i], caption);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

Window XSession::waitForWindow(const std::string& caption, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        XSync(display_, False);
        if (Window window = findViewable(DefaultRootWindow(display_), caption); window != 0) {
            return window;
        }
        std::this_thread::sleep_for(pollInterval);
    }
    return 0;
}

bool XSession::waitForWindowGone(const std::string& caption, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        XSync(display_, False);
        if (findViewable(DefaultRootWindow(display_), caption) == 0) {
            return true;
        }
        std::this_thread::sleep_for(pollInterval);
    }
    return false;
}

void XSession::click(Window window, int x, int y) {
    int screenX = 0;
    int screenY = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), x, y, &screenX, &screenY,
                          &child);
    XTestFakeMotionEvent(display_, -1, screenX, screenY, CurrentTime);
    XTestFakeButtonEvent(display_, Button1, True, CurrentTime);
    XTestFakeButtonEvent(display_, Button1, False, CurrentTime);
    XFlush(display_);
}

void XSession::requestClose(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XFlush(display_);
}
