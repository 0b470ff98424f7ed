#include "tests/production/launcher/X11Session.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

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

namespace {

// The 8-bit value of the channel under `mask` in a pixel, whatever depth
// and layout the window's visual has.
unsigned char channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1ul))
        ++shift;
    const unsigned long top = mask >> shift;
    return static_cast<unsigned char>(((pixel & mask) >> shift) * 255ul / top);
}

} // namespace

X11Session::Picture X11Session::grab(unsigned long window)
{
    Picture picture;
    if (!connection)
        return picture;
    Display* d = asDisplay(connection);
    XWindowAttributes attributes = {};
    if (!XGetWindowAttributes(d, window, &attributes) || attributes.map_state != IsViewable)
        return picture;
    // An unmapped or vanished window is an X error, which is ignored, and no
    // image.
    XImage* image = XGetImage(d, window, 0, 0, static_cast<unsigned int>(attributes.width),
                              static_cast<unsigned int>(attributes.height), AllPlanes, ZPixmap);
    if (!image)
        return picture;
    picture.width = image->width;
    picture.height = image->height;
    picture.rgb.resize(static_cast<size_t>(picture.width * picture.height * 3));
    unsigned char* out = picture.rgb.data();
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
        {
            const unsigned long pixel = XGetPixel(image, x, y);
            *out++ = channel(pixel, image->red_mask);
            *out++ = channel(pixel, image->green_mask);
            *out++ = channel(pixel, image->blue_mask);
        }
    XDestroyImage(image);
    return picture;
}
