#include "production/effects/EqualizerTransitionEffect.h"

#include "demosys/gl/Shader.h"
#include "demosys/scene/MRVScene.h"
#include "production/effects/ColourMaterial.h"
#include "production/effects/EffectParameters.h"
#include "production/effects/ResourceLookup.h"
#include "production/effects/SceneLookup.h"

#include <GL/glew.h>

#include <cmath>

namespace {

// The mirror image on the floor, and how much of it the floor lets through.
constexpr float REFLECTION = 0.45f;
constexpr float FLOOR_ALPHA = 0.55f;
// The floor reaches past the picture; its seams sink into the dark as the
// wall's LEDs do in their shader.
constexpr float FLOOR_SIZE = 45.0f;
constexpr float FLOOR_FOG_NEAR = 16.0f;
constexpr float FLOOR_FOG_FAR = 55.0f;

const FixedResource FIRST_PATH = { FixedResource::CAMERA_PATH, "equalizeranim",
                                   "the first path, flown along anim.pos" };
const FixedResource SECOND_PATH = { FixedResource::CAMERA_PATH, "equalizer2anim",
                                    "the second path, flown along anim2.pos" };
const FixedResource LED_SCENE = { FixedResource::SCENE, "cube", "one LED, drawn scaled for each" };

// A hue from 0 to 1 around the colour wheel at full saturation and value.
void hue(float h, float* rgb)
{
    h = (h - std::floor(h)) * 6.0f;
    const float x = 1.0f - std::fabs(std::fmod(h, 2.0f) - 1.0f);
    const int sector = static_cast<int>(h) % 6;
    const float table[6][3] = { { 1, x, 0 }, { x, 1, 0 }, { 0, 1, x }, { 0, x, 1 }, { x, 0, 1 }, { 1, 0, x } };
    for (int k = 0; k < 3; ++k)
        rgb[k] = table[sector][k];
}

} // namespace

Effect* EqualizerTransitionEffect::getInstance()
{
    return new EqualizerTransitionEffect();
}

std::vector<FixedResource> EqualizerTransitionEffect::getFixedResources() const
{
    return { FIRST_PATH, SECOND_PATH, LED_SCENE };
}

void EqualizerTransitionEffect::registerTracks()
{
    CameraFlight::registerTracks(*this);
}

void EqualizerTransitionEffect::reset()
{
}

void EqualizerTransitionEffect::init()
{
    reset();
    ResourceLookup lookup("EqualizerTransitionEffect", EffectParameters::objectName(parameters));
    camera.init(*this, lookup, FIRST_PATH.name, SECOND_PATH.name);
    led = SceneLookup::scene(lookup, LED_SCENE.name);
    const std::string shaderName = EffectParameters::get(parameters, "ledshader");
    ledShader = !shaderName.empty() && shaderName != "none" ? lookup.shader(shaderName) : nullptr;
    ledProgram = 0;
    ready = lookup.isComplete();
}

void EqualizerTransitionEffect::draw(unsigned int time, unsigned int)
{
    if (!ready)
        return;
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    ColourMaterial::enable();
    ColourMaterial::white();

    camera.fly(time);

    spectrum.read();
    EqualizerLeds::weigh(spectrum.sum(), spectrum.length());

    // Not pushed: the placement stays on the model-view after draw.
    glTranslatef(-8.0f, -11.0f, -21.0f);
    if (!ledShader)
        drawEqualizer(spectrum.sum());
    else
    {
        if (ledShader->getProgramHandle() != ledProgram)
        {
            ledProgram = ledShader->getProgramHandle();
            litUniform = ledShader->uniform("lit");
            brightUniform = ledShader->uniform("bright");
        }
        // The mirror image first, then the floor over it, then the wall.
        glPushMatrix();
        glScalef(1.0f, -1.0f, 1.0f);
        drawLedWall(spectrum.sum(), time, REFLECTION);
        glPopMatrix();
        drawFloor();
        drawLedWall(spectrum.sum(), time, 1.0f);
    }

    ColourMaterial::white();
    ColourMaterial::disable();
}

void EqualizerTransitionEffect::drawEqualizer(float* spectrum)
{
    cubesDrawn = 0;
    for (int band = 0; band < EqualizerLeds::BANDS; ++band)
    {
        const float bandSum = EqualizerLeds::bandSum(spectrum, band);
        const float x = LED_STEP * static_cast<float>(band);
        float y = 0.0f;
        int lit = 0;
        for (int k = 0; k < EqualizerLeds::LEDS; ++k)
            if (bandSum > EqualizerLeds::THRESHOLDS[k])
            {
                const float* colour = EqualizerLeds::COLOURS[k];
                drawFrequencyBar(colour[0], colour[1], colour[2], x, y, 0.0f, LED_SIZE);
                y += LED_STEP;
                ++lit;
            }
        ledsLit[band] = lit;
    }
}

void EqualizerTransitionEffect::drawFrequencyBar(float r, float g, float b, float x, float y, float z, float size)
{
    glColor3f(r, g, b);
    glPushMatrix();
    glTranslatef(x + size / 2.0f, y + size / 2.0f, z - size / 2.0f);
    glScalef(size, size, size);
    led->draw();
    glPopMatrix();
    ++cubesDrawn;
}

void EqualizerTransitionEffect::drawLedWall(const float* spectrum, unsigned int time, float bright)
{
    ledShader->use();
    ledShader->setUniform1f(brightUniform, bright);
    cubesDrawn = 0;
    // The colours run along the bands and drift round the wheel over time;
    // each column warms towards its top.
    const float drift = static_cast<float>(time % 20000u) / 20000.0f;
    for (int band = 0; band < EqualizerLeds::BANDS; ++band)
    {
        const int lit = EqualizerLeds::litCount(EqualizerLeds::bandSum(spectrum, band));
        ledsLit[band] = lit;
        const float x = LED_STEP * static_cast<float>(band);
        for (int k = 0; k < EqualizerLeds::LEDS; ++k)
        {
            float rgb[3];
            hue(0.55f + drift + static_cast<float>(band) * 0.06f - static_cast<float>(k) * 0.045f, rgb);
            ledShader->setUniform1f(litUniform, k < lit ? 1.0f : 0.0f);
            drawFrequencyBar(rgb[0], rgb[1], rgb[2], x, LED_STEP * static_cast<float>(k), 0.0f, LED_SIZE);
        }
    }
    ledShader->release();
}

void EqualizerTransitionEffect::drawFloor()
{
    // A dark glossy floor at the foot of the wall: black over the mirror
    // image, letting part of it through, with the seams of its tiles one
    // LED step apart fading into the dark.
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_FOG_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_FOG);
    const float black[4] = { 0.0f, 0.0f, 0.0f, 1.0f };
    glFogfv(GL_FOG_COLOR, black);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, FLOOR_FOG_NEAR);
    glFogf(GL_FOG_END, FLOOR_FOG_FAR);
    glColor4f(0.02f, 0.02f, 0.035f, FLOOR_ALPHA);
    glBegin(GL_QUADS);
    glVertex3f(-FLOOR_SIZE, 0.0f, FLOOR_SIZE);
    glVertex3f(FLOOR_SIZE, 0.0f, FLOOR_SIZE);
    glVertex3f(FLOOR_SIZE, 0.0f, -FLOOR_SIZE);
    glVertex3f(-FLOOR_SIZE, 0.0f, -FLOOR_SIZE);
    glEnd();
    // The seams just above the floor, so that the depth test keeps them.
    glColor4f(0.25f, 0.3f, 0.45f, 0.5f);
    glBegin(GL_LINES);
    for (float at = -FLOOR_SIZE; at <= FLOOR_SIZE; at += LED_STEP)
    {
        glVertex3f(at, 0.01f, -FLOOR_SIZE);
        glVertex3f(at, 0.01f, FLOOR_SIZE);
        glVertex3f(-FLOOR_SIZE, 0.01f, at);
        glVertex3f(FLOOR_SIZE, 0.01f, at);
    }
    glEnd();
    glPopAttrib();
}
