// Asks the window named on the command line ("Mirevo" by default) to close, as a window
// manager's close button does, so that end-to-end runs can test the game's close path
// on a bare X server.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>

namespace {
Window findByName(Display* display, Window root, const char* name) {
    char* title = nullptr;
    if (XFetchName(display, root, &title) && title) {
        bool match = std::strcmp(title, name) == 0;
        XFree(title);
        if (match) return root;
    }
    Window parent = 0;
    Window rootReturn = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, root, &rootReturn, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !found; ++i)
            found = findByName(display, children[i], name);
        if (children) XFree(children);
    }
    return found;
}
}  // namespace

int main(int argc, char** argv) {
    const char* name = argc > 1 ? argv[1] : "Mirevo";
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no display\n");
        return 2;
    }
    Window window = findByName(display, DefaultRootWindow(display), name);
    if (!window) {
        std::fprintf(stderr, "no window named %s\n", name);
        XCloseDisplay(display);
        return 1;
    }
    XEvent event;
    std::memset(&event, 0, sizeof(event));
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    XCloseDisplay(display);
    return 0;
}
