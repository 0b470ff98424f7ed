#pragma once

#include <string>
#include <vector>

struct DevShow;
class TrackSystem;

// The editor's inspector: the fly camera and its commits; the selected
// effect object's class, its
// parameters as the demoscript gave them, its intervals, and each track it
// reads with its value now and its curve over the stretch of the show the
// timeline shows, keys marked.
//
// Edits are made at the playhead, and come back as the one-line command a
// script would type (the caller runs it): a key set or deleted, its curve
// or value changed, an interval added, deleted or given another target. A
// click on a key seeks to it, so that it can be edited; a key dragged along
// its curve moves to the row let go on (or the beat, with "snap to beats")
// and takes the value let go at, or keeps it when the drag was level.
class InspectorView
{
public:
    struct Show
    {
        const DevShow* dev = nullptr;  // the row rate and the beat
        const TrackSystem* tracks = nullptr;
        std::string object;
        unsigned int time = 0;
        double viewStart = 0.0;
        double viewEnd = 1.0;
        // "screen" first, then the production's framebuffers.
        const std::vector<std::string>* targets = nullptr;
        // The fly camera: on or not, its pose, and whether a scene flies a
        // camera path now (one to commit it into).
        bool flying = false;
        std::string cameraPose;
        bool pathNow = false;
    };

    // `command` is left empty when nothing was asked for.
    void draw(const Show& show, std::string& command);

private:
    void drawCamera(const Show& show, std::string& command);

    // A key held by the pointer, until the button is let go.
    struct Drag
    {
        int track = -1;  // -1: none
        unsigned int row = 0;
        float value = 0.0f;
        float pressX = 0.0f;
        float pressY = 0.0f;
    };

    static constexpr int CURVE_POINTS = 96;
    float curve[CURVE_POINTS] = {};
    Drag drag;
    bool snapToBeats = false;
};
