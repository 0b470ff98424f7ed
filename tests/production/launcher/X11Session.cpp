#include "tests/production/launcher/X11Session.h"

#include <X11/Xlib.h>

namespace {

// A window can go between finding it and closing it; Xlib's default
// handler would end the whole test run for that.
int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

Display* asDisplay(void* connection)
{
    return static_cast<Display*>(connection);
}

} // namespace

X11Session::X11Session(const std::string& display)
    : connection(XOpenDisplay(display.c_str()))
{
    XSetErrorHandler(ignoreErrors);
}

X11Session::~X11Session()
{
    if (connection)
        XCloseDisplay(asDisplay(connection));
}

bool X11Session::requestClose(unsigned long window)
{
    if (!connection)
        return false;
    Display* d = asDisplay(connection);
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(d, window, False, NoEventMask, &event);
    XSync(d, False);
    return sent != 0;
}
