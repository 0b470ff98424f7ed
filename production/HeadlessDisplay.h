#pragma once

#include <string>
#include <sys/types.h>

// Gives a headless run a GL surface nobody sees: SDL's offscreen driver (EGL,
// no display server) when it can make a GL context here, otherwise a private
// Xvfb server that lives as long as this object.
class HeadlessDisplay
{
public:
    HeadlessDisplay() = default;
    ~HeadlessDisplay();

    HeadlessDisplay(const HeadlessDisplay&) = delete;
    HeadlessDisplay& operator=(const HeadlessDisplay&) = delete;

    // Sets the environment for SDL; false with a reason when neither works.
    bool open(std::string& error);
    bool usesXvfb() const { return xvfb > 0; }

private:
    static bool offscreenWorks();
    bool startXvfb(std::string& error);

    pid_t xvfb = -1;
};
