#pragma once

union SDL_Event;

// What authoring (--dev) adds to the frame loop. The loop calls these at
// fixed points, always on the main thread with the GL context current, so
// that every frame is drawn from one consistent state and authoring never
// needs a lock.
class FrameHooks
{
public:
    virtual ~FrameHooks() = default;

    // Once, with the clock at the start position, before the first frame.
    virtual void showStarts() = 0;
    // Between two frames, before the clock is read: where changed files are
    // applied.
    virtual void betweenFrames() = 0;
    // The clock's reading for this frame in; the time the frame shows out
    // (a loop jumps back, the stop time holds).
    virtual unsigned int afterClock(unsigned int time) = 0;
    // Every event first but Escape and the window's close, which always
    // quit; true when authoring took it (a panel under the pointer) and the
    // show must not act on it.
    virtual bool event(const SDL_Event& event) = 0;
    // Every key but Escape, which always quits, with the modifier keys
    // held (SDL's KMOD_ bits).
    virtual void key(int sdlKey, int modifiers) = 0;
    // After the effects drew into the screen, before the buffer swap.
    virtual void afterDraw(unsigned int time, unsigned int row) = 0;
    // After the swap, once the frame is counted.
    virtual void afterSwap() = 0;
};
