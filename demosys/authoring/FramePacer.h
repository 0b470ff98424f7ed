#pragma once

// Plays a fixed-step show at its own speed (--dev --fps N): frame k is not
// shown before start + k * 1000 / N ms of wall time, so an author watches
// the show as it will be, not as fast as it draws.
class FramePacer
{
public:
    explicit FramePacer(unsigned int fps) : fps(fps) {}

    void start();
    // Waits until frame `framesShown` is due; at once when it is late.
    void pace(unsigned long long framesShown) const;

private:
    unsigned int fps;
    unsigned int startTicks = 0;
};
