#pragma once

#include "demosys/runtime/Effect.h"

#include <memory>

class Outrun;
class Texture;
class TrackInterpolate;

// The racing view: background band, road, horizon darkening, trees and the
// car in front, whose picture leans with the curve or the slope. Tracks
// "turn", "hill" and "speed" drive it.
class OutrunEffect : public Effect
{
public:
    OutrunEffect();
    ~OutrunEffect() override;

    void draw(unsigned int time, unsigned int frameTime) override;
    void init() override;
    void reset() override;
    Effect* getInstance() override;
    std::vector<FixedResource> getFixedResources() const override;
    void registerTracks() override;

    Outrun* getRoad() const { return road.get(); }
    // The car picture of the last frame drawn.
    Texture* getCar() const { return car; }

    // The car picture for a turn and hill: a curve beyond 1 either way wins
    // over the slope.
    enum CarPose
    {
        STRAIGHT, STRAIGHT_DOWN, STRAIGHT_UP, LEFT, RIGHT, POSE_COUNT
    };
    static CarPose carPose(float turn, float hill);

private:
    std::unique_ptr<Outrun> road;
    Texture* tree = nullptr;
    Texture* background = nullptr;
    Texture* car = nullptr;
    Texture* cars[POSE_COUNT] = {};
    TrackInterpolate* turn = nullptr;
    TrackInterpolate* hill = nullptr;
    TrackInterpolate* speed = nullptr;
    bool ready = false;
};
