#pragma once

#include "demosys/runtime/FixedResource.h"

#include <string>
#include <vector>

class FrameBufferObject;
class ParameterGroup;
class TrackGroup;
class TrackInterpolate;

// Base of everything the timeline draws. Effects are made by prototype: one
// template per class sits in the template pool under its class name, and
// each script object is a fresh instance from getInstance(). An instance is
// given its parameter group, names the interpolated tracks it wants, gets
// its track group, is initialised once and then drawn while its start/stop
// track is on. It holds plain pointers to its group, tracks and target and
// owns none of them.
class Effect
{
public:
    Effect() = default;
    virtual ~Effect();

    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    // time: demo milliseconds since music position 0; frameTime: milliseconds
    // since the previous frame (0 while the clock is paused).
    virtual void draw(unsigned int time, unsigned int frameTime);
    // Once per instance, after the pools are loaded and the track group is
    // set: the place to fetch parameters, resources and tracks.
    virtual void init();
    // Back to the starting state; effects call it from their own init().
    virtual void reset();
    virtual void musicEvent();
    // A new default-constructed object of the same class; nothing is copied.
    virtual Effect* getInstance();
    // Called once after setParameters(); the effect calls addTrackName() for
    // each interpolated track it wants.
    virtual void registerTracks();
    // The resources the class looks up under names of its own, not through
    // its parameters, in the order init() asks for them; none by default.
    // For authors and checks, not for the frame loop.
    virtual std::vector<FixedResource> getFixedResources() const;

    void setParameters(ParameterGroup* group) { parameters = group; }
    ParameterGroup* getParameters() const { return parameters; }
    void setTrackGroup(TrackGroup* group) { trackGroup = group; }
    TrackGroup* getTrackGroup() const { return trackGroup; }
    // The track system takes targets from start keyframes, not from here.
    void setRenderTarget(FrameBufferObject* target) { renderTarget = target; }
    FrameBufferObject* getRenderTarget() const { return renderTarget; }

    // Duplicates are kept; names stay in the order asked.
    void addTrackName(const std::string& name);
    int getTrackCount() const { return static_cast<int>(trackNames.size()); }
    // "" outside 0..count-1.
    std::string getTrackName(int index) const;
    const std::vector<std::string>& getTrackNames() const { return trackNames; }

    // The interpolated track of that name in the effect's track group; null
    // for a name never registered.
    TrackInterpolate* getTrack(const std::string& name);

protected:
    ParameterGroup* parameters = nullptr;
    std::vector<std::string> trackNames;
    FrameBufferObject* renderTarget = nullptr;
    TrackGroup* trackGroup = nullptr;
};
