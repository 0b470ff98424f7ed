#pragma once

#include <map>
#include <string>
#include <vector>

class Effect;
class TrackInterpolate;
class TrackStartStop;

// Everything the timeline knows about one effect object: its start/stop
// track (when and where it draws, its priority) and its interpolated tracks
// (its animated values). The group owns its tracks; the effect is not owned.
class TrackGroup
{
public:
    explicit TrackGroup(const std::string& name);
    ~TrackGroup();

    TrackGroup(const TrackGroup&) = delete;
    TrackGroup& operator=(const TrackGroup&) = delete;

    // Takes ownership; a previous start/stop track is deleted.
    void setStartStopTrack(TrackStartStop* track);
    TrackStartStop* getStartStopTrack() const { return startStopTrack; }
    const std::string& getName() const { return name; }

    void setEffect(Effect* e) { effect = e; }
    Effect* getEffect() const { return effect; }

    // Takes ownership. A second track of the same name wins the lookup by
    // name; both stay in the indexed list.
    void addInterpolateTrack(TrackInterpolate* track);
    TrackInterpolate* getInterpolateTrackByName(const std::string& trackName) const;
    int getInterpolateTrackCount() const { return static_cast<int>(tracks.size()); }
    // In the order added; null outside 0..count-1.
    TrackInterpolate* getInterpolateTrack(int index) const;

    // Whether the start/stop track is on at row; false without one.
    bool isActive(unsigned int time, unsigned int row) const;
    // Milliseconds since the running interval started, at the system's row
    // rate; time itself when no interval is running after row.
    unsigned int getLocalTime(unsigned int row, unsigned int time) const;

private:
    TrackStartStop* startStopTrack = nullptr;
    std::map<std::string, TrackInterpolate*> tracksByName;
    std::vector<TrackInterpolate*> tracks;
    std::string name;
    Effect* effect = nullptr;
};
