#pragma once

// In-process set-up for the effect tests: fresh pools in the registry, the
// production's own shaders, framebuffers and textures made on the test's GL
// context, and an effect taken through the lifecycle the loader gives it
// (parameters, registered tracks with keyframes, init) before it is drawn
// in the frame state the frame loop leaves.
#include "demosys/data/DataBinaryPool.h"
#include "demosys/data/DataFBOPool.h"
#include "demosys/data/DataShaderPool.h"
#include "demosys/data/DataTexturePool.h"
#include "demosys/gl/FrameBufferObject.h"
#include "demosys/gl/Shader.h"
#include "demosys/gl/Texture.h"
#include "demosys/runtime/Effect.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/runtime/ScreenMetrics.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackInterpolate.h"
#include "demosys/timeline/TrackKeyFrameInterpolate.h"
#include "mrvutils/File.h"

#include "tests/support/GLTestContext.h"
#include "tests/support/RegistryGuard.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace effecttest
{

// The repository's resources/ directory, found from this file's own path.
inline std::string resourcesDir()
{
    std::string here = __FILE__;
    return here.substr(0, here.rfind("tests/production/")) + "resources/";
}

inline bool enabled(GLenum cap)
{
    return glIsEnabled(cap) == GL_TRUE;
}

inline GLint integer(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

inline std::array<float, 4> currentColour()
{
    std::array<float, 4> c{};
    glGetFloatv(GL_CURRENT_COLOR, c.data());
    return c;
}

// RGBA of one pixel of the bound framebuffer.
inline std::array<int, 4> pixel(int x, int y)
{
    const std::vector<unsigned char> p = GLTestContext::readPixels(x, y, 1, 1);
    return { p[0], p[1], p[2], p[3] };
}

// Keyframes of one track: (row, value), linear curves.
using Keys = std::vector<std::pair<unsigned int, float>>;

class EffectHarness : public ::testing::Test
{
protected:
    // Puts back the registry members the harness and the test set.
    testsupport::RegistryGuard registry;

    // Screen pixel at the middle of the 16:9 viewport of the 64 x 64 window.
    static constexpr int CX = 31;
    static constexpr int CY = 32;

    void SetUp() override
    {
        FrameBufferObject::fboStack.clear();
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        metrics.setResolution(GLTestContext::WIDTH, GLTestContext::HEIGHT);
        metrics.initView();
        MRVDemosys::screenMetrics = &metrics;
        MRVDemosys::shaderPool = new DataShaderPool();
        MRVDemosys::fboPool = new DataFBOPool();
        MRVDemosys::texturePool = new DataTexturePool();
        MRVDemosys::binaryPool = new DataBinaryPool();
        MRVDemosys::system_error = false;
        startFrame();
    }

    void TearDown() override
    {
        groups.clear();
        delete MRVDemosys::shaderPool;
        delete MRVDemosys::fboPool;
        delete MRVDemosys::texturePool;
        delete MRVDemosys::binaryPool;
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        restoreDefaults();
        GLTestContext::takeGLError();
    }

    // The other GL tests of the binary share the context and expect its
    // defaults: whatever a frame switched on goes back off.
    static void restoreDefaults()
    {
        glUseProgram(0);
        for (GLenum unit : { GL_TEXTURE1, GL_TEXTURE0 })
        {
            glActiveTexture(unit);
            glBindTexture(GL_TEXTURE_1D, 0);
            glBindTexture(GL_TEXTURE_2D, 0);
            glDisable(GL_TEXTURE_1D);
            glDisable(GL_TEXTURE_2D);
            glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        }
        for (GLenum cap : { GL_CULL_FACE, GL_DEPTH_TEST, GL_BLEND, GL_ALPHA_TEST, GL_COLOR_MATERIAL, GL_LIGHTING })
            glDisable(cap);
        glBlendFunc(GL_ONE, GL_ZERO);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        glLineWidth(1.0f);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glViewport(0, 0, GLTestContext::WIDTH, GLTestContext::HEIGHT);
    }

    // Model-view and projection that map the rectangle onto the whole window.
    static void flatView(float x0, float x1, float y0, float y1)
    {
        glViewport(0, 0, GLTestContext::WIDTH, GLTestContext::HEIGHT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(x0, x1, y0, y1, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    // What the frame loop sets before the track system draws.
    void startFrame()
    {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        metrics.setView();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        GLTestContext::takeGLError();
    }

    Shader* loadShader(const std::string& name, const std::string& stem)
    {
        File vertex(resourcesDir() + "shaders/" + stem + ".vert", File::READ);
        File fragment(resourcesDir() + "shaders/" + stem + ".frag", File::READ);
        auto* shader = new Shader();
        const bool ok = vertex.exists() && fragment.exists() && shader->setVertexSource(vertex.getAsString()) &&
                        shader->setFragmentSource(fragment.getAsString()) && shader->link();
        EXPECT_TRUE(ok) << stem << ": " << shader->getErrorMessage();
        MRVDemosys::shaderPool->addShader(name, shader);
        return shader;
    }
    Shader* loadShader(const std::string& name) { return loadShader(name, name); }

    FrameBufferObject* addFbo(const std::string& name, int width, int height, bool depth = false)
    {
        auto* fbo = new FrameBufferObject(width, height, depth, false);
        // Cleared once, as the loader does: depth starts at the far plane.
        fbo->bind();
        fbo->clear();
        fbo->release();
        MRVDemosys::fboPool->addFBO(name, fbo);
        return fbo;
    }

    // A texture of one RGBA colour.
    Texture* addTexture(const std::string& name, int width, int height, std::array<unsigned char, 4> rgba)
    {
        std::vector<unsigned char> texels;
        for (int i = 0; i < width * height; ++i)
            texels.insert(texels.end(), rgba.begin(), rgba.end());
        auto* texture = new Texture(width, height, GL_TEXTURE_2D, GL_RGBA, GL_RGBA, texels.data());
        MRVDemosys::texturePool->addTexture(name, texture);
        return texture;
    }

    // Clears the buffer to a colour and leaves the screen bound.
    static void fill(FrameBufferObject* fbo, float r, float g, float b, float a = 1.0f)
    {
        fbo->bind();
        glClearColor(r, g, b, a);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        fbo->release();
    }

    // RGBA at (x, y) inside the buffer.
    static std::array<int, 4> pixelOf(FrameBufferObject* fbo, int x, int y)
    {
        fbo->bind();
        const std::array<int, 4> p = pixel(x, y);
        fbo->release();
        return p;
    }

    // The loader's part: parameters, track names, a track group holding one
    // track per name (with the keyframes given, empty otherwise), init().
    void attach(Effect& effect, const std::map<std::string, std::string>& values,
                const std::map<std::string, Keys>& keys = {})
    {
        auto group = std::make_unique<ParameterGroup>("fx" + std::to_string(groups.size()));
        for (const auto& entry : values)
            group->addParameter(entry.first, entry.second);
        effect.setParameters(group.get());
        effect.registerTracks();
        auto tracks = std::make_unique<TrackGroup>(group->getGroupName());
        for (const std::string& name : effect.getTrackNames())
        {
            auto* track = new TrackInterpolate(name);
            const auto found = keys.find(name);
            if (found != keys.end())
                for (const auto& key : found->second)
                    track->addKeyframe(new TrackKeyFrameInterpolate(key.first, 0, key.second));
            tracks->addInterpolateTrack(track);
        }
        effect.setTrackGroup(tracks.get());
        effect.init();
        groups.emplace_back(std::move(group), std::move(tracks));
    }

    // Matrix stacks and mode as the frame loop expects them back.
    static ::testing::AssertionResult balanced()
    {
        if (integer(GL_MODELVIEW_STACK_DEPTH) != 1 || integer(GL_PROJECTION_STACK_DEPTH) != 1)
            return ::testing::AssertionFailure() << "stack depths " << integer(GL_MODELVIEW_STACK_DEPTH) << ", "
                                                 << integer(GL_PROJECTION_STACK_DEPTH);
        if (integer(GL_MATRIX_MODE) != GL_MODELVIEW)
            return ::testing::AssertionFailure() << "matrix mode " << integer(GL_MATRIX_MODE);
        if (!FrameBufferObject::fboStack.empty() || integer(GL_FRAMEBUFFER_BINDING_EXT) != 0)
            return ::testing::AssertionFailure() << "a framebuffer is still bound";
        if (integer(GL_CURRENT_PROGRAM) != 0)
            return ::testing::AssertionFailure() << "a program is still in use";
        // Batched geometry: the next fixed-function quad must not read arrays.
        for (GLenum array : { GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY })
            if (enabled(array))
                return ::testing::AssertionFailure() << "client array 0x" << std::hex << array << " still enabled";
        if (integer(GL_ARRAY_BUFFER_BINDING) != 0 || integer(GL_ELEMENT_ARRAY_BUFFER_BINDING) != 0)
            return ::testing::AssertionFailure() << "a buffer object is still bound";
        return ::testing::AssertionSuccess();
    }

    static ::testing::AssertionResult noGLError()
    {
        const unsigned int error = GLTestContext::takeGLError();
        if (error != 0)
            return ::testing::AssertionFailure() << "GL error 0x" << std::hex << error;
        if (MRVDemosys::system_error)
            return ::testing::AssertionFailure() << "system error raised";
        return ::testing::AssertionSuccess();
    }

    ScreenMetrics metrics;
    std::vector<std::pair<std::unique_ptr<ParameterGroup>, std::unique_ptr<TrackGroup>>> groups;
};

} // namespace effecttest
