#include "mrvutils/File.h"
#include "mrvutils/Image.h"
#include "tools/mrvgfx/Canvas.h"
#include "tools/mrvgfx/CarSprite.h"
#include "tools/mrvgfx/CassetteFrame.h"
#include "tools/mrvgfx/GraphicsCatalog.h"
#include "tools/mrvgfx/LogoGraphics.h"
#include "tools/mrvgfx/MrvgfxCommand.h"
#include "tools/mrvgfx/OceanGraphics.h"
#include "tools/mrvgfx/PngFile.h"
#include "tools/mrvgfx/RoadGraphics.h"
#include "tests/support/TempDir.h"


#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A decoded picture with top-down pixel access.
class Picture
{
public:
    explicit Picture(const std::vector<unsigned char>& png) : image("picture", 0)
    {
        ok = image.putData(png.data(), static_cast<int>(png.size()));
    }
    bool ok = false;
    int width() const { return image.getWidth(); }
    int height() const { return image.getHeight(); }
    int channels() const { return image.getPixelSize(); }
    int at(int x, int y, int channel) const
    {
        const size_t row = static_cast<size_t>(image.getHeight() - 1 - y);
        return image.getData()[(row * static_cast<size_t>(image.getWidth()) + static_cast<size_t>(x)) *
                                   static_cast<size_t>(image.getPixelSize()) +
                               static_cast<size_t>(channel)];
    }
    int alpha(int x, int y) const { return at(x, y, 3); }

private:
    Image image;
};

// Every file generated once for the whole suite, as the command writes it.
class MrvgfxFiles : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        dir = std::make_unique<testsupport::TempDir>();
        std::ostringstream out, err;
        status = MrvgfxCommand::generate(dir->path() + "res", {}, out, err);
        message = out.str() + err.str();
    }
    static void TearDownTestSuite() { dir.reset(); }

    static std::vector<unsigned char> read(const GraphicsCatalog::Entry& e)
    {
        File file(dir->path() + "res/" + e.path(), File::READ);
        return file.exists() ? file.getUnsigned() : std::vector<unsigned char>();
    }
    static Picture picture(const std::string& name) { return Picture(read(*GraphicsCatalog::find(name))); }

    static std::unique_ptr<testsupport::TempDir> dir;
    static int status;
    static std::string message;
};

std::unique_ptr<testsupport::TempDir> MrvgfxFiles::dir;
int MrvgfxFiles::status = -1;
std::string MrvgfxFiles::message;

bool powerOfTwo(int v)
{
    return v > 0 && (v & (v - 1)) == 0;
}

// Largest channel difference between two columns (or rows) of a picture.
int edgeDifference(const Picture& p, bool columns, int a, int b)
{
    int worst = 0;
    const int n = columns ? p.height() : p.width();
    for (int i = 0; i < n; ++i)
        for (int c = 0; c < 3; ++c)
        {
            const int va = columns ? p.at(a, i, c) : p.at(i, a, c);
            const int vb = columns ? p.at(b, i, c) : p.at(i, b, c);
            worst = std::max(worst, std::abs(va - vb));
        }
    return worst;
}

} // namespace

TEST_F(MrvgfxFiles, EveryFileIsWrittenWithItsDocumentedSize)
{
    ASSERT_EQ(0, status) << message;
    EXPECT_NE(std::string::npos, message.find("wrote " + std::to_string(GraphicsCatalog::entries().size())));
    for (const GraphicsCatalog::Entry& e : GraphicsCatalog::entries())
    {
        const std::vector<unsigned char> bytes = read(e);
        ASSERT_FALSE(bytes.empty()) << e.path();
        if (!e.isPicture())
        {
            EXPECT_EQ("misc", e.folder);
            EXPECT_EQ(static_cast<size_t>(e.bytes), bytes.size()) << e.path();
            continue;
        }
        EXPECT_EQ("graphics", e.folder);
        const Picture p(bytes);
        ASSERT_TRUE(p.ok) << e.path();
        EXPECT_EQ(e.width, p.width()) << e.path();
        EXPECT_EQ(e.height, p.height()) << e.path();
        EXPECT_EQ(e.channels, p.channels()) << e.path();
        EXPECT_TRUE(powerOfTwo(p.width()) && powerOfTwo(p.height())) << e.path();
    }
}

TEST_F(MrvgfxFiles, ProgramsFixedPathsAndEffectDefaultsAreCovered)
{
    // Loaded by path, not through the script.
    for (const char* name : { "Loading1.png", "Loading2.png", "guilogo.png" })
        EXPECT_NE(nullptr, GraphicsCatalog::find(name)) << name;
    // Pool names the effects look up; the catalog says which file serves each.
    for (const char* pool : { "(glow)",
                              "(ground_texture1)",
                              "(tape1)",
                              "(tape4)",
                              "(greets_map)",
                              "(tree)",
                              "(outrunbg)",
                              "(roadmap)",
                              "(car_straight)",
                              "(car_straight_down)",
                              "(car_straight_up)",
                              "(car_left)",
                              "(car_right)",
                              "(beach)",
                              "(reflection)",
                              "(leaf1)",
                              "(leaf2)",
                              "(particle)",
                              "(particlelight)",
                              "(particletex)",
                              "(mrvlogo)",
                              "(cube_texture)",
                              "(lighttex)" })
    {
        const auto& all = GraphicsCatalog::entries();
        EXPECT_TRUE(std::any_of(all.begin(), all.end(), [&](const GraphicsCatalog::Entry& e) {
            return e.usedBy.find(pool) != std::string::npos;
        })) << pool;
    }
}

TEST_F(MrvgfxFiles, ASecondRunGivesTheSameBytes)
{
    ASSERT_EQ(0, status) << message;
    for (const GraphicsCatalog::Entry& e : GraphicsCatalog::entries())
        EXPECT_TRUE(e.make() == read(e)) << e.path() << " differs between runs";
}

TEST_F(MrvgfxFiles, CommandLineRejectsWhatItCannotDo)
{
    std::ostringstream out, err;
    EXPECT_EQ(2, MrvgfxCommand::run({}, out, err));
    EXPECT_EQ(2, MrvgfxCommand::run({ "generate" }, out, err));
    EXPECT_EQ(2, MrvgfxCommand::run({ "generate", dir->path() + "one", "nosuch.png" }, out, err));
    EXPECT_NE(std::string::npos, err.str().find("no file named 'nosuch.png'"));

    std::ostringstream listing;
    EXPECT_EQ(0, MrvgfxCommand::run({ "list" }, listing, err));
    for (const GraphicsCatalog::Entry& e : GraphicsCatalog::entries())
        EXPECT_NE(std::string::npos, listing.str().find(e.path())) << e.path();

    std::ostringstream one;
    EXPECT_EQ(0, MrvgfxCommand::run({ "generate", dir->path() + "one", "roadmap.bin" }, one, err));
    EXPECT_TRUE(File(dir->path() + "one/misc/roadmap.bin", File::READ).exists());
    EXPECT_FALSE(File(dir->path() + "one/misc/greetings.bin", File::READ).exists());
}

TEST_F(MrvgfxFiles, TreeStaysInsideTheMappedPartOfThePicture)
{
    const Picture tree = picture("tree.png");
    const int limit = static_cast<int>(std::ceil(RoadGraphics::TREE_REGION * 256.0f));
    int solid = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
        {
            if (x >= limit)
            {
                ASSERT_EQ(0, tree.alpha(x, y)) << x << "," << y;
            }
            solid += tree.alpha(x, y) == 255;
        }
    // A trunk and a crown, not a speck.
    EXPECT_GT(solid, 1200);
    int trunk = 0;
    for (int x = 0; x < limit; ++x)
        trunk += tree.alpha(x, 255) == 255;
    EXPECT_GT(trunk, 4) << "the trunk stands on the bottom edge";
}

TEST_F(MrvgfxFiles, CarsStandOnTheScreensBottomEdge)
{
    const int bottom = static_cast<int>(256.0f * (1.0f - CarSprite::VISIBLE_FROM));
    for (const char* name :
         { "car_straight.png", "car_straight_down.png", "car_straight_up.png", "car_left.png", "car_right.png" })
    {
        const Picture car = picture(name);
        int lowestSolid = -1, opaque = 0;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                if (car.alpha(x, y) == 255)
                {
                    lowestSolid = std::max(lowestSolid, y);
                    ++opaque;
                }
        // On screen down to its wheels, and nothing hidden below the screen.
        EXPECT_GE(lowestSolid, bottom - 12) << name;
        EXPECT_LE(lowestSolid, bottom) << name;
        EXPECT_GT(opaque, 10000) << name;
        EXPECT_EQ(0, car.alpha(2, 2)) << name;
    }
    // The poses differ.
    EXPECT_FALSE(read(*GraphicsCatalog::find("car_left.png")) == read(*GraphicsCatalog::find("car_right.png")));
}

TEST_F(MrvgfxFiles, CassetteFramesLoopAndDifferOnlyInTheReels)
{
    const Picture one = picture("tape1.png"), two = picture("tape2.png");
    int differing = 0;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x)
            differing += one.at(x, y, 0) != two.at(x, y, 0) || one.at(x, y, 2) != two.at(x, y, 2);
    EXPECT_GT(differing, 100);
    EXPECT_LT(differing, 512 * 512 / 50);
    // Nothing moves outside the region the effect maps.
    const int right = static_cast<int>(std::ceil(CassetteFrame::S1 * 512.0f)) + 1;
    for (int y = 0; y < 512; ++y)
        EXPECT_EQ(one.at(right, y, 1), two.at(right, y, 1));

    // One more step after frame 1 is frame 4 again: six teeth, 15 degrees a
    // frame, four frames.
    const Picture after(PngFile::encode(CassetteFrame::draw(0), 3));
    const Picture four = picture("tape4.png");
    int worst = 0;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x)
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::abs(after.at(x, y, c) - four.at(x, y, c)));
    EXPECT_LE(worst, 2);
}

TEST_F(MrvgfxFiles, BeachLeavesTheSeaOpenAndCoversTheSkyAndShores)
{
    const Picture beach = picture("beach.png");
    // Normalised device coordinates to picture pixels: the quad shows the
    // picture from t = 0.336 at the screen's bottom to t = 1 at its top.
    auto pixelAt = [&](float x, float y) {
        const float h = (1.0f - OceanGraphics::SCREEN_FROM) * 512.0f;
        return beach.alpha(static_cast<int>((x + 1.0f) * 256.0f), static_cast<int>((1.0f - y) * 0.5f * h));
    };
    // Inside the sea's wedge at every wave height.
    for (const auto& p : std::vector<std::array<float, 2>> {
             { 0.04f, -0.05f }, { 0.05f, -0.3f }, { 0.0f, -0.6f }, { 0.5f, -0.9f }, { -0.6f, -0.9f } })
        EXPECT_EQ(0, pixelAt(p[0], p[1])) << p[0] << "," << p[1];
    // Sky above the horizon, and the shores beside the sea's edges.
    for (const auto& p : std::vector<std::array<float, 2>> {
             { -0.9f, 0.9f }, { 0.9f, 0.9f }, { 0.04f, 0.03f }, { -0.9f, -0.5f }, { 0.9f, -0.3f }, { -0.4f, -0.2f } })
        EXPECT_EQ(255, pixelAt(p[0], p[1])) << p[0] << "," << p[1];
}

TEST_F(MrvgfxFiles, LoadingBarCoversItsTrackAcrossTheWholeWidth)
{
    const Picture bar = picture("Loading2.png");
    const int middle = static_cast<int>((LogoGraphics::BAR_TOP + LogoGraphics::BAR_BOTTOM) * 0.5f * 256.0f);
    // Revealed from the left, it must be there at every column.
    for (int x = 0; x < 512; ++x)
        ASSERT_GT(bar.alpha(x, middle), 200) << x;
    // Between the title and the bar the background shows through.
    for (int x = 0; x < 512; ++x)
        ASSERT_EQ(0, bar.alpha(x, 150)) << x;
}

TEST_F(MrvgfxFiles, RepeatingTexturesHaveNoSeams)
{
    // Seam difference against the largest step between neighbours inside.
    const auto check = [](const Picture& p, bool columns, const std::string& name) {
        const int n = columns ? p.width() : p.height();
        int inside = 0;
        for (int i = 1; i < n; ++i)
            inside = std::max(inside, edgeDifference(p, columns, i - 1, i));
        EXPECT_LE(edgeDifference(p, columns, n - 1, 0), inside) << name << (columns ? " left/right" : " top/bottom");
    };
    check(picture("outrunbg.png"), true, "outrunbg.png");
    const Picture bokeh = picture("particletex.png");
    check(bokeh, true, "particletex.png");
    check(bokeh, false, "particletex.png");
    const Picture beams = picture("lighttex.png");
    check(beams, true, "lighttex.png");
    // The room's faces meet edge to edge in every orientation.
    const Picture wall = picture("cube_texture.png");
    EXPECT_LE(edgeDifference(wall, true, 0, 511), 2);
    EXPECT_LE(edgeDifference(wall, false, 0, 511), 2);
}

// The drive shows the night sky over the whole screen behind its band, whose
// top edge rises and falls with the hills: wherever that edge can stand, the
// sky has the band's own top colour, so that no edge shows.
TEST_F(MrvgfxFiles, TheNightSkyMeetsTheBandWithoutAnEdge)
{
    const Picture band = picture("outrunbg.png");
    const Picture sky = picture("nightsky.png");
    int top[3] = { 0, 0, 0 };
    for (int c = 0; c < 3; ++c)
    {
        long long sum = 0;
        for (int x = 0; x < band.width(); ++x)
            sum += band.at(x, 0, c);
        top[c] = static_cast<int>(sum / band.width());
    }
    const int from = static_cast<int>(RoadGraphics::SKY_BAND_TOP_MIN * static_cast<float>(sky.height()));
    const int to = static_cast<int>(RoadGraphics::SKY_BAND_TOP_MAX * static_cast<float>(sky.height()));
    for (int y = from; y <= to; ++y)
        for (int x = 0; x < sky.width(); ++x)
            for (int c = 0; c < 3; ++c)
                ASSERT_LE(std::abs(sky.at(x, y, c) - top[c]), 3) << x << "," << y;
    // Above, the night deepens towards the zenith.
    EXPECT_LT(sky.at(0, 0, 2), sky.at(0, from, 2));
}

TEST_F(MrvgfxFiles, SpritesFadeOutBeforeTheirEdges)
{
    for (const char* name : { "glow.png", "particle.png", "particlelight.png" })
    {
        const Picture p = picture(name);
        const int n = p.width() - 1;
        // A quad's corners and edge middles must not show.
        for (const auto& xy :
             std::vector<std::array<int, 2>> { { 0, 0 }, { n, 0 }, { 0, n }, { n, n }, { n / 2, 0 }, { 0, n / 2 } })
            EXPECT_LE(p.alpha(xy[0], xy[1]), 3) << name << " at " << xy[0] << "," << xy[1];
        EXPECT_GE(p.alpha(n / 2, n / 2), 250) << name;
        // White, so the effect's colour alone tints it.
        EXPECT_EQ(255, p.at(n / 2, n / 2, 0));
        EXPECT_EQ(255, p.at(n / 2, n / 2, 2));
    }
    // The beams are brightest at the ball (t = 0, the bottom row).
    const Picture beams = picture("lighttex.png");
    int nearBall = 0, farEnd = 0;
    for (int x = 0; x < 256; ++x)
    {
        nearBall += beams.alpha(x, 255);
        farEnd += beams.alpha(x, 0);
    }
    EXPECT_GT(nearBall, farEnd * 3);
}

TEST_F(MrvgfxFiles, TurnsToTheLeftAndRightMirrorEachOther)
{
    const Picture left = picture("car_left.png"), right = picture("car_right.png");
    int mismatched = 0, solid = 0;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
        {
            const bool a = left.alpha(x, y) > 128, b = right.alpha(255 - x, y) > 128;
            mismatched += a != b;
            solid += a;
        }
    EXPECT_LT(mismatched, solid / 20);
}

TEST_F(MrvgfxFiles, ReflectionMapLooksUpTheSkyTheWayTheSeaShaderDoes)
{
    const Picture map = picture("reflection.png");
    // The texel the sea shader reads for a reflected ray r: r.xy / m + 0.5,
    // m = 2 sqrt(r.x^2 + r.y^2 + (r.z + 1)^2), t counted from the bottom.
    auto texel = [&](float x, float y, float z, int channel) {
        const float l = std::sqrt(x * x + y * y + z * z);
        x /= l;
        y /= l;
        z /= l;
        const float m = 2.0f * std::sqrt(x * x + y * y + (z + 1.0f) * (z + 1.0f));
        const int s = static_cast<int>((x / m + 0.5f) * 256.0f), t = static_cast<int>((y / m + 0.5f) * 256.0f);
        return map.at(std::min(s, 255), 255 - std::min(t, 255), channel);
    };
    auto brightness = [&](float x, float y, float z) {
        return texel(x, y, z, 0) + texel(x, y, z, 1) + texel(x, y, z, 2);
    };
    // Forward, just above the horizon: the glowing sunset. Straight up: night.
    EXPECT_GT(brightness(0.6f, 0.03f, -1.0f), 350);
    EXPECT_LT(brightness(0.0f, 1.0f, 0.0f), 150);
    // Forward and a little down: dark water, not sky.
    EXPECT_LT(brightness(0.6f, -0.2f, -1.0f), 150);
    // The sun straight ahead, just above the horizon: gold.
    EXPECT_GT(texel(0.04f, 0.19f, -1.0f, 0), 240);
    EXPECT_GT(texel(0.04f, 0.19f, -1.0f, 1), 120);
}
