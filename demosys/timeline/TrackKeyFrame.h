#pragma once

// One keyframe of a track, placed on a music row. Start/stop tracks use
// `type` (1 = start, anything else acts as a stop); interpolated tracks leave
// it unset. Tracks own their keyframes and delete them through this base, so
// the destructor is virtual even though keyframes carry no behaviour.
class TrackKeyFrame
{
public:
    enum Type { STOP = 0, START = 1 };

    TrackKeyFrame() = default;
    TrackKeyFrame(unsigned int row_, int type_)
        : row(row_), type(type_)
    {
    }
    virtual ~TrackKeyFrame() = default;

    bool isStart() const { return type == START; }

    // Also the key under which the track stores the keyframe.
    unsigned int row = 0;
    int type = 0;
};
