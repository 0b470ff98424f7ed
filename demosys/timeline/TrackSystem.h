#pragma once

#include <map>
#include <string>
#include <vector>

class TrackGroup;

// The scheduler: one track group per effect object, walked every frame in
// priority order so that each effect whose start/stop track is on draws,
// inside its interval's framebuffer when one is named. It also carries the
// row rate that turns milliseconds into rows for every track.
//
// The system owns its groups. The drawing order is built once after loading
// (createPrioritySystem, then prioritySanityCheck) and only read afterwards.
class TrackSystem
{
public:
    static constexpr int DEFAULT_ROW_RATE = 20;

    TrackSystem();
    ~TrackSystem();

    TrackSystem(const TrackSystem&) = delete;
    TrackSystem& operator=(const TrackSystem&) = delete;

    int getRowRate() const { return rowRate; }
    // Rows per second. A rate of 0 or below cannot count rows: it is refused
    // with a line on standard output, the rate stays, and false is returned.
    bool setRowRate(int rate);

    // Takes ownership. A group of the same name is replaced and deleted.
    void addTrackGroup(TrackGroup* group);
    int size() const { return static_cast<int>(groups.size()); }
    // The index-th group in name order; null outside 0..size-1.
    TrackGroup* getTrackGroup(int index) const;
    TrackGroup* getTrackGroupByName(const std::string& name) const;
    const std::map<std::string, TrackGroup*>& getTrackGroups() const { return groups; }

    // Fills the drawing order from the groups in name order and sorts it.
    // A group without a start/stop track is given an empty one of priority
    // -1 first, so every sorted group has a priority and none of them draws
    // by accident.
    void createPrioritySystem();
    // Selection sort on priority, ascending; equal priorities end up in the
    // order the swaps leave them.
    void sortPrioritySystem();
    // Renumbers the priorities 0, 1, 2, ... in drawing order.
    void prioritySanityCheck();
    TrackGroup* getSortedTrackGroup(int index) const;
    int getSortedTrackGroupCount() const { return static_cast<int>(sorted.size()); }
    // Exchanges two places in the drawing order together with their
    // priorities, so priorities stay equal to places.
    void swapTracks(int i, int j);
    void printPriority() const;

    // One frame: every group in drawing order whose effect is on at row
    // draws, bracketed by its render target's bind and release; the target
    // is then flagged for clearing after the frame.
    void processSystem(unsigned int time, unsigned int row, unsigned int frameTime);

    // Benchmark runs time every draw, with the GL finished before and after so
    // that each effect is charged for its own GPU work. Off by default: the
    // finishes stall the pipeline.
    struct DrawTiming
    {
        unsigned long long draws = 0;
        double totalMs = 0.0;
    };
    void setDrawTiming(bool on) { timing = on; }
    // The draws counted so far for the group of that name.
    DrawTiming getDrawTiming(const std::string& name) const;

    bool validateStartStopTracks() const;
    bool validateInterpolateTracks() const;

private:
    std::map<std::string, TrackGroup*> groups;
    std::vector<TrackGroup*> sorted;
    bool timing = false;
    std::map<const TrackGroup*, DrawTiming> timings;
    int rowRate = DEFAULT_ROW_RATE;
};
