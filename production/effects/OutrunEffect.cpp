#include "production/effects/OutrunEffect.h"

#include "demosys/data/Binary.h"
#include "demosys/gl/Texture.h"
#include "production/effects/ColourMaterial.h"
#include "production/effects/EffectParameters.h"
#include "production/effects/Outrun.h"
#include "production/effects/ResourceLookup.h"
#include "production/effects/TrackValue.h"

#include <GL/glew.h>

#include <iterator>

namespace {
constexpr float ROAD_WIDTH = 7.0f;
constexpr int SEGMENTS = 20;
constexpr int TILES_ACROSS = 100;
constexpr int ROWS_PER_SEGMENT = 12;
constexpr int MAP_FLOATS = TILES_ACROSS * ROWS_PER_SEGMENT * 3;
// One picture of the car per pose, in the order of the poses.
const FixedResource CARS[OutrunEffect::POSE_COUNT] = {
    { FixedResource::TEXTURE, "car_straight", "the car, straight ahead" },
    { FixedResource::TEXTURE, "car_straight_down", "the car while the hill track is above 1" },
    { FixedResource::TEXTURE, "car_straight_up", "the car while the hill track is below -1" },
    { FixedResource::TEXTURE, "car_left", "the car while the turn track is above 1" },
    { FixedResource::TEXTURE, "car_right", "the car while the turn track is below -1" },
};
}

OutrunEffect::OutrunEffect() = default;

OutrunEffect::~OutrunEffect() = default;

Effect* OutrunEffect::getInstance()
{
    return new OutrunEffect();
}

std::vector<FixedResource> OutrunEffect::getFixedResources() const
{
    return { std::begin(CARS), std::end(CARS) };
}

void OutrunEffect::registerTracks()
{
    addTrackName("turn");
    addTrackName("hill");
    addTrackName("speed");
}

void OutrunEffect::reset()
{
}

OutrunEffect::CarPose OutrunEffect::carPose(float turnValue, float hillValue)
{
    if (turnValue > 1.0f)
        return LEFT;
    if (turnValue < -1.0f)
        return RIGHT;
    if (hillValue < -1.0f)
        return STRAIGHT_UP;
    if (hillValue > 1.0f)
        return STRAIGHT_DOWN;
    return STRAIGHT;
}

void OutrunEffect::init()
{
    ResourceLookup lookup("OutrunEffect", EffectParameters::objectName(parameters));
    const std::string mapName = EffectParameters::get(parameters, "roadmap");
    Binary* map = lookup.binary(mapName);
    // Twelve rows of a hundred RGB tiles; a shorter table would be read
    // past its end.
    if (map && map->size() < MAP_FLOATS)
        lookup.reject("binary", mapName, "holds fewer than 3600 values");
    if (!road && lookup.isComplete())
        road.reset(new Outrun(ROAD_WIDTH, SEGMENTS, TILES_ACROSS, ROWS_PER_SEGMENT, map->getFloatData()));
    reset();
    if (road)
        road->setEyeHeight(-0.75f);
    tree = lookup.texture(EffectParameters::get(parameters, "treetex"));
    background = lookup.texture(EffectParameters::get(parameters, "outrunbg"));
    for (int pose = 0; pose < POSE_COUNT; ++pose)
        cars[pose] = lookup.texture(CARS[pose].name);
    car = cars[STRAIGHT];
    turn = getTrack("turn");
    hill = getTrack("hill");
    speed = getTrack("speed");
    ready = road && lookup.isComplete();
}

void OutrunEffect::draw(unsigned int time, unsigned int frameTime)
{
    if (!ready)
        return;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);

    background->bind();
    road->drawBackground(frameTime);
    background->release();
    glEnable(GL_DEPTH_TEST);

    const float turnValue = TrackValue::at(turn, time);
    const float hillValue = TrackValue::at(hill, time);
    road->setTurn(turnValue);
    road->setHill(hillValue);
    road->draw(frameTime, TrackValue::at(speed, time));

    glDisable(GL_DEPTH_TEST);
    road->drawLighting();
    glEnable(GL_DEPTH_TEST);

    tree->bind();
    road->drawTrees(frameTime);
    tree->release();

    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    ColourMaterial::enable();
    ColourMaterial::white();
    car = cars[carPose(turnValue, hillValue)];
    car->bind();
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f); glVertex3f(-1.55f, -4.4f, -6.0f);
    glTexCoord2f(1.0f, 0.0f); glVertex3f(1.75f, -4.4f, -6.0f);
    glTexCoord2f(1.0f, 1.0f); glVertex3f(1.75f, -1.4f, -6.0f);
    glTexCoord2f(0.0f, 1.0f); glVertex3f(-1.55f, -1.4f, -6.0f);
    glEnd();
    car->release();

    glDisable(GL_BLEND);
    ColourMaterial::white();
    ColourMaterial::disable();
    glPopMatrix();
}
