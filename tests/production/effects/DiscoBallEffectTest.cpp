// The disco ball drawn on the test context with the generated ball, rays
// and room.
#include "production/effects/DiscoBallEffect.h"

#include "demosys/scene/MRVMaterial.h"
#include "demosys/scene/MRVObject.h"
#include "tests/production/effects/SceneEffectHarness.h"
#include "tools/mrvmodels/CubeModel.h"
#include "tools/mrvmodels/LightRaysModel.h"
#include "tools/mrvmodels/MirrorBallModel.h"

#include <cmath>
#include <cstdlib>
#include <set>

using namespace effecttest;

namespace {

class DiscoBallEffectTest : public SceneEffectHarness
{
protected:
    void SetUp() override
    {
        SceneEffectHarness::SetUp();
        addScene("ball", MirrorBallModel::build());
        addScene("room", CubeModel::build());
        loadShader("mirror", "discoball_shader");
        loadShader("colormaterial");
        addTexture("walls", 4, 4, { 120, 120, 160, 255 });
        addTexture("beam", 4, 4, { 255, 255, 255, 128 });
    }

    void attachBall(DiscoBallEffect& effect, const std::string& rays)
    {
        attach(effect, { { "discoballA", "ball" }, { "discoballB", rays }, { "lighttex", "beam" },
                         { "discoball_shader", "mirror" }, { "cube", "room" }, { "cube_texture", "walls" } });
    }

    // Ray number of a tube or spot: the digits after "Tube.0" / "Circle.0".
    static int number(const MRVObject* object)
    {
        const std::string& name = object->getName();
        return std::atoi(name.c_str() + name.find('.') + 2);
    }

    // With the ball unturned (angle 0) a beam's direction is its own
    // translation: aim them all away from the viewer but one.
    static void aim(MRVScene* rays, int towardsViewer)
    {
        const std::vector<int> numbers = LightRaysModel::rayNumbers();
        for (size_t k = 0; k < numbers.size(); ++k)
        {
            MRVObject* tube = rays->getObjectByName(LightRaysModel::tubeName(numbers[k]));
            if (numbers[k] == towardsViewer)
                tube->setTranslation(0.0f, 0.0f, 12.0f);
            else
                tube->setTranslation(std::cos(0.15f * k), std::sin(0.15f * k), -0.5f + 0.02f * static_cast<float>(k));
        }
    }
};

} // namespace

TEST_F(DiscoBallEffectTest, FortyOneRaysPairTubesWithSpotsAndSkipNumber63)
{
    addScene("rays", LightRaysModel::build());
    DiscoBallEffect effect;
    attachBall(effect, "rays");
    ASSERT_TRUE(effect.isReady());
    ASSERT_EQ(effect.getRayCount(), 41);
    std::set<int> numbers;
    for (int i = 0; i < 41; ++i)
    {
        EXPECT_EQ(number(effect.getTube(i)), number(effect.getSpot(i)));
        EXPECT_EQ(effect.getTube(i)->getName().substr(0, 6), "Tube.0");
        EXPECT_EQ(effect.getSpot(i)->getName().substr(0, 8), "Circle.0");
        EXPECT_EQ(effect.getTube(i)->getMaterial(), nullptr) << "the beam takes its colour at draw time";
        EXPECT_EQ(effect.getSpot(i)->getMaterial(), effect.getRayMaterial(i));
        EXPECT_TRUE((effect.getRayMaterial(i)->getDiffuse() == Vector<float, 3>(1, 1, 1)));
        numbers.insert(number(effect.getTube(i)));
    }
    EXPECT_EQ(numbers.size(), 41u);
    EXPECT_EQ(*numbers.begin(), 44);
    EXPECT_EQ(*numbers.rbegin(), 85);
    EXPECT_EQ(numbers.count(63), 0u);
}

TEST_F(DiscoBallEffectTest, RayColoursAreTheSameOnEveryRun)
{
    addScene("rays", LightRaysModel::build());
    addScene("rays2", LightRaysModel::build());
    DiscoBallEffect first;
    attachBall(first, "rays");
    std::srand(99);
    std::rand();
    DiscoBallEffect second;
    attachBall(second, "rays2");

    // The generator is seeded before the colours are drawn, red first, in
    // the order of the ray numbers.
    std::srand(DiscoBallEffect::COLOUR_SEED);
    std::set<float> reds;
    for (int i = 0; i < 41; ++i)
    {
        const float r = static_cast<float>(std::rand() / (RAND_MAX + 1.0));
        const float g = static_cast<float>(std::rand() / (RAND_MAX + 1.0));
        const float b = static_cast<float>(std::rand() / (RAND_MAX + 1.0));
        EXPECT_EQ(number(first.getSpot(i)), LightRaysModel::rayNumbers()[static_cast<size_t>(i)]);
        EXPECT_TRUE((first.getRayMaterial(i)->getAmbient() == Vector<float, 3>(r, g, b))) << i;
        EXPECT_TRUE((second.getRayMaterial(i)->getAmbient() == Vector<float, 3>(r, g, b))) << i;
        reds.insert(r);
    }
    EXPECT_GT(reds.size(), 30u) << "colours, not one colour";
}

TEST_F(DiscoBallEffectTest, RaysAreDrawnFromTheFarthestToTheNearest)
{
    addScene("rays", LightRaysModel::build());
    DiscoBallEffect effect;
    attachBall(effect, "rays");
    for (unsigned int frame = 0; frame < 3; ++frame)
    {
        startFrame();
        effect.draw(frame * 50, 370);
        // The ball's transformation of that frame: swing, distance, spin.
        const float angle = 37.0f * static_cast<float>(frame);
        glPushMatrix();
        glLoadIdentity();
        glTranslatef(std::sin(angle / 80.0f) * 5.0f, 0.0f, -16.0f);
        glRotatef(angle, 0.4f, -3.0f, 0.0f);
        Matrix<float, 4, 4, 16> ball;
        glGetFloatv(GL_MODELVIEW_MATRIX, ball.data());
        glPopMatrix();
        for (int i = 0; i < 41; ++i)
        {
            Vector<float, 3> expected = ball.transformVector(effect.getTube(i)->getTranslation());
            expected.normalize();
            for (int k = 0; k < 3; ++k)
                EXPECT_NEAR(effect.getDirection(i)[k], expected[k], 1e-5) << "ray " << i;
            if (i > 0)
            {
                EXPECT_LE(effect.getDirection(i - 1)[2], effect.getDirection(i)[2]) << "frame " << frame;
            }
            // Sorting moves the four parallel entries together.
            EXPECT_EQ(number(effect.getTube(i)), number(effect.getSpot(i)));
            EXPECT_EQ(effect.getSpot(i)->getMaterial(), effect.getRayMaterial(i));
        }
    }
    EXPECT_TRUE(noGLError());
}

TEST_F(DiscoBallEffectTest, FlashOnlyForRaysBeyondTheThreshold)
{
    EXPECT_EQ(DiscoBallEffect::flashStrength(0.985f), 0.0f) << "strictly beyond";
    EXPECT_EQ(DiscoBallEffect::flashStrength(0.5f), 0.0f);
    EXPECT_NEAR(DiscoBallEffect::flashStrength(1.0f), 0.8 * std::sin(0.015) / 0.015, 1e-4);
    EXPECT_GT(DiscoBallEffect::flashStrength(0.99f), 0.0f);
    EXPECT_LT(DiscoBallEffect::flashStrength(0.99f), DiscoBallEffect::flashStrength(0.995f));

    MRVScene* calm = addScene("calm", LightRaysModel::build());
    aim(calm, -1);
    DiscoBallEffect quiet;
    attachBall(quiet, "calm");
    quiet.draw(0, 0);
    EXPECT_EQ(quiet.getFlashIntensity(), 0.0f);
    EXPECT_TRUE(enabled(GL_DEPTH_TEST)) << "no flash quad";
    const auto plain = pixel(CX, CY);

    startFrame();
    MRVScene* lit = addScene("lit", LightRaysModel::build());
    aim(lit, 70);
    DiscoBallEffect flashing;
    attachBall(flashing, "lit");
    flashing.draw(0, 0);
    EXPECT_NEAR(flashing.getFlashIntensity(), 0.79997f, 1e-4);
    ASSERT_EQ(flashing.getFlashRay(), 40) << "the nearest ray sorts last";
    EXPECT_EQ(number(flashing.getTube(40)), 70);
    // The whole picture under 80 % of the ray's colour.
    const Vector<float, 3> colour = flashing.getRayMaterial(40)->getAmbient();
    const auto flashed = pixel(CX, CY);
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(flashed[k], 0.2f * plain[k] + 0.8f * 255.0f * colour[k], 4.0f) << k;
    EXPECT_FALSE(enabled(GL_DEPTH_TEST)) << "the flash leaves depth testing off";
    EXPECT_TRUE(noGLError());
}

TEST_F(DiscoBallEffectTest, PausedClockKeepsBallRoomAndFlashStill)
{
    MRVScene* lit = addScene("lit", LightRaysModel::build());
    aim(lit, 50);
    DiscoBallEffect effect;
    attachBall(effect, "lit");
    effect.draw(0, 0);
    const int ray = number(effect.getTube(effect.getFlashRay()));
    const auto first = pixel(CX, CY);
    for (unsigned int time : { 50u, 100u })
    {
        startFrame();
        effect.draw(time, 0);
        EXPECT_EQ(effect.getBallAngle(), 0.0f);
        EXPECT_EQ(effect.getRoomAngle(), 0.0f);
        EXPECT_EQ(number(effect.getTube(effect.getFlashRay())), ray);
        EXPECT_EQ(pixel(CX, CY), first);
    }
    effect.draw(150, 100);
    EXPECT_FLOAT_EQ(effect.getBallAngle(), 10.0f);
    EXPECT_FLOAT_EQ(effect.getRoomAngle(), 2.0f);
    EXPECT_TRUE(noGLError());
}

TEST_F(DiscoBallEffectTest, DrawRestoresTheMatrixAndLeavesLightingAndBlendingOff)
{
    MRVScene* calm = addScene("calm", LightRaysModel::build());
    aim(calm, -1);
    DiscoBallEffect effect;
    attachBall(effect, "calm");
    glTranslatef(3.0f, 0.0f, 0.0f);
    effect.draw(0, 20);
    EXPECT_TRUE(noGLError());
    EXPECT_TRUE(balanced());
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_EQ(m[12], 3.0f) << "the caller's model-view comes back";
    EXPECT_TRUE(enabled(GL_DEPTH_TEST));
    EXPECT_TRUE(enabled(GL_CULL_FACE));
    EXPECT_FALSE(enabled(GL_LIGHTING));
    EXPECT_FALSE(enabled(GL_BLEND));
    EXPECT_FALSE(enabled(GL_COLOR_MATERIAL));
    EXPECT_EQ(currentColour(), (std::array<float, 4>{ 1, 1, 1, 1 }));
    // The room's walls (grey-blue picture at half brightness) fill the view
    // around the ball.
    const auto corner = pixel(2, 16);
    EXPECT_GT(corner[2], 20);
}

TEST_F(DiscoBallEffectTest, ARaysSceneShortOfABeamLeavesTheEffectUndrawn)
{
    MRVObjectFile objects = LightRaysModel::build();
    for (auto it = objects.meshes.begin(); it != objects.meshes.end(); ++it)
        if (it->name == "Circle.070")
        {
            objects.meshes.erase(it);
            break;
        }
    MRVScene* rays = addScene("rays", objects);
    MRVMaterial* loaded = rays->getObjectByName("Tube.044")->getMaterial();
    DiscoBallEffect effect;
    attachBall(effect, "rays");
    EXPECT_FALSE(effect.isReady());
    EXPECT_EQ(effect.getRayCount(), 0);
    EXPECT_EQ(rays->getObjectByName("Tube.044")->getMaterial(), loaded) << "nothing was changed";
    effect.draw(0, 20);
    EXPECT_TRUE(noGLError());
}
