#include "demosys/data/DataFBOPool.h"
#include "demosys/gl/FrameBufferObject.h"
#include "demosys/gl/Texture.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/runtime/ScreenMetrics.h"

#include "tests/support/GLTestContext.h"
#include "tests/support/RegistryGuard.h"
#include "tests/support/StdoutCapture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

GLint boundFramebuffer()
{
    GLint id = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &id);
    return id;
}

std::vector<GLint> viewport()
{
    std::vector<GLint> v(4);
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

class FrameBufferObjectTest : public ::testing::Test
{
protected:
    // Puts back the registry members the test sets, however it ends.
    testsupport::RegistryGuard registry;

    void SetUp() override
    {
        FrameBufferObject::fboStack.clear();
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        metrics.setResolution(GLTestContext::WIDTH, GLTestContext::HEIGHT);
        metrics.initView();
        MRVDemosys::screenMetrics = &metrics;
        MRVDemosys::system_error = false;
        glDisable(GL_DEPTH_TEST);
        GLTestContext::takeGLError();
    }

    void TearDown() override
    {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        glViewport(0, 0, GLTestContext::WIDTH, GLTestContext::HEIGHT);
    }

    static void fill(float r, float g, float b)
    {
        glClearColor(r, g, b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    ScreenMetrics metrics;
};

} // namespace

TEST_F(FrameBufferObjectTest, CreationAndDump)
{
    FrameBufferObject full(640, 360, true, true);
    EXPECT_TRUE(full.isValid());
    EXPECT_EQ(full.getStatus(), "Framebuffer is complete.");
    EXPECT_EQ(full.toString(), "FrameBufferObject(640,360,COLOR_BUFFER,DEPTH_BUFFER,STENCIL_BUFFER)");
    EXPECT_TRUE(glIsRenderbufferEXT(full.getDepthBuffer()));
    ASSERT_NE(full.getColorBuffer(), nullptr);
    EXPECT_EQ(full.getColorBuffer()->getWidth(), 640);
    EXPECT_EQ(boundFramebuffer(), 0) << "creation leaves the screen bound";

    FrameBufferObject plain(32, 16, false, false);
    EXPECT_EQ(plain.toString(), "FrameBufferObject(32,16,COLOR_BUFFER)");
    EXPECT_EQ(plain.getDepthBuffer(), 0u);
    EXPECT_FALSE(plain.hasClearFlag());
    EXPECT_EQ(GLTestContext::takeGLError(), 0u);
}

TEST_F(FrameBufferObjectTest, NestedBindsRestoreTheTargetBeneath)
{
    FrameBufferObject a(32, 16, false, false), b(8, 8, true, false);
    a.bind();
    b.bind();
    EXPECT_EQ(boundFramebuffer(), static_cast<GLint>(b.getId()));
    EXPECT_EQ(viewport(), (std::vector<GLint>{ 0, 0, 8, 8 }));

    b.release();
    EXPECT_EQ(boundFramebuffer(), static_cast<GLint>(a.getId()));
    EXPECT_EQ(viewport(), (std::vector<GLint>{ 0, 0, 32, 16 }));

    a.release();
    EXPECT_EQ(boundFramebuffer(), 0);
    // The screen view of a 64x64 window: letterboxed 16:9.
    EXPECT_EQ(viewport(), (std::vector<GLint>{ 0, 14, 64, 36 }));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_TRUE(FrameBufferObject::fboStack.empty());
    EXPECT_FALSE(MRVDemosys::system_error);
}

TEST_F(FrameBufferObjectTest, UnbalancedUseIsReportedNotRepaired)
{
    FrameBufferObject a(16, 16, false, false), b(16, 16, true, false);

    StdoutCapture underflow;
    a.release();
    EXPECT_EQ(underflow.take(), "FBO : *** STACK ERROR : Stack is already empty. Possible underflow ***\n");
    EXPECT_TRUE(MRVDemosys::system_error);

    a.bind();
    b.bind();
    StdoutCapture order;
    a.release();
    EXPECT_EQ(order.take(), "FBO : *** STACK ERROR : FrameBufferObject(16,16,COLOR_BUFFER,DEPTH_BUFFER) is not "
                            "FrameBufferObject(16,16,COLOR_BUFFER) ***\n");
    EXPECT_EQ(boundFramebuffer(), static_cast<GLint>(b.getId())) << "B stays bound";
    EXPECT_EQ(FrameBufferObject::fboStack.size(), 2u);
    b.release();
    a.release();
    EXPECT_EQ(boundFramebuffer(), 0);
}

TEST_F(FrameBufferObjectTest, SeventeenthNestedBindWarnsAndStillBinds)
{
    std::vector<std::unique_ptr<FrameBufferObject>> targets;
    for (int i = 0; i < 17; ++i)
        targets.emplace_back(new FrameBufferObject(4, 4, false, false));

    StdoutCapture sixteen;
    for (int i = 0; i < 16; ++i)
        targets[i]->bind();
    EXPECT_EQ(sixteen.take(), "");
    EXPECT_FALSE(MRVDemosys::system_error);

    StdoutCapture seventeen;
    targets[16]->bind();
    EXPECT_EQ(seventeen.take(), "FBO: Overflow? 17 in stack\n");
    EXPECT_TRUE(MRVDemosys::system_error);
    EXPECT_EQ(boundFramebuffer(), static_cast<GLint>(targets[16]->getId()));
    for (int i = 16; i >= 0; --i)
        targets[i]->release();
    EXPECT_EQ(boundFramebuffer(), 0);
}

TEST_F(FrameBufferObjectTest, OnlyFlaggedTargetsAreCleared)
{
    DataFBOPool pool;
    FrameBufferObject* a = new FrameBufferObject(8, 8, false, false);
    FrameBufferObject* b = new FrameBufferObject(8, 8, true, false);
    pool.addFBO("a", a);
    pool.addFBO("b", b);

    for (FrameBufferObject* t : { a, b })
    {
        t->bind();
        fill(1, 0, 0);
        t->release();
    }
    b->setClearFlag(true);
    glClearColor(0, 0, 0, 0);
    pool.clearFlaggedFBOs();

    EXPECT_FALSE(b->hasClearFlag());
    EXPECT_EQ(boundFramebuffer(), 0) << "the screen is bound again";
    a->bind();
    EXPECT_EQ(GLTestContext::readPixels(4, 4, 1, 1)[0], 255) << "A was not flagged";
    a->release();
    b->bind();
    EXPECT_EQ(GLTestContext::readPixels(4, 4, 1, 1)[0], 0) << "B was cleared";
    b->release();
    EXPECT_EQ(pool.toString(), "FBOPool {\n  a = FrameBufferObject(8,8,COLOR_BUFFER)\n"
                               "  b = FrameBufferObject(8,8,COLOR_BUFFER,DEPTH_BUFFER)\n}\n");
    EXPECT_EQ(pool.size(), 2);
}

TEST_F(FrameBufferObjectTest, DrawShowsTheTargetUpright)
{
    FrameBufferObject target(16, 16, false, false);
    target.bind();
    fill(0, 0, 1);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 8, 16, 8); // top half
    fill(1, 0, 0);
    glDisable(GL_SCISSOR_TEST);
    target.release();

    glViewport(0, 0, GLTestContext::WIDTH, GLTestContext::HEIGHT);
    fill(0, 0, 0);
    glMatrixMode(GL_TEXTURE); // draw() restores whatever mode was selected
    target.draw();
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_TEXTURE);
    glMatrixMode(GL_MODELVIEW);

    const auto top = GLTestContext::readPixels(32, 60, 1, 1);
    const auto bottom = GLTestContext::readPixels(32, 4, 1, 1);
    EXPECT_EQ(top[0], 255);
    EXPECT_EQ(bottom[2], 255);

    fill(0, 0, 0);
    target.draw(0.5f); // the middle half of the window only
    EXPECT_EQ(GLTestContext::readPixels(2, 2, 1, 1)[2], 0);
    EXPECT_EQ(GLTestContext::readPixels(32, 20, 1, 1)[2], 255);

    target.getColorBuffer()->bind();
    GLint wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GL_REPEAT) << "the next bind restores the record's wraps";
    target.getColorBuffer()->release();
    EXPECT_EQ(GLTestContext::takeGLError(), 0u);
}

TEST_F(FrameBufferObjectTest, IncompleteTargetStaysInertAndSaysSoOnce)
{
    StdoutCapture capture;
    FrameBufferObject empty(0, 0, false, false, "glow");
    EXPECT_EQ(capture.take(), "FBO Framebuffer incomplete attachment(36054) = false\n");
    EXPECT_FALSE(empty.isValid());
    EXPECT_STREQ(empty.getStatusName(), "GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT");
    EXPECT_EQ(empty.getErrorMessage(), "Framebuffer 'glow' is incomplete: GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT\n");
    GLTestContext::takeGLError();

    // What the track system and the frame's clearing do with a target, twice:
    // the screen keeps its picture and the stack stays empty.
    fill(0, 1, 0);
    StdoutCapture uses;
    for (int frame = 0; frame < 2; ++frame)
    {
        empty.bind();
        EXPECT_TRUE(FrameBufferObject::fboStack.empty());
        EXPECT_EQ(boundFramebuffer(), 0);
        glClearColor(1, 0, 0, 1);
        empty.clear();
        empty.draw();
        empty.release();
        EXPECT_TRUE(FrameBufferObject::fboStack.empty());
    }
    EXPECT_EQ(uses.take(), "FBO : ignoring every use of FrameBufferObject(0,0,COLOR_BUFFER): Framebuffer 'glow' is "
                           "incomplete: GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT\n");
    EXPECT_TRUE(MRVDemosys::system_error);
    const auto p = GLTestContext::readPixels(32, 32, 1, 1);
    EXPECT_EQ(p[0], 0) << "clear() on the failed target left the screen alone";
    EXPECT_EQ(p[1], 255);
    EXPECT_EQ(GLTestContext::takeGLError(), 0u);
}

TEST_F(FrameBufferObjectTest, DeletedTargetLeavesTheStack)
{
    FrameBufferObject* a = new FrameBufferObject(4, 4, false, false);
    a->bind();
    delete a;
    EXPECT_TRUE(FrameBufferObject::fboStack.empty()) << "no dangling pointer remains";
}
