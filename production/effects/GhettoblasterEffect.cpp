#include "production/effects/GhettoblasterEffect.h"

#include "demosys/data/Binary.h"
#include "demosys/gl/FrameBufferObject.h"
#include "demosys/gl/GLw.h"
#include "demosys/gl/ScreenQuad.h"
#include "demosys/gl/Shader.h"
#include "demosys/gl/Texture.h"
#include "demosys/gl/VBODynamic.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/scene/MRVObject.h"
#include "demosys/scene/MRVScene.h"
#include "production/effects/ColourMaterial.h"
#include "production/effects/EffectParameters.h"
#include "production/effects/ResourceLookup.h"
#include "production/effects/SceneLookup.h"
#include "production/effects/TrackValue.h"

#include <GL/glew.h>


namespace {

const std::string LIGHT_POSITION = "LightPosition";
const std::string EYE_POSITION = "EyePosition";
const std::string TEXTURE = "texture";
const std::string COLOR = "color";
const std::string DESTINATION = "destination";
const std::string SOURCE = "source";

const FixedResource LIGHT_SHADER = { FixedResource::SHADER, "light", "lights the stereo and the television sets" };
const FixedResource TEXTURE_SHADER = { FixedResource::SHADER, "texture", "draws the checkerboard floor" };
const FixedResource AVERAGE_SHADER = { FixedResource::SHADER, "average", "lays the mirrored stereo over the floor" };
const FixedResource FIRST_PATH = { FixedResource::CAMERA_PATH, "ghetto1anim",
                                   "the first path, flown along anim.pos" };
const FixedResource SECOND_PATH = { FixedResource::CAMERA_PATH, "ghettogreet1anim",
                                    "the second path, flown along anim2.pos" };
// The parts of the stereo in the ghettoobj scene that are drawn one by one.
const FixedResource SPHERE_LEFT = { FixedResource::SCENE_OBJECT, "BassSphereLeft",
                                    "in ghettoobj: the left bass dome, swelling with the left bass" };
const FixedResource SPHERE_RIGHT = { FixedResource::SCENE_OBJECT, "BassSphereRight",
                                     "in ghettoobj: the right bass dome, swelling with the right bass" };
const FixedResource PANEL = { FixedResource::SCENE_OBJECT, "Plane",
                              "in ghettoobj: the front panel the greetings scroll over" };
const FixedResource BODY = { FixedResource::SCENE_OBJECT, "Body", "in ghettoobj: a part of the stereo" };
const FixedResource METAL = { FixedResource::SCENE_OBJECT, "Metal", "in ghettoobj: a part of the stereo" };
const FixedResource BASS = { FixedResource::SCENE_OBJECT, "Bass", "in ghettoobj: a part of the stereo" };
const FixedResource BLACK_PLASTIC = { FixedResource::SCENE_OBJECT, "BlackPlastic",
                                      "in ghettoobj: a part of the stereo" };

constexpr float LED_SIZE = 0.1f;
constexpr float LED_STEP = 0.11f;

constexpr int FLOOR_ROWS = 60;
constexpr int FLOOR_TILES = 30;
constexpr int FLOOR_VERTICES = FLOOR_ROWS * FLOOR_TILES * 4;
// Kept small so that a long show cannot overflow the row count; only its
// parity counts.
constexpr int FLOOR_ROW_MASK = 0x3fffffff;

void writeCorner(float*& v, float*& uv, float s, float t, float x, float y, float z)
{
    *uv++ = s;
    *uv++ = t;
    *v++ = x;
    *v++ = y;
    *v++ = z;
}

} // namespace

GhettoblasterEffect::GhettoblasterEffect() = default;

GhettoblasterEffect::~GhettoblasterEffect() = default;

Effect* GhettoblasterEffect::getInstance()
{
    return new GhettoblasterEffect();
}

std::vector<FixedResource> GhettoblasterEffect::getFixedResources() const
{
    return { LIGHT_SHADER, TEXTURE_SHADER, AVERAGE_SHADER, FIRST_PATH, SECOND_PATH, SPHERE_LEFT,
             SPHERE_RIGHT, PANEL, BODY, METAL, BASS, BLACK_PLASTIC };
}

void GhettoblasterEffect::registerTracks()
{
    CameraFlight::registerTracks(*this);
    for (const char* name : { "tv.rot", "equ.xpos", "equ.ypos", "equ.zpos", "tape.xpos", "tape.ypos", "tape.zpos",
                              "greet.xpos", "greet.ypos", "greet.zpos", "greets.on" })
        addTrackName(name);
}

void GhettoblasterEffect::reset()
{
    spectrum.clear();
    MRVDemosys::camera.setPosition(Vector<float, 3>(0.0f, 25.0f, 300.0f));
}

void GhettoblasterEffect::init()
{
    reset();

    ResourceLookup lookup("GhettoblasterEffect", EffectParameters::objectName(parameters));
    stereo = SceneLookup::scene(lookup, EffectParameters::get(parameters, "ghettoobj"));
    tvSet = SceneLookup::scene(lookup, EffectParameters::get(parameters, "tvobj"));
    floorTexture = lookup.texture(EffectParameters::get(parameters, "ground_texture1"));
    const char* tapeNames[4] = { "tape1", "tape2", "tape3", "tape4" };
    for (int i = 0; i < 4; ++i)
        tapes[i] = lookup.texture(EffectParameters::get(parameters, tapeNames[i]));
    glow = lookup.texture(EffectParameters::get(parameters, "glow"));
    const std::string mapName = EffectParameters::get(parameters, "greets_map");
    Binary* map = lookup.binary(mapName);
    transBuffer = lookup.fbo(EffectParameters::get(parameters, "trans_buffer"));
    mirrorImage = lookup.fbo(EffectParameters::get(parameters, "mirror_image"));
    offscreen = lookup.fbo(EffectParameters::get(parameters, "offscreen"));
    light = lookup.shader(LIGHT_SHADER.name);
    textureShader = lookup.shader(TEXTURE_SHADER.name);
    average = lookup.shader(AVERAGE_SHADER.name);
    camera.init(*this, lookup, FIRST_PATH.name, SECOND_PATH.name);

    // The display reads eight full map rows from wherever the scroll stands.
    display.setMap(nullptr);
    if (map && map->size() < GreetingsDisplay::MAP_VALUES)
        lookup.reject("binary", mapName,
                      "holds fewer than " + std::to_string(GreetingsDisplay::MAP_VALUES) + " values");
    else if (map)
        display.setMap(map->getFloatData());
    display.setSprite(glow);
    for (Texture* tape : tapes)
        if (tape)
            tape->setTextureWrap(GL_CLAMP_TO_EDGE);

    sphereLeft = SceneLookup::object(lookup, stereo, SPHERE_LEFT.name);
    sphereRight = SceneLookup::object(lookup, stereo, SPHERE_RIGHT.name);
    plane = SceneLookup::object(lookup, stereo, PANEL.name);
    body = SceneLookup::object(lookup, stereo, BODY.name);
    metal = SceneLookup::object(lookup, stereo, METAL.name);
    bass = SceneLookup::object(lookup, stereo, BASS.name);
    blackPlastic = SceneLookup::object(lookup, stereo, BLACK_PLASTIC.name);
    if (sphereLeft)
        sphereLeft->setVisible(false);
    if (sphereRight)
        sphereRight->setVisible(false);

    if (plane)
        display.setPanel(plane->getBBoxMin(), plane->getBBoxMax());

    materials[0].setAmbient(0.5f, 1.0f, 0.75f)->setDiffuse(0.5f, 1.0f, 0.75f);
    materials[1].setAmbient(1.0f, 0.5f, 1.0f)->setDiffuse(1.0f, 0.5f, 1.0f);
    materials[2].setAmbient(0.5f, 0.5f, 1.0f)->setDiffuse(0.5f, 0.5f, 1.0f);

    tvRotation = getTrack("tv.rot");
    const char* axes[3] = { "xpos", "ypos", "zpos" };
    for (int k = 0; k < 3; ++k)
    {
        equalizerPos[k] = getTrack(std::string("equ.") + axes[k]);
        tapePos[k] = getTrack(std::string("tape.") + axes[k]);
        greetPos[k] = getTrack(std::string("greet.") + axes[k]);
    }
    greetsSwitch = getTrack("greets.on");
    floorRows = 0;
    buildFloor(0);
    display.build();
    buildTVs();
    ready = lookup.isComplete();
    // Resolved again by the shader at every link and reload.
    if (ready)
    {
        averageDestinationUniform = average->uniform(DESTINATION);
        averageSourceUniform = average->uniform(SOURCE);
        lightLightPositionUniform = light->uniform(LIGHT_POSITION);
        lightEyePositionUniform = light->uniform(EYE_POSITION);
        textureTextureUniform = textureShader->uniform(TEXTURE);
        textureColorUniform = textureShader->uniform(COLOR);
    }
}

void GhettoblasterEffect::draw(unsigned int time, unsigned int frameTime)
{
    if (!ready)
        return;
    tvsDrawn = 0;
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);

    camera.fly(time);

    spectrum.read();
    EqualizerLeds::weigh(spectrum.sum(), spectrum.length());

    // The mirrored scene, upside down under the floor.
    glPushMatrix();
    mirrorImage->bind();
    glCullFace(GL_FRONT);
    glScalef(1.0f, -1.0f, 1.0f);
    drawGhetto(time, frameTime);
    drawTVFormation(time);
    glPopMatrix();
    mirrorImage->setClearFlag(true);
    mirrorImage->release();
    glCullFace(GL_BACK);

    // The reflection is the mean of the mirrored scene and the floor under
    // it. A shader cannot read the buffer it draws into, so the floor goes
    // into "offscreen" as well, for the blend to read.
    offscreen->bind();
    drawFloor();
    offscreen->setClearFlag(true);
    offscreen->release();
    drawFloor();

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    GLw::resetAndStoreProjectionModelview();
    average->use();
    average->setTextureUnit(0, averageDestinationUniform, mirrorImage->getColorBuffer());
    average->setTextureUnit(1, averageSourceUniform, offscreen->getColorBuffer());
    ScreenQuad::drawClockwise();
    average->release();
    // Unit 1 stays switched on after the shader lets go of its texture;
    // fixed-function drawing after this must not sample it.
    glActiveTexture(GL_TEXTURE1);
    glDisable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    GLw::restoreProjectionModelview();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);

    glPushMatrix();
    drawGhetto(time, frameTime);
    drawTVFormation(time);
    glPopMatrix();
}

void GhettoblasterEffect::useLight()
{
    light->use();
    light->setUniform3f(lightLightPositionUniform, 0.0f, 0.0f, 0.0f);
    light->setUniform3f(lightEyePositionUniform, 0.0f, 0.0f, 0.0f);
}

void GhettoblasterEffect::drawGhetto(unsigned int time, unsigned int frameTime)
{
    glEnable(GL_LIGHTING);
    glPushMatrix();
    useLight();
    bass->draw(nullptr);
    blackPlastic->draw(nullptr);
    useLight();
    body->draw(nullptr);
    metal->draw(nullptr);
    plane->draw(nullptr);
    useLight();
    MRVObject* spheres[2] = { sphereLeft, sphereRight };
    const float* spectra[2] = { spectrum.left(), spectrum.right() };
    for (int k = 0; k < 2; ++k)
    {
        // Grows about its own centre and comes forward as much.
        const float s = 1.0f + spectra[k][0] + spectra[k][1];
        const Vector<float, 3> p = spheres[k]->getTranslation();
        glPushMatrix();
        glTranslatef(p[0], p[1], p[2] + s - 1.0f);
        glScalef(s, s, s);
        glTranslatef(-p[0], -p[1], -p[2]);
        spheres[k]->draw(nullptr);
        glPopMatrix();
    }
    light->release();
    glPopMatrix();
    glDisable(GL_LIGHTING);

    ColourMaterial::enable();
    display.drawPanel();

    // Left on the matrix on purpose: the TV formation stands under it too.
    const float depth = display.getPanelDepth();
    glTranslatef(0.0f, depth + 0.01f, depth + 0.01f);

    glPushMatrix();
    glTranslatef(TrackValue::at(equalizerPos[0], time), TrackValue::at(equalizerPos[1], time),
                 TrackValue::at(equalizerPos[2], time));
    drawEquilizer(spectrum.sum());
    glPopMatrix();

    glPushMatrix();
    glTranslatef(TrackValue::at(greetPos[0], time), TrackValue::at(greetPos[1], time),
                 TrackValue::at(greetPos[2], time));
    display.switchOn(TrackValue::at(greetsSwitch, time) >= 1.0f);
    drawGreets(static_cast<float>(frameTime));
    glPopMatrix();

    glPushMatrix();
    glTranslatef(TrackValue::at(tapePos[0], time), TrackValue::at(tapePos[1], time),
                 TrackValue::at(tapePos[2], time));
    drawCasette(time);
    glPopMatrix();

    glColor3f(1.0f, 1.0f, 1.0f);
    ColourMaterial::disable();
}

void GhettoblasterEffect::drawEquilizer(float* spectrum)
{
    ColourMaterial::enable();
    ColourMaterial::white();
    // One bind and one batch for every LED: they share the glow picture.
    glow->bind();
    glBegin(GL_QUADS);
    for (int band = 0; band < EqualizerLeds::BANDS; ++band)
    {
        const float bandSum = EqualizerLeds::bandSum(spectrum, band);
        const float x = LED_STEP * static_cast<float>(band);
        float y = 0.0f;
        int lit = 0;
        for (int led = 0; led < EqualizerLeds::LEDS; ++led)
            if (bandSum > EqualizerLeds::THRESHOLDS[led])
            {
                const float* colour = EqualizerLeds::COLOURS[led];
                drawFrequencyBar(colour[0], colour[1], colour[2], x, y, 0.0f, LED_SIZE);
                y += LED_STEP;
                ++lit;
            }
        ledsLit[band] = lit;
    }
    glEnd();
    glow->release();
    ColourMaterial::white();
    ColourMaterial::disable();
}

// Inside the caller's glBegin(GL_QUADS), with the glow picture bound.
void GhettoblasterEffect::drawFrequencyBar(float r, float g, float b, float x, float y, float z, float size)
{
    glColor3f(r, g, b);
    glTexCoord2f(0.0f, 0.0f); glVertex3f(x, y + size, z);
    glTexCoord2f(1.0f, 0.0f); glVertex3f(x, y, z);
    glTexCoord2f(1.0f, 1.0f); glVertex3f(x + size, y, z);
    glTexCoord2f(0.0f, 1.0f); glVertex3f(x + size, y + size, z);
}

void GhettoblasterEffect::drawGreets(float frameTime)
{
    display.draw(frameTime);
}

int GhettoblasterEffect::cassetteFrame(unsigned int time)
{
    const unsigned int m = time % 400;
    if (m < 100)
        return 4;
    if (m < 200)
        return 3;
    if (m < 300)
        return 2;
    return 1;
}

void GhettoblasterEffect::drawCasette(unsigned int time)
{
    ColourMaterial::enable();
    ColourMaterial::white();
    shownCassette = cassetteFrame(time);
    Texture* tape = tapes[shownCassette - 1];
    tape->bind();
    glBegin(GL_QUADS);
    glTexCoord2f(0.001f, 0.209f); glVertex3f(-0.525f, -0.32812497f, 0.0f);
    glTexCoord2f(0.623f, 0.209f); glVertex3f(0.525f, -0.32812497f, 0.0f);
    glTexCoord2f(0.623f, 0.999f); glVertex3f(0.525f, 0.32812497f, 0.0f);
    glTexCoord2f(0.001f, 0.999f); glVertex3f(-0.525f, 0.32812497f, 0.0f);
    glEnd();
    tape->release();
    ColourMaterial::white();
    ColourMaterial::disable();
}

void GhettoblasterEffect::drawTVFormation(unsigned int time)
{
    const float rotation = TrackValue::at(tvRotation, time);
    glRotatef(rotation, 0.0f, 1.0f, 0.0f);
    if (!(rotation >= 0.0f))
        return;
    // Three rings of sets: the nearest ring in material 3, the top in 1.
    MRVMaterial* ringMaterial[3] = { &materials[2], &materials[1], &materials[0] };
    for (int ring = 0; ring < 3; ++ring)
        for (int angle = 0; angle <= 360; angle += 24)
        {
            glPushMatrix();
            glRotatef(static_cast<float>(angle), 0.0f, 1.0f, 0.0f);
            glTranslatef(0.0f, 5.0f * static_cast<float>(ring) + 2.1f, -20.0f);
            drawTV(ringMaterial[ring]);
            glPopMatrix();
        }
    // drawTV leaves the screen picture switched on from set to set.
    transBuffer->getColorBuffer()->release();
}

// Every state change between two of the 96 sets is validated again by the
// GL at the next draw, so the set changes no more than it must: the screen
// picture stays switched on for the lit set (its shader does not sample it),
// and the set's material brings its own ambient and diffuse, which the
// screen, drawn unlit, does not read.
void GhettoblasterEffect::drawTV(MRVMaterial* material)
{
    Texture* screen = transBuffer->getColorBuffer();
    glPushMatrix();
    screen->setTextureWrap(GL_CLAMP_TO_EDGE);
    screen->bind();
    glTranslatef(0.1f, 0.0f, 0.9f);
    tvScreen->drawArray(GL_QUADS, 0, 0);
    glPopMatrix();

    glPushMatrix();
    glScalef(0.08f, 0.08f, 0.08f);
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    useLight();
    tvSetBatch.draw(material);
    light->release();
    glPopMatrix();
    transBuffer->setClearFlag(true);
    ++tvsDrawn;
}

void GhettoblasterEffect::buildTVs()
{
    // 96 sets a frame: each screen and each set one draw from buffers made
    // here, where the screens went vertex by vertex and the sets object by
    // object.
    tvSetBatch.build(tvSet);
    if (tvScreen)
        return;
    tvScreen.reset(new VBODynamic(4, 3, 0, 0, 2, 0, 0));
    tvScreen->openVertexBuffer(GL_WRITE_ONLY);
    tvScreen->openUVBuffer(GL_WRITE_ONLY);
    float* v = tvScreen->getVertexPointer();
    float* uv = tvScreen->getUVPointer();
    if (v && uv)
    {
        writeCorner(v, uv, 0.0f, 0.0f, -3.0222223f, -1.7f, 0.0f);
        writeCorner(v, uv, 1.0f, 0.0f, 3.0222223f, -1.7f, 0.0f);
        writeCorner(v, uv, 1.0f, 1.0f, 3.0222223f, 1.7f, 0.0f);
        writeCorner(v, uv, 0.0f, 1.0f, -3.0222223f, 1.7f, 0.0f);
    }
    tvScreen->closeUVBuffer();
    tvScreen->closeVertexBuffer();
}

void GhettoblasterEffect::buildFloor(int startParity)
{
    if (!floor)
        floor.reset(new VBODynamic(FLOOR_VERTICES, 3, 0, 0, 2, 0, 0));
    floorParity = startParity;
    floor->openVertexBuffer(GL_WRITE_ONLY);
    floor->openUVBuffer(GL_WRITE_ONLY);
    float* v = floor->getVertexPointer();
    float* uv = floor->getUVPointer();
    if (v && uv)
    {
        // Staggered rows: every other row starts half a tile in.
        const float step = 1.0f / 60.0f;
        float x = -33.33f;
        float z = 33.33f;
        float s = 0.0f;
        float t = 0.0f;
        int rows = startParity;
        for (int row = 0; row < FLOOR_ROWS; ++row)
        {
            const float t1 = t + step;
            const float z1 = z + 1.111f;
            for (int tile = 0; tile < FLOOR_TILES; ++tile)
            {
                writeCorner(v, uv, s, t1, x, 0.0f, z);
                writeCorner(v, uv, s, t, x, 0.0f, z1);
                writeCorner(v, uv, s + step, t, x + 1.111f, 0.0f, z1);
                writeCorner(v, uv, s + step, t1, x + 1.111f, 0.0f, z);
                x += 2.222f;
                s += 1.0f / 30.0f;
            }
            ++rows;
            x = rows % 2 != 0 ? -32.219f : -33.33f;
            s = rows % 2 != 0 ? step : 0.0f;
            z -= 1.111f;
            t = t1;
        }
    }
    floor->closeUVBuffer();
    floor->closeVertexBuffer();
}

void GhettoblasterEffect::drawFloor()
{
    // Sixty rows a pass keep the parity at the start of every pass, so the
    // floor is built again only if that ever changes.
    if ((floorRows & 1) != floorParity)
        buildFloor(floorRows & 1);
    textureShader->use();
    textureShader->setTextureUnit(0, textureTextureUniform, floorTexture);
    textureShader->setUniform4f(textureColorUniform, 1.0f, 1.0f, 1.0f, 1.0f);
    floor->drawArray(GL_QUADS, 0, 0);
    floorRows = (floorRows + FLOOR_ROWS) & FLOOR_ROW_MASK;
    textureShader->release();
}
