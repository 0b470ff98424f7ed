#pragma once

#include "demosys/timeline/TrackKeyFrame.h"

#include <string>

class FrameBufferObject;

// Opens (type 1) or closes (type 0) an interval in which an effect draws. A
// start keyframe names the framebuffer the interval draws into; "screen"
// with a null target means the screen.
class TrackStartStopKeyFrame : public TrackKeyFrame
{
public:
    static constexpr const char* SCREEN = "screen";

    TrackStartStopKeyFrame()
        : targetName(SCREEN)
    {
    }
    TrackStartStopKeyFrame(unsigned int row_, int type_)
        : TrackKeyFrame(row_, type_), targetName(SCREEN)
    {
    }

    bool drawsToScreen() const { return targetName == SCREEN; }

    std::string targetName;
    // Owned by the framebuffer pool.
    FrameBufferObject* target = nullptr;
};
