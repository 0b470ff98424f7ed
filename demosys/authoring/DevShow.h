#pragma once

#include "demosys/timeline/TimelineSyntax.h"

#include <string>

class FMODTimer;
class FlyCamera;
class LiveAuthoring;
class LoopRegion;

// What the authoring keys and the editor's commands act on, filled once when
// the show starts and shared by both.
struct DevShow
{
    FMODTimer* timer = nullptr;
    LoopRegion* loop = nullptr;
    LiveAuthoring* authoring = nullptr;
    FlyCamera* fly = nullptr;
    bool* overlayShown = nullptr;  // null when there is no overlay
    unsigned int stopMs = 0;       // seeks stop here
    int rowRate = 20;
    int rowsPerBeat = 0;           // 0: no bar and beat
    int beatsPerBar = 4;

    TimelineBeat beat() const
    {
        TimelineBeat b;
        b.rowsPerBeat = rowsPerBeat;
        b.beatsPerBar = beatsPerBar;
        return b;
    }
};
