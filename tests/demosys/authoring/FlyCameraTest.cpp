// The fly camera moves along the axes the camera path files are written in:
// a pose flown to and committed must be the pose the path then plays.
#include "demosys/authoring/FlyCamera.h"

#include "demosys/timeline/CameraTakeover.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

struct Flight
{
    const char* name;
    float pitch;
    float heading;
    SDL_Scancode key;
    float x, y, z;  // where one second of the key takes the camera from the origin
};

// One second at 20 units a second.
const Flight FLIGHTS[] = {
    { "ForwardAtHeadingZeroIsMinusZ", 0, 0, SDL_SCANCODE_W, 0, 0, -20 },
    { "ForwardAtHeadingNinetyIsPlusX", 0, 90, SDL_SCANCODE_W, 20, 0, 0 },
    { "ForwardAtPitchNinetyIsDown", 90, 0, SDL_SCANCODE_W, 0, -20, 0 },
    { "RightAtHeadingZeroIsPlusX", 0, 0, SDL_SCANCODE_D, 20, 0, 0 },
    { "RightAtHeadingNinetyIsPlusZ", 0, 90, SDL_SCANCODE_D, 0, 0, 20 },
    { "BackIsTheOppositeOfForward", 0, 0, SDL_SCANCODE_S, 0, 0, 20 },
    { "EIsUpWhateverThePitch", 45, 30, SDL_SCANCODE_E, 0, 20, 0 },
    { "QIsDown", 0, 0, SDL_SCANCODE_Q, 0, -20, 0 },
};

class FlyCameraTest : public ::testing::TestWithParam<Flight>
{
};

TEST_P(FlyCameraTest, KeysMoveAlongTheDocumentedAxes)
{
    const Flight& f = GetParam();
    CameraTakeover takeover;
    FlyCamera fly(takeover);
    fly.set(0, 0, 0, f.pitch, f.heading);
    std::vector<unsigned char> keys(SDL_NUM_SCANCODES, 0);
    keys[f.key] = 1;
    fly.move(keys.data(), false, 1.0f);
    EXPECT_NEAR(takeover.position.x(), f.x, 1e-3f);
    EXPECT_NEAR(takeover.position.y(), f.y, 1e-3f);
    EXPECT_NEAR(takeover.position.z(), f.z, 1e-3f);
}

INSTANTIATE_TEST_SUITE_P(Keys, FlyCameraTest, ::testing::ValuesIn(FLIGHTS),
                         [](const ::testing::TestParamInfo<Flight>& info) { return std::string(info.param.name); });

TEST(FlyCameraStateTest, OnlyAFlyingCameraMovesAndItsPitchStopsShortOfStraightUpOrDown)
{
    CameraTakeover takeover;
    FlyCamera fly(takeover);
    std::vector<unsigned char> keys(SDL_NUM_SCANCODES, 0);
    keys[SDL_SCANCODE_W] = 1;
    fly.move(keys.data(), true, 1.0f);
    fly.look(100.0f, 100.0f);
    EXPECT_FALSE(takeover.flying);
    EXPECT_EQ(takeover.position.z(), 0.0f);
    EXPECT_EQ(takeover.heading, 0.0f);

    fly.set(1, 2, 3, 80, 10);
    fly.look(4.0f, 1000.0f);
    EXPECT_EQ(takeover.pitch, 89.0f);
    EXPECT_FLOAT_EQ(takeover.heading, 11.0f);
    fly.move(keys.data(), true, 0.1f);  // Shift: five times as far
    EXPECT_NEAR(takeover.position.y(), 2.0f - 10.0f * 0.99985f, 1e-2f);
    fly.stop();
    EXPECT_FALSE(takeover.flying);
}

} // namespace
