#pragma once

#include <map>
#include <vector>

class TrackKeyFrame;

// Keyframes ordered by row; the track owns them. Every lookup is one search
// of the ordered map, so the per-frame queries stay logarithmic in the number
// of keyframes and allocate nothing.
//
// The interval queries read the keyframes as a start/stop sequence: an
// interval runs from a start keyframe to the next stop keyframe, both rows
// included. Keyframes enter through the typed addKeyframe() of the derived
// tracks, which keeps each track holding one keyframe class only.
class Track
{
public:
    using KeyFrameMap = std::map<unsigned int, TrackKeyFrame*>;

    Track() = default;
    virtual ~Track();

    Track(const Track&) = delete;
    Track& operator=(const Track&) = delete;

    // Whether row lies in an interval; time is not used.
    bool isActive(unsigned int time, unsigned int row) const;
    // Appends every keyframe in row order.
    void fetchKeyFrameVector(std::vector<TrackKeyFrame*>& out) const;
    // Appends the keyframes of the intervals touching [fromRow, toRow].
    virtual void getKeyFrameRange(unsigned int fromRow, unsigned int toRow, std::vector<TrackKeyFrame*>& out) const;
    // Checks the start, stop, start, ... order and logs every keyframe.
    virtual bool validateKeyframes() const;

    int getKeyframeCount() const { return static_cast<int>(keyframes.size()); }
    const KeyFrameMap& getKeyframes() const { return keyframes; }

    // Editing helpers; the player never calls them.
    TrackKeyFrame* getKeyframe(unsigned int row) const;
    bool rowExists(unsigned int row) const;
    bool rowIsStartKeyFrame(unsigned int row) const;
    // Row of the first keyframe after row, -1 when there is none.
    long long nextKeyframe(unsigned int row) const;
    // Row of the last keyframe before row, -1 when there is none.
    long long prevKeyframe(unsigned int row) const;
    bool insideInterval(unsigned int row) const { return isActive(0, row); }
    // No keyframe with fromRow <= row <= toRow.
    bool rangeEmpty(unsigned int fromRow, unsigned int toRow) const;
    // Re-keys the keyframe at fromRow; one already at toRow is replaced.
    void moveRow(unsigned int fromRow, unsigned int toRow);

protected:
    // The first keyframe with a row >= row (the interval lookup), or end.
    KeyFrameMap::const_iterator lowerBound(unsigned int row) const { return keyframes.lower_bound(row); }
    // Stores under the keyframe's row; one already there is deleted.
    void storeKeyframe(TrackKeyFrame* keyframe);
    void eraseKeyframe(KeyFrameMap::iterator it);
    // Exchanges every keyframe with another track of the same kind, so that
    // a track read again replaces this one's data while pointers to this
    // track stay good.
    void swapKeyframes(Track& other) { keyframes.swap(other.keyframes); }

    KeyFrameMap keyframes;
};
