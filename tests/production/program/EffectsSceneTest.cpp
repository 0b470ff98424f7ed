// The road, the sea and the particle cloud in a running production.
#include "tests/production/program/EffectsProduction.h"

using effecttest::EffectsProduction;
using effecttest::near;
using effecttest::Rgb;

namespace {

class EffectsSceneTest : public EffectsProduction
{
protected:
    void rgba(const std::string& file, std::array<unsigned, 4> colour, int size = 8) const
    {
        std::vector<unsigned> samples;
        for (int i = 0; i < size * size; ++i)
            samples.insert(samples.end(), colour.begin(), colour.end());
        picture(file, size, size, pngtest::ColorType::RGBA, samples);
    }

    // A picture whose rows from `fromTop` down are `colour`, transparent
    // above.
    void lowerPart(const std::string& file, std::array<unsigned, 4> colour, int fromTop) const
    {
        std::vector<unsigned> samples;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                samples.insert(samples.end(), { colour[0], colour[1], colour[2], y >= fromTop ? colour[3] : 0u });
        picture(file, 16, 16, pngtest::ColorType::RGBA, samples);
    }
};

bool greenish(const Rgb& c)
{
    return c[1] > 30 && c[1] > c[0] + 20;
}

bool reddish(const Rgb& c)
{
    return c[0] > 30 && c[1] < 10;
}

} // namespace

TEST_F(EffectsSceneTest, RoadRunsStraightAtTurnZeroAndTheCarLeansByTurnAndHill)
{
    // Left half of every row green, right half red (bytes / 256).
    std::vector<unsigned char> map;
    for (int r = 0; r < 12; ++r)
        for (int k = 0; k < 100; ++k)
            map.insert(map.end(), { static_cast<unsigned char>(k < 50 ? 0 : 255),
                                    static_cast<unsigned char>(k < 50 ? 255 : 0), 0 });
    blob("road.bin", map);
    rgba("tree.png", { 0, 0, 0, 0 });
    rgba("sky.png", { 0, 0, 255, 255 });
    const std::vector<std::pair<std::string, Rgb>> cars = {
        { "car_straight", { 255, 255, 255 } }, { "car_straight_down", { 255, 255, 0 } },
        { "car_straight_up", { 0, 255, 255 } }, { "car_left", { 255, 0, 255 } }, { "car_right", { 128, 128, 128 } } };
    std::string graphics = "graphics { tree = tree.png; sky = sky.png; ";
    for (const auto& car : cars)
    {
        plain(car.first + ".png", car.second);
        graphics += car.first + " = " + car.first + ".png; ";
    }
    blocks = graphics + "}\nbinary { road = road.bin; }\n"
                        "road * OutrunEffect { roadmap = binary[road]; treetex = graphics[tree]; outrunbg = graphics[sky]; }\n";
    // One (turn, hill) per row, held by step curves.
    const std::vector<std::pair<std::string, std::string>> poses = {
        { "0", "0" }, { "1", "0" }, { "1.01", "-5" }, { "-1.01", "5" }, { "0", "-1.01" }, { "0", "1.01" }, { "-1", "1" } };
    std::string turn = "track turn\n", hill = "track hill\n";
    for (size_t row = 0; row < poses.size(); ++row)
    {
        turn += std::to_string(row) + " step " + poses[row].first + "\n";
        hill += std::to_string(row) + " step " + poses[row].second + "\n";
    }
    timeline = "object road\non 0 10\n" + turn + hill + "track speed\n0 step 0.001\n";
    const ProgramRun run = play(7);
    ASSERT_TRUE(clean(run));
    EXPECT_NE(run.out.find("Tilemap genereated 293760 / 293760\n"), std::string::npos);

    // The car sits in the lower middle of the screen.
    const char* expected[] = { "car_straight",      "car_straight",    "car_left",    "car_right",
                               "car_straight_up", "car_straight_down", "car_straight" };
    for (int k = 0; k < 7; ++k)
    {
        Rgb colour{};
        for (const auto& car : cars)
            if (car.first == expected[k])
                colour = car.second;
        EXPECT_TRUE(near(frame(k)->at(31, 7), colour)) << "frame " << k << ": " << expected[k];
    }

    // Turn 0, hill 0: the green half stays left of the middle and the red
    // half right of it on every row of road beside the car.
    const auto straight = frame(0);
    for (int y = 1; y <= 14; ++y)
    {
        EXPECT_TRUE(greenish(straight->at(12, y))) << y;
        EXPECT_TRUE(reddish(straight->at(50, y))) << y;
    }
    EXPECT_TRUE(near(straight->at(31, 20), { 0, 0, 255 }, 3)) << "the background band above the road";
    EXPECT_TRUE(near(straight->at(31, 33), { 0, 0, 0 })) << "black above the band";
}

TEST_F(EffectsSceneTest, SeaScrollsUnderTheBeachAndLeaves)
{
    lowerPart("beach.png", { 230, 200, 80, 255 }, 8);
    rgba("sky.png", { 140, 180, 255, 255 });
    // The leaves hang into the top: opaque in the top rows only.
    std::vector<unsigned> leaf;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            leaf.insert(leaf.end(), { 20, 160, 20, y < 2 ? 255u : 0u });
    picture("leaf.png", 16, 16, pngtest::ColorType::RGBA, leaf);
    blocks = "shaders { ocean_surface = ocean_surface; texture = texture; depth_of_field = depth_of_field; "
             "blurx = blurx; blury = blury; }\n"
             "framebuffers { aux1 = 64, 36, COLOR_BUFFER, DEPTH_BUFFER; blurx = 32, 18, COLOR_BUFFER; "
             "blury = 32, 18, COLOR_BUFFER; noise = 64, 64, COLOR_BUFFER; }\n"
             "graphics { beach = beach.png; sky = sky.png; leaf = leaf.png; }\n"
             "sea * OceanEffect { reflection = graphics[sky]; leaf1 = graphics[leaf]; leaf2 = graphics[leaf]; }\n";
    timeline = "object sea\non 0 10\n";
    const ProgramRun run = play(4);
    ASSERT_TRUE(clean(run));

    const auto first = frame(0);
    // Beach over the bottom of the screen, the sea above it, the leaves'
    // opaque tips along the top edge.
    EXPECT_TRUE(near(first->at(31, 1), { 230, 200, 80 }, 3));
    const Rgb water = first->at(31, 13);
    EXPECT_GT(water[2], 40) << "water under a blue sky";
    EXPECT_FALSE(near(water, { 230, 200, 80 }, 20));
    EXPECT_TRUE(near(first->at(31, 35), { 20, 160, 20 }, 3));
    // 50 ms per frame moves the sea by 0.25 units: the water changes.
    int moved = 0;
    for (int x = 4; x < 60; x += 4)
        for (int y = 10; y < 18; ++y)
            moved += !near(first->at(x, y), frame(3)->at(x, y), 2);
    EXPECT_GT(moved, 5);
}

TEST_F(EffectsSceneTest, ParticleCloudLightsUpAndSpreads)
{
    // A round sprite: bright centre, transparent corners.
    std::vector<unsigned> sprite;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
        {
            const int dx = x - 8, dy = y - 8;
            sprite.insert(sprite.end(), { 255, 255, 255, dx * dx + dy * dy < 36 ? 255u : 0u });
        }
    picture("spark.png", 16, 16, pngtest::ColorType::RGBA, sprite);
    blocks = "shaders { particlesprite = particlesprite; }\n"
             "graphics { spark = spark.png; }\n"
             "cloud * ParticleSystemEffect { texture = graphics[spark]; }\n";
    timeline = "object cloud\non 0 1000\n";
    // 100 ms a frame: the clock runs one unit per frame and the start times
    // spread over 100 units, so after 60 frames most points fly.
    const ProgramRun run = play(60, "128x72", 10);
    ASSERT_TRUE(clean(run));
    EXPECT_NE(run.out.find("Index = 100\n"), std::string::npos);

    auto litIn = [](const effecttest::Frame& shot) {
        int lit = 0;
        for (int y = 0; y < 72; ++y)
            for (int x = 0; x < 127; ++x)
                lit += shot.at(x, y)[0] > 20;
        return lit;
    };
    const int early = litIn(*frame(0));
    const int late = litIn(*frame(59));
    EXPECT_GT(late, 20) << "sprites are drawn";
    EXPECT_GT(late, early) << "more points fly as the clock runs";
}
