#include "demosys/data/Particle.h"
#include "demosys/data/ParticleSystem.h"
#include "demosys/gl/Shader.h"

#include "tests/support/GLTestContext.h"
#include "tests/support/StdoutCapture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

class ParticleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        glViewport(0, 0, GLTestContext::WIDTH, GLTestContext::HEIGHT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glDisable(GL_DEPTH_TEST);
        GLTestContext::takeGLError();
    }

    void TearDown() override { EXPECT_EQ(GLTestContext::takeGLError(), 0u); }

    static std::vector<float> currentColour()
    {
        std::vector<float> c(4);
        glGetFloatv(GL_CURRENT_COLOR, c.data());
        return c;
    }

    static GLint bufferSize(unsigned int buffer)
    {
        GLint size = 0;
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        return size;
    }
};

} // namespace

TEST_F(ParticleTest, StartsAliveForEverAtConstantSpeed)
{
    Particle particle;
    EXPECT_FLOAT_EQ(particle.getLifespan(), -1.0f);
    EXPECT_FLOAT_EQ(particle.getAcceleration(), 1.0f);
    EXPECT_FLOAT_EQ(particle.getEnergy(), 1.0f);
    EXPECT_EQ(particle.getColor(), (Vector<float, 4>(1, 1, 1, 0)));
    EXPECT_FALSE(particle.isDead());

    particle.setDirection(1, 2, 3);
    for (int i = 0; i < 5; ++i)
        particle.draw(0.5f);
    EXPECT_EQ(particle.getDirection(), (Vector<float, 3>(1, 2, 3)));
    EXPECT_EQ(particle.getPosition(), (Vector<float, 3>(2.5f, 5, 7.5f)));
    EXPECT_FLOAT_EQ(particle.getLifespan(), -1.0f);
    EXPECT_FLOAT_EQ(particle.getEnergy(), 0.0f);
}

TEST_F(ParticleTest, LifeCycleFadesOutAndDies)
{
    Particle particle;
    particle.setColor(0.25f, 0.5f, 0.75f, 1.0f)->setLifespan(0.5f)->setSize(0.5f);
    const float alphas[] = { 0.3f, 0.1f, 0.0f };
    for (float alpha : alphas)
    {
        ASSERT_FALSE(particle.isDead());
        particle.draw(0.2f);
        const auto colour = currentColour();
        EXPECT_FLOAT_EQ(colour[0], 0.25f);
        EXPECT_NEAR(colour[3], alpha, 1e-6);
    }
    EXPECT_TRUE(particle.isDead());

    // Dead: no colour is set, nothing is drawn, nothing moves.
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(0.5f, 0.5f, 0.5f, 0.5f);
    particle.setDirection(1, 0, 0);
    particle.draw(0.2f);
    EXPECT_EQ(currentColour(), (std::vector<float>{ 0.5f, 0.5f, 0.5f, 0.5f }));
    EXPECT_EQ(particle.getPosition(), (Vector<float, 3>(0, 0, 0)));
    EXPECT_EQ(GLTestContext::readPixels(32, 32, 1, 1)[0], 0);
}

TEST_F(ParticleTest, ImmortalDrawsWithItsOwnAlphaAndKillEndsIt)
{
    Particle particle;
    particle.setColor(1, 1, 1)->setSize(0.5f);
    particle.draw(0.1f);
    EXPECT_FLOAT_EQ(currentColour()[3], 0.0f);
    EXPECT_FLOAT_EQ(particle.getLifespan(), -1.0f);
    // The quad covers the centre of the screen.
    EXPECT_EQ(GLTestContext::readPixels(32, 32, 1, 1)[0], 255);
    EXPECT_EQ(GLTestContext::readPixels(2, 2, 1, 1)[0], 0);

    particle.setColor(1, 1, 1, 0.75f)->draw(0.1f);
    EXPECT_FLOAT_EQ(currentColour()[3], 0.75f);
    particle.kill();
    EXPECT_TRUE(particle.isDead());
}

TEST_F(ParticleTest, SpinWrapsTheAngle)
{
    Particle particle;
    particle.setRotation(100);
    const float angles[] = { 100, 200, 300, 40 };
    for (float angle : angles)
    {
        particle.draw(1.0f);
        EXPECT_FLOAT_EQ(particle.getAngle(), angle);
    }
    particle.setRotation(-50);
    EXPECT_FLOAT_EQ(particle.getAngle(), 0.0f);
    particle.draw(1.0f);
    EXPECT_FLOAT_EQ(particle.getAngle(), 310.0f);
}

TEST_F(ParticleTest, AccelerationAndGravity)
{
    Particle fast;
    fast.setAcceleration(2)->setDirection(1, 0, 0);
    fast.draw(0.1f);
    EXPECT_EQ(fast.getDirection(), (Vector<float, 3>(2, 0, 0)));
    EXPECT_NEAR(fast.getPosition()[0], 0.1f, 1e-6);

    Particle slow;
    slow.setAcceleration(0.5f)->setDirection(0, 4, 0)->setGravity(0, -1, 0);
    slow.draw(0.1f);
    EXPECT_NEAR(slow.getDirection()[1], 2.0f, 1e-6);
    EXPECT_NEAR(slow.getPosition()[1], 0.3f, 1e-6);
}

TEST_F(ParticleTest, ExtraRotationLeavesTheMatrixAndStateAlone)
{
    Particle particle;
    particle.setSize(0.25f)->setPosition(0.5f, 0, 0)->setRotation(90);
    particle.draw(0.5f, 30.0f, Vector<int, 3>(0, 1, 0));
    EXPECT_FLOAT_EQ(particle.getAngle(), 45.0f);
    GLfloat matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    EXPECT_FLOAT_EQ(matrix[12], 0.0f);
    EXPECT_FLOAT_EQ(matrix[0], 1.0f);
}

TEST_F(ParticleTest, SystemSeedsAndUploadsItsPoints)
{
    std::srand(7);
    ParticleSystem system(10, 10, true);
    EXPECT_FLOAT_EQ(system.getPointSize(), 100.0f);
    EXPECT_EQ(system.getTexCoordData(), nullptr);

    StdoutCapture capture;
    system.createPoints(3, 3);
    const std::string log = capture.take();
    EXPECT_EQ(log.find("Index = 100\n"), 0u) << log;
    EXPECT_NE(log.find("VertexBuffer: " + std::to_string(system.getVertexBuffer()) + "\nBuffer size = 1200\n"),
              std::string::npos);
    EXPECT_NE(log.find("ColorBuffer: " + std::to_string(system.getColorBuffer()) + "\nBuffer size = 1200\n"),
              std::string::npos);
    EXPECT_NE(log.find("VelocityBuffer: " + std::to_string(system.getVelocityBuffer()) + "\nBuffer size = 1200\n"),
              std::string::npos);
    EXPECT_NE(log.find("StartBuffer: " + std::to_string(system.getStartBuffer()) + "\nBuffer size = 400\n"),
              std::string::npos);
    EXPECT_EQ(log.find("TextureCoords"), std::string::npos);
    EXPECT_EQ(system.getTexCoordBuffer(), 0u);
    EXPECT_EQ(bufferSize(system.getStartBuffer()), 400);

    const float* positions = system.getVertexData();
    const float* colours = system.getColorData();
    const float* velocities = system.getVelocityData();
    const float* starts = system.getStartData();
    float largestStart = 0.0f;
    for (int i = 0; i < 300; ++i)
    {
        EXPECT_GE(positions[i], -0.005f);
        EXPECT_LT(positions[i], 0.005f);
        EXPECT_GE(colours[i], 0.0f);
        EXPECT_LT(colours[i], 1.0f);
        EXPECT_GE(velocities[i], -0.1f);
        EXPECT_LT(velocities[i], 0.1f);
    }
    for (int i = 0; i < 100; ++i)
    {
        EXPECT_GE(starts[i], 0.0f);
        EXPECT_LT(starts[i], 100.0f);
        largestStart = std::max(largestStart, starts[i]);
    }
    // Spread over the range, not stuck at one value.
    EXPECT_GT(largestStart, 50.0f);

    float* uv = system.initTexCoordBuffer();
    ASSERT_NE(uv, nullptr);
    EXPECT_EQ(system.initTexCoordBuffer(), uv);
    EXPECT_FLOAT_EQ(uv[199], 0.0f);
}

TEST_F(ParticleTest, SystemWithoutAttributesGetsThemWhenSeeded)
{
    ParticleSystem system(2, 3, false);
    EXPECT_EQ(system.getColorData(), nullptr);
    system.setVerbose(false);
    StdoutCapture capture;
    system.createPoints(0, 0);
    EXPECT_EQ(capture.take(), "");
    EXPECT_NE(system.getColorData(), nullptr);
    EXPECT_NE(system.getStartBuffer(), 0u);
    EXPECT_EQ(bufferSize(system.getVelocityBuffer()), 72);
}

TEST_F(ParticleTest, SystemDrawsPointsThroughTheShader)
{
    Shader shader;
    ASSERT_TRUE(shader.setVertexSource("attribute vec3 Velocity;\n"
                                       "attribute float StartTime;\n"
                                       "uniform float Time;\n"
                                       "uniform float PointSize;\n"
                                       "void main() {\n"
                                       "  vec4 p = gl_Vertex;\n"
                                       "  p.xyz += Velocity * 0.0 + vec3(StartTime * 0.0) + vec3(Time, 0.0, 0.0);\n"
                                       "  gl_Position = p;\n"
                                       "  gl_FrontColor = vec4(1.0);\n"
                                       "  gl_PointSize = min(PointSize, 3.0);\n"
                                       "}\n"));
    ASSERT_TRUE(shader.setFragmentSource("void main() { gl_FragColor = gl_Color; }\n"));
    ASSERT_TRUE(shader.link());

    ParticleSystem system(4, 4, true);
    // Nothing uploaded yet: nothing to draw, no GL error.
    system.drawPoints(&shader, 0.0f);
    EXPECT_EQ(GLTestContext::readPixels(32, 32, 1, 1)[0], 0);

    {
        StdoutCapture quiet;
        system.createPoints(4, 4);
    }
    glEnable(GL_VERTEX_PROGRAM_POINT_SIZE);
    system.drawPoints(&shader, 0.5f);
    glDisable(GL_VERTEX_PROGRAM_POINT_SIZE);
    // Every point starts within 0.005 of the origin and is moved right by
    // Time: the cluster lands around x = 0.5 (pixel 48).
    EXPECT_EQ(GLTestContext::readPixels(48, 32, 1, 1)[0], 255);
    EXPECT_EQ(GLTestContext::readPixels(32, 32, 1, 1)[0], 0);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));

    glClear(GL_COLOR_BUFFER_BIT);
    system.drawPointSprites(&shader, nullptr, 0.0f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_POINT_SPRITE));
    EXPECT_EQ(GLTestContext::readPixels(32, 32, 1, 1)[0], 255);
}
