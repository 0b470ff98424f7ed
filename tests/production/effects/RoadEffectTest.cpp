// The road model and its effect on the test context: the tile grid as
// uploaded, the per-frame bend written into the mapped buffer, the wrapping
// of road and trees, and the state the effect leaves.
#include "production/effects/Outrun.h"
#include "production/effects/OutrunEffect.h"

#include "demosys/data/Binary.h"
#include "demosys/gl/VBODynamic.h"
#include "tests/production/effects/EffectTestHarness.h"
#include "tests/support/StdoutCapture.h"

#include <cmath>

using namespace effecttest;

namespace {

constexpr int VERTICES = 97920;
constexpr int QUADS_PER_ROW = 102;
constexpr float TILE = 0.07f;

// Tile k of row r: red = k / 100, green = r / 12, blue 0.5.
std::vector<float> colourMap()
{
    std::vector<float> map;
    for (int r = 0; r < 12; ++r)
        for (int k = 0; k < 100; ++k)
            map.insert(map.end(), { k / 100.0f, r / 12.0f, 0.5f });
    return map;
}

std::vector<float> bufferContents(unsigned int buffer, int floats)
{
    std::vector<float> out(static_cast<size_t>(floats));
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(out.size() * sizeof(float)), out.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return out;
}

// First float of vertex v of quad q in row `row`.
size_t at(int row, int quad, int vertex)
{
    return (static_cast<size_t>(row) * QUADS_PER_ROW * 4 + quad * 4 + vertex) * 3;
}

class RoadEffectTest : public EffectHarness
{
protected:
    std::unique_ptr<Outrun> makeRoad()
    {
        StdoutCapture capture;
        std::unique_ptr<Outrun> road(new Outrun(7.0f, 20, 100, 12, map.data()));
        log = capture.take();
        return road;
    }

    std::vector<float> map = colourMap();
    std::string log;
};

} // namespace

TEST_F(RoadEffectTest, GridIsAFlatStripFromOneToSeventeenPointEightWithVergesAndColours)
{
    const auto road = makeRoad();
    EXPECT_NE(log.find("Tilemap genereated 293760 / 293760\n"), std::string::npos) << log;
    ASSERT_EQ(road->getVertexCount(), VERTICES);
    EXPECT_FLOAT_EQ(road->getTileSize(), TILE);

    const auto xyz = bufferContents(road->getVertexBuffer()->getVertexBuffer(), VERTICES * 3);
    const float* base = road->getBasePositions();
    EXPECT_TRUE(std::equal(xyz.begin(), xyz.end(), base)) << "the buffer holds the base grid";
    // Left verge, first tile, right verge of the first row.
    EXPECT_EQ(std::vector<float>(base, base + 12),
              (std::vector<float>{ -45, 0, -1, -3.5f, 0, -1, -3.5f, 0, -1 - TILE, -45, 0, -1 - TILE }));
    EXPECT_FLOAT_EQ(base[at(0, 1, 1)], -3.5f + TILE);
    EXPECT_NEAR(base[at(0, 101, 0)], 3.43f, 1e-5);
    EXPECT_FLOAT_EQ(base[at(0, 101, 1)], 45.0f);
    // 240 rows deep.
    EXPECT_NEAR(base[at(239, 50, 0) + 2], -1.0f - 239 * TILE, 1e-4);
    EXPECT_NEAR(base[at(239, 50, 2) + 2], -17.8f, 1e-4);
    for (int row = 0; row < 240; ++row)
        ASSERT_EQ(base[at(row, 60, 3) + 1], 0.0f) << "flat";

    // Row 13 is row 1 of the second segment: the map repeats every 12 rows.
    const auto rgb = bufferContents(road->getVertexBuffer()->getColorBuffer(), VERTICES * 3);
    for (int v = 0; v < 4; ++v)
    {
        EXPECT_FLOAT_EQ(rgb[at(13, 0, v)], 0.0f) << "left verge takes tile 0";
        EXPECT_FLOAT_EQ(rgb[at(13, 0, v) + 1], 1.0f / 12.0f);
        EXPECT_FLOAT_EQ(rgb[at(13, 41, v)], 0.40f) << "quad 41 is tile 40";
        EXPECT_FLOAT_EQ(rgb[at(13, 101, v)], 0.99f) << "right verge takes tile 99";
    }
}

TEST_F(RoadEffectTest, TurnAndHillBendEachRowByTheCosineOfItsDepth)
{
    auto road = makeRoad();
    road->setEyeHeight(-0.75f);
    road->setTurn(1.5f);
    road->setHill(-0.5f);
    road->draw(10, 0.03f);
    EXPECT_TRUE(noGLError());
    const float p = road->getRoadPosition();
    EXPECT_FLOAT_EQ(p, 0.3f);

    const auto xyz = bufferContents(road->getVertexBuffer()->getVertexBuffer(), VERTICES * 3);
    const float* base = road->getBasePositions();
    for (int row : { 0, 100, 239 })
    {
        const float zr = base[at(row, 0, 0) + 2];
        const float cn = std::cos((zr + p) * TILE) - 1.0f;
        const float cf = std::cos((zr + p - TILE) * TILE) - 1.0f;
        for (int quad : { 0, 57, 101 })
            for (int v = 0; v < 4; ++v)
            {
                const float c = v < 2 ? cn : cf;
                const size_t i = at(row, quad, v);
                EXPECT_NEAR(xyz[i], base[i] + 2.0f * 1.5f * c, 1e-4) << row << " " << quad << " " << v;
                EXPECT_NEAR(xyz[i + 1], 2.7f * -0.5f * c, 1e-4);
                EXPECT_EQ(xyz[i + 2], base[i + 2]) << "depth is never rewritten";
            }
    }
    // The far road bends to -x for a positive turn and rises for a negative
    // hill.
    EXPECT_LT(xyz[at(239, 50, 0)], base[at(239, 50, 0)] - 1.0f);
    EXPECT_GT(xyz[at(239, 50, 0) + 1], 0.5f);

    road->setTurn(0.0f);
    road->setHill(0.0f);
    road->distortTiles();
    const auto straight = bufferContents(road->getVertexBuffer()->getVertexBuffer(), VERTICES * 3);
    EXPECT_TRUE(std::equal(straight.begin(), straight.end(), base)) << "turn 0 and hill 0: straight and flat";
}

TEST_F(RoadEffectTest, RoadAndTreesWrapSeamlesslyAndStandStillAtSpeedZero)
{
    auto road = makeRoad();
    road->setTurn(2.0f);
    // 0.5 per frame: the road wraps at 12 rows of 0.07, the trees at 1.4.
    const float roads[] = { 0.5f, 0.16f, 0.66f, 0.32f };
    const float trees[] = { 0.5f, 1.0f, 0.1f, 0.6f };
    float drift = 0.0f;
    for (int frame = 0; frame < 4; ++frame)
    {
        road->draw(10, 0.05f);
        road->drawTrees(10);
        road->drawBackground(10);
        drift += 2.0f * 2.0f * (std::cos(3.0f * TILE) - 1.0f) / 30.0f;
        EXPECT_NEAR(road->getRoadPosition(), roads[frame], 1e-5) << frame;
        EXPECT_NEAR(road->getTreePosition(), trees[frame], 1e-5) << frame;
        EXPECT_NEAR(road->getBackgroundOffset(), drift, 1e-6) << frame;
    }
    // A paused clock stops road and trees but not the background's drift.
    road->draw(0, 0.05f);
    road->drawTrees(0);
    road->drawBackground(0);
    EXPECT_NEAR(road->getRoadPosition(), 0.32f, 1e-5);
    EXPECT_NEAR(road->getTreePosition(), 0.6f, 1e-5);
    EXPECT_LT(road->getBackgroundOffset(), drift);
    road->draw(1000, 0.0f);
    EXPECT_NEAR(road->getRoadPosition(), 0.32f, 1e-5) << "speed 0";
    EXPECT_TRUE(noGLError());
    EXPECT_TRUE(balanced());
}

TEST_F(RoadEffectTest, EffectPicksTheCarByTurnAndHillAndLeavesCullingAndDepthOff)
{
    std::vector<unsigned char> bytes(3600);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<unsigned char>(i % 3 == 1 ? 200 : 20);
    MRVDemosys::binaryPool->addData("map", new Binary(bytes));
    addTexture("tree", 4, 4, { 0, 0, 0, 0 });
    addTexture("sky", 4, 4, { 0, 0, 255, 255 });
    const char* cars[] = { "car_straight", "car_straight_down", "car_straight_up", "car_left", "car_right" };
    for (const char* name : cars)
        addTexture(name, 4, 4, { 255, 255, 255, 255 });

    OutrunEffect effect;
    StdoutCapture capture;
    // Rows 0..7: (turn, hill) per row.
    const std::vector<std::pair<float, float>> poses = { { 0, 0 },  { 1, 0 },     { -1, -1 }, { 1.01f, -5 },
                                                        { -1.01f, 5 }, { 0, -1.01f }, { 0, 1.01f }, { 1, 5 } };
    Keys turn, hill;
    for (unsigned int row = 0; row < poses.size(); ++row)
    {
        turn.emplace_back(row, poses[row].first);
        hill.emplace_back(row, poses[row].second);
    }
    // Step curves: the value holds for the whole row.
    attach(effect, { { "roadmap", "map" }, { "treetex", "tree" }, { "outrunbg", "sky" } },
           { { "speed", { { 0, 0.001f } } } });
    for (const char* name : { "turn", "hill" })
    {
        TrackInterpolate* track = effect.getTrack(name);
        for (const auto& key : (std::string(name) == "turn" ? turn : hill))
            track->addKeyframe(new TrackKeyFrameInterpolate(key.first, 3, key.second));
    }
    capture.take();
    ASSERT_NE(effect.getRoad(), nullptr);
    EXPECT_EQ(effect.getTrackNames(), (std::vector<std::string>{ "turn", "hill", "speed" }));

    const char* expected[] = { "car_straight",      "car_straight", "car_straight", "car_left",
                               "car_right",         "car_straight_up", "car_straight_down", "car_straight_down" };
    for (unsigned int row = 0; row < poses.size(); ++row)
    {
        startFrame();
        effect.draw(row * 50 + 10, 20);
        EXPECT_EQ(effect.getCar(), MRVDemosys::texturePool->getTexture(expected[row]))
            << "turn " << poses[row].first << ", hill " << poses[row].second;
        EXPECT_TRUE(noGLError());
        EXPECT_TRUE(balanced());
        EXPECT_FALSE(enabled(GL_CULL_FACE));
        EXPECT_FALSE(enabled(GL_DEPTH_TEST));
        EXPECT_FALSE(enabled(GL_BLEND));
        EXPECT_FALSE(enabled(GL_COLOR_MATERIAL));
        EXPECT_FALSE(enabled(GL_TEXTURE_2D));
    }
    EXPECT_FLOAT_EQ(effect.getRoad()->getTurn(), 1.0f);
}

TEST_F(RoadEffectTest, ShortRoadMapIsRefused)
{
    MRVDemosys::binaryPool->addData("map", new Binary(std::vector<unsigned char>(3599, 100)));
    OutrunEffect effect;
    StdoutCapture capture;
    attach(effect, { { "roadmap", "map" }, { "treetex", "tree" }, { "outrunbg", "sky" } });
    const std::string out = capture.take();
    EXPECT_NE(out.find("OutrunEffect 'fx0' : binary 'map' holds fewer than 3600 values, the effect is not drawn\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(effect.getRoad(), nullptr);
    effect.draw(0, 20);
    EXPECT_TRUE(noGLError());
    EXPECT_TRUE(enabled(GL_CULL_FACE)) << "not drawn, nothing touched";
}
