#pragma once

#include "demosys/timeline/Track.h"
#include "demosys/timeline/TrackStartStopKeyFrame.h"

class FrameBufferObject;

// When an effect is on, where it draws, and in which order it draws among
// the other effects (lower priorities first). Holds TrackStartStopKeyFrames
// only.
class TrackStartStop : public Track
{
public:
    explicit TrackStartStop(int priority);
    ~TrackStartStop() override;

    // Takes ownership; a keyframe already on that row is deleted.
    void addKeyframe(TrackStartStopKeyFrame* keyframe);

    // The drawing place: the priority as written until the drawing order
    // is renumbered 0, 1, 2, ... after loading.
    int getPriority() const { return priority; }
    void setPriority(int p) { priority = p; }
    // The priority as the timeline wrote it (the constructor's), which the
    // renumbering leaves alone: what an author is shown, and what the
    // drawing order is built from again when tracks are read anew.
    int getAuthoredPriority() const { return authoredPriority; }
    void setAuthoredPriority(int p) { authoredPriority = p; }

    // The target of the interval containing row; null for the screen and
    // outside every interval.
    FrameBufferObject* getRenderTarget(unsigned int row) const;
    // The start row of the interval running after row (0 when none is).
    unsigned int getStartRow(unsigned int row) const;

    // Takes the other track's keyframes and priority, giving it this one's;
    // effects and groups keep pointing at this track.
    void replaceWith(TrackStartStop& other);

    // Calls visit(start, stop) for every interval in row order: a start
    // keyframe and the stop keyframe that ends it, null for a start with
    // none after it. A stop without a start, and a start while one is
    // open, are no interval.
    template <typename Visit>
    void forEachInterval(Visit visit) const
    {
        const TrackStartStopKeyFrame* open = nullptr;
        for (const auto& key : getKeyframes())
        {
            const auto* keyframe = static_cast<const TrackStartStopKeyFrame*>(key.second);
            if (keyframe->isStart() && !open)
                open = keyframe;
            else if (!keyframe->isStart() && open)
            {
                visit(open, keyframe);
                open = nullptr;
            }
        }
        if (open)
            visit(open, nullptr);
    }

    // Editing helpers; the player never calls them.
    void insertInterval(unsigned int start, unsigned int stop);
    // Deletes the start and stop keyframes of the interval that row hits.
    void deleteInterval(unsigned int row);

private:
    int priority;
    int authoredPriority;
};
