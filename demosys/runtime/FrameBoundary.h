#pragma once

// Called once between two frames of the frame loop, before the clock is
// read, with the GL context current: the place where authoring changes are
// applied, so a frame is always drawn from one consistent state.
class FrameBoundary
{
public:
    virtual ~FrameBoundary() = default;
    virtual void betweenFrames() = 0;
};
