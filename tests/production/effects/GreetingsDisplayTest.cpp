// The stereo's dot-matrix display on its own: a map the test writes, the dot
// sprite, and a view that puts the 150 x 8 dots across the window.
#include "production/effects/GreetingsDisplay.h"

#include "tests/production/effects/EffectTestHarness.h"

using namespace effecttest;

namespace {

class GreetingsDisplayTest : public EffectHarness
{
protected:
    void SetUp() override
    {
        EffectHarness::SetUp();
        display.setSprite(addTexture("dot", 4, 4, { 255, 255, 255, 255 }));
        display.setMap(map.data());
        display.build();
        // Dot (c, r) fills x 0.035c..0.035(c+1), y -0.035r..-0.035(r-1):
        // the first 16 columns and all 8 rows fill the window.
        flatView(0.0f, 16 * 0.035f, -7 * 0.035f, 0.035f);
    }

    // Whether the middle of dot (c, r) shows (1, 0.5, 0) or (0.25, 0.12, 0).
    static ::testing::AssertionResult lit(int c, int r, bool bright)
    {
        const std::array<int, 4> p = pixel(4 * c + 2, 60 - 8 * r);
        const int want[3] = { bright ? 255 : 64, bright ? 128 : 31, 0 };
        for (int k = 0; k < 3; ++k)
            if (std::abs(p[k] - want[k]) > 1)
                return ::testing::AssertionFailure() << "dot " << c << "," << r << " shows " << p[0] << " " << p[1]
                                                     << " " << p[2];
        return ::testing::AssertionSuccess();
    }

    // Every value bright (not 0) but for the pixel in column r of row r.
    std::vector<float> map = diagonal();
    GreetingsDisplay display;

private:
    static std::vector<float> diagonal()
    {
        std::vector<float> values(GreetingsDisplay::MAP_VALUES, 0.75f);
        for (int r = 0; r < GreetingsDisplay::ROWS; ++r)
            for (int k = 0; k < 3; ++k)
                values[static_cast<size_t>(r * GreetingsDisplay::ROW_VALUES + 3 * r + k)] = 0.0f;
        return values;
    }
};

} // namespace

TEST_F(GreetingsDisplayTest, LightsTheMapsZerosThroughA150PixelWindow)
{
    display.switchOn(true);
    // 9 ms moves the window by 1.5 floats: the read position counts floats.
    display.draw(9.0f);
    EXPECT_TRUE(noGLError());
    EXPECT_FALSE(enabled(GL_COLOR_MATERIAL));
    EXPECT_EQ(currentColour(), (std::array<float, 4>{ 1, 1, 1, 1 }));
    EXPECT_FLOAT_EQ(display.getReadPosition(), 1.5f);
    EXPECT_EQ(display.getBrightDots(), 8) << "one dark map pixel per row, all in the window";
    EXPECT_TRUE(lit(0, 0, true));
    EXPECT_TRUE(lit(7, 7, true));
    EXPECT_TRUE(lit(1, 0, false));
    EXPECT_TRUE(lit(0, 7, false));

    // From float 1 the window starts in the middle of pixel 0: its second and
    // third floats are still 0, so row 0 lights the dot before its first.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    display.draw(9.0f);
    EXPECT_FLOAT_EQ(display.getReadPosition(), 3.0f);
    EXPECT_EQ(display.getBrightDots(), 8);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    display.draw(9.0f);
    EXPECT_EQ(display.getBrightDots(), 7) << "row 0's pixel has left the window";
    EXPECT_TRUE(lit(0, 0, false));
    EXPECT_TRUE(lit(0, 1, true)) << "row 1's pixel now stands in column 0";
    EXPECT_TRUE(noGLError());
}

TEST_F(GreetingsDisplayTest, ScrollsByAFrameTimeOverSixAndWrapsAt5292)
{
    display.switchOn(true);
    display.draw(20.0f);
    EXPECT_NEAR(display.getReadPosition(), 20.0f / 6.0f, 1e-5);

    // 31752 / 6 = 5292: landing on the wrap exactly starts again at 0.
    GreetingsDisplay exact;
    exact.setSprite(MRVDemosys::texturePool->getTexture("dot"));
    exact.setMap(map.data());
    exact.build();
    exact.switchOn(true);
    exact.draw(31752.0f);
    EXPECT_EQ(exact.getReadPosition(), 0.0f);

    GreetingsDisplay past;
    past.setSprite(MRVDemosys::texturePool->getTexture("dot"));
    past.setMap(map.data());
    past.build();
    past.switchOn(true);
    past.draw(30000.0f);
    EXPECT_FLOAT_EQ(past.getReadPosition(), 5000.0f);
    past.draw(3000.0f);
    EXPECT_EQ(past.getReadPosition(), 0.0f) << "5500 wraps to 0, not to 208";
    past.draw(3000.0f);
    EXPECT_FLOAT_EQ(past.getReadPosition(), 500.0f);
    EXPECT_TRUE(noGLError());
}

TEST_F(GreetingsDisplayTest, StandsStillAndDimWhileSwitchedOff)
{
    // While off every dot reads the same float: even a 0 under the window
    // does not light.
    map[0] = 0.0f;
    for (int k = 0; k < 3; ++k)
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        display.draw(50.0f);
        EXPECT_FALSE(display.isOn());
        EXPECT_EQ(display.getReadPosition(), 0.0f);
        EXPECT_EQ(display.getBrightDots(), 0);
        EXPECT_TRUE(lit(0, 0, false));
        EXPECT_TRUE(lit(15, 7, false));
    }
    EXPECT_TRUE(noGLError());
}

TEST_F(GreetingsDisplayTest, PanelSpansTheBoxHalfwayThroughItsDepth)
{
    display.setPanel(Vector<float, 3>(-1.0f, -0.5f, 2.0f), Vector<float, 3>(3.0f, 0.25f, 3.0f));
    EXPECT_EQ(display.getPanelDepth(), 2.5f);
    EXPECT_EQ(std::vector<float>(display.getPanel(), display.getPanel() + 12),
              (std::vector<float>{ -1.0f, 0.25f, 2.5f, -1.0f, -0.5f, 2.5f, 3.0f, -0.5f, 2.5f, 3.0f, 0.25f, 2.5f }));

    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    flatView(-2.0f, 4.0f, -1.0f, 1.0f);
    glTranslatef(0.0f, 0.0f, -2.5f);
    display.drawPanel();
    EXPECT_EQ(pixel(32, 32), (std::array<int, 4>{ 0, 0, 0, 255 }));
    EXPECT_EQ(pixel(2, 32), (std::array<int, 4>{ 255, 255, 255, 255 })) << "left of the panel";
    EXPECT_EQ(pixel(32, 60), (std::array<int, 4>{ 255, 255, 255, 255 })) << "above the panel";
    EXPECT_TRUE(noGLError());
}
