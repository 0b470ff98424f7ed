#pragma once

// Sees every frame of the frame loop after it is drawn and before the buffers
// are swapped, while its picture is still in the back buffer (frame capture).
class FrameObserver
{
public:
    virtual ~FrameObserver() = default;
    virtual void frameDrawn(unsigned int frame) = 0;
};
