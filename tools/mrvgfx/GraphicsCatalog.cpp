#include "tools/mrvgfx/GraphicsCatalog.h"

#include "tools/mrvgfx/Canvas.h"
#include "tools/mrvgfx/CarSprite.h"
#include "tools/mrvgfx/CassetteFrame.h"
#include "tools/mrvgfx/GreetingsMap.h"
#include "tools/mrvgfx/LogoGraphics.h"
#include "tools/mrvgfx/OceanGraphics.h"
#include "tools/mrvgfx/PngFile.h"
#include "tools/mrvgfx/RoadGraphics.h"
#include "tools/mrvgfx/RoadMap.h"
#include "tools/mrvgfx/SpriteGraphics.h"
#include "tools/mrvgfx/SurfaceGraphics.h"

namespace {

using Entry = GraphicsCatalog::Entry;

Entry picture(const std::string& name, int width, int height, int channels, const std::string& shows,
              const std::string& usedBy, std::function<Canvas()> paint)
{
    return Entry { "graphics", name, width, height, channels, 0, shows, usedBy, [paint, channels]() {
                      return PngFile::encode(paint(), channels);
                  } };
}

Entry data(const std::string& name, int bytes, const std::string& shows, const std::string& usedBy,
           std::function<std::vector<unsigned char>()> make)
{
    return Entry { "misc", name, 0, 0, 0, bytes, shows, usedBy, std::move(make) };
}

std::vector<Entry> build()
{
    std::vector<Entry> list;
    for (int k = 1; k <= 4; ++k)
        list.push_back(picture("tape" + std::to_string(k) + ".png", 512, 512, 3,
                               "the cassette, reels turned by " + std::to_string(15 * (4 - k)) + " degrees",
                               "GhettoblasterEffect (tape" + std::to_string(k) + ")",
                               [k] { return CassetteFrame::draw(k); }));
    list.push_back(picture("glow.png", 128, 128, 4, "a round lamp with a hot centre, white",
                           "GhettoblasterEffect (glow): equalizer LEDs and display dots",
                           [] { return SpriteGraphics::led(128); }));
    list.push_back(picture("particle.png", 64, 64, 4, "a soft round glow, white",
                           "ParticleSystemEffect (particle): the point sprites",
                           [] { return SpriteGraphics::particle(64); }));
    list.push_back(picture("particlelight.png", 64, 64, 4, "a four-pointed sparkle, white",
                           "PixelCarpetEffect (particlelight): the star field",
                           [] { return SpriteGraphics::star(64); }));
    list.push_back(picture("tree.png", 256, 256, 4, "a palm silhouette in the left 0.4062 of the width",
                           "OutrunEffect (tree): the roadside trees", [] { return RoadGraphics::tree(); }));
    list.push_back(picture("outrunbg.png", 512, 256, 3,
                           "sunset sky with stars and neon mountains on the horizon, seamless across",
                           "OutrunEffect (outrunbg): the background band", [] { return RoadGraphics::background(); }));
    list.push_back(picture("nightsky.png", 512, 256, 3,
                           "night sky darkening upwards under a few stars; its lower part the band's top colour",
                           "DisplayTexture (sky): behind the drive, above the band",
                           [] { return RoadGraphics::nightSky(); }));
    const struct
    {
        const char* name;
        CarSprite::Pose pose;
        const char* shows;
    } cars[] = {
        { "car_straight.png", CarSprite::Pose::Straight, "the car from behind, level" },
        { "car_straight_down.png", CarSprite::Pose::Down, "the car from behind, nose dipping (road falls)" },
        { "car_straight_up.png", CarSprite::Pose::Up, "the car from behind, nose lifting (road rises)" },
        { "car_left.png", CarSprite::Pose::Left, "the car from behind, turning left" },
        { "car_right.png", CarSprite::Pose::Right, "the car from behind, turning right" },
    };
    for (const auto& car : cars)
    {
        const std::string pool = std::string(car.name).substr(0, std::string(car.name).size() - 4);
        const CarSprite::Pose pose = car.pose;
        list.push_back(picture(car.name, 256, 256, 4, car.shows, "OutrunEffect (" + pool + ")",
                               [pose] { return CarSprite::draw(pose); }));
    }
    list.push_back(picture("floor.png", 512, 512, 3,
                           "neon-rimmed cells of a 60 x 60 grid, glowing magenta in the middle",
                           "GhettoblasterEffect (ground_texture1): the checkerboard floor",
                           [] { return SurfaceGraphics::stereoFloor(); }));
    list.push_back(picture("cube_texture.png", 512, 512, 3, "dark wall panels framed in magenta neon",
                           "DiscoBallEffect (cube_texture): the room", [] { return SurfaceGraphics::discoWall(); }));
    list.push_back(picture("checkerfloor.png", 512, 512, 3, "an 8 x 8 checker between magenta grid lines",
                           "NeonRibbonEffect (checkerfloor): the floor",
                           [] { return SurfaceGraphics::ribbonFloor(); }));
    list.push_back(picture("particletex.png", 256, 256, 3, "pastel bokeh lights on a dim field, seamless both ways",
                           "PixelCarpetEffect (particletex): the carpet columns",
                           [] { return SurfaceGraphics::meters(); }));
    list.push_back(picture("lighttex.png", 256, 256, 4, "white light shafts fading from the ball along the beam",
                           "DiscoBallEffect (lighttex): the light rays", [] { return SurfaceGraphics::beams(); }));
    list.push_back(picture("beach.png", 512, 512, 4,
                           "sunset sky, sun and palm shores framing a transparent wedge of sea (screen-sized overlay)",
                           "OceanEffect (beach)", [] { return OceanGraphics::beach(); }));
    list.push_back(picture("reflection.png", 256, 256, 3, "the sunset sky and sun as a sphere map",
                           "OceanEffect (reflection): the sea's environment",
                           [] { return OceanGraphics::reflection(); }));
    list.push_back(picture("leaf1.png", 512, 512, 4, "palm fronds hanging from the top-left corner",
                           "OceanEffect (leaf1)", [] { return OceanGraphics::leaf(1); }));
    list.push_back(picture("leaf2.png", 512, 512, 4, "palm fronds hanging from the top-right corner",
                           "OceanEffect (leaf2)", [] { return OceanGraphics::leaf(2); }));
    list.push_back(picture("mrvlogo.png", 512, 512, 3,
                           "the name in neon tubes over a striped sun and grid, in a neon frame",
                           "PixelCarpetEffect (mrvlogo): the core cube", [] { return LogoGraphics::emblem(512); }));
    list.push_back(picture("dollar.png", 512, 256, 3, "a neon banknote of 100 credits with a sunset medallion",
                           "DollarTransitionEffect (dollar)", [] { return LogoGraphics::banknote(); }));
    list.push_back(
        picture("Loading1.png", 512, 256, 3, "sunset landscape, the name in unlit tubes, the empty bar track",
                "NeonProgressBar: background (fixed path)", [] { return LogoGraphics::loadingBackground(); }));
    list.push_back(picture("Loading2.png", 512, 256, 4, "the lit bar and the name's lit tubes, transparent elsewhere",
                           "NeonProgressBar: bar revealed from the left (fixed path)",
                           [] { return LogoGraphics::loadingBar(); }));
    list.push_back(picture("guilogo.png", 256, 256, 3, "the emblem of mrvlogo.png at 256",
                           "launcher dialog: logo (fixed path)", [] { return LogoGraphics::emblem(256); }));
    list.push_back(data("roadmap.bin", RoadMap::BYTES,
                        "road colours, 12 rows x 100 tiles RGB: verges, rumble strips, edge lines, dashed lanes",
                        "OutrunEffect (roadmap)", [] { return RoadMap::bytes(); }));
    list.push_back(data("greetings.bin", GreetingsMap::BYTES,
                        "greetings text in the pixel font, 8 rows x 1914 pixels RGB, lit pixels 0",
                        "GhettoblasterEffect (greets_map)", [] { return GreetingsMap::bytes(); }));
    return list;
}

} // namespace

const std::vector<GraphicsCatalog::Entry>& GraphicsCatalog::entries()
{
    static const std::vector<Entry> list = build();
    return list;
}

const GraphicsCatalog::Entry* GraphicsCatalog::find(const std::string& name)
{
    for (const Entry& e : entries())
        if (e.name == name)
            return &e;
    return nullptr;
}
