#include "demosys/gl/GLExtensions.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/runtime/ScreenMetrics.h"
#include "demosys/gl/GLw.h"

#include "tests/support/GLTestContext.h"
#include "tests/support/RegistryGuard.h"
#include "tests/support/StdoutCapture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(GLErrPrint, ReportsEveryPendingErrorWithItsPlace)
{
    testsupport::RegistryGuard registry;
    GLTestContext::takeGLError();
    MRVDemosys::system_error = false;
    {
        StdoutCapture clean;
        EXPECT_TRUE(MRVDemosys::glErrPrint("clean"));
        EXPECT_EQ(clean.take(), "");
    }
    EXPECT_FALSE(MRVDemosys::system_error);

    // Mesa keeps one pending error until it is read, so one per call here.
    glEnable(0x1); // GL_INVALID_ENUM
    StdoutCapture capture;
    EXPECT_FALSE(MRVDemosys::glErrPrint("here"));
    EXPECT_EQ(capture.take(), "[GL_ERROR LOCATION = 'here']\n[GL_ERROR CODE 1280] 'invalid enumerant' in ->\n");
    EXPECT_TRUE(MRVDemosys::system_error);

    glPopMatrix(); // GL_STACK_UNDERFLOW
    StdoutCapture second;
    EXPECT_FALSE(MRVDemosys::glErrPrint("there"));
    EXPECT_EQ(second.take(), "[GL_ERROR LOCATION = 'there']\n[GL_ERROR CODE 1284] 'stack underflow' in ->\n");
    StdoutCapture drained;
    EXPECT_TRUE(MRVDemosys::glErrPrint("after")) << "the queue was drained";
    EXPECT_EQ(drained.take(), "");
}

TEST(GLExtensions, ListsLimitsAndChecks)
{
    StdoutCapture construction;
    GLExtensions ext;
    EXPECT_EQ(construction.take(), "") << "reading the limits raises no GL error";
    EXPECT_TRUE(ext.isSupported("GL_EXT_framebuffer_object"));
    EXPECT_FALSE(ext.isSupported(""));
    EXPECT_GE(GLExtensions::MAX_TEXTURE_SIZE, 1024);
    EXPECT_GE(GLExtensions::MAX_COMBINED_TEXTURE_IMAGE_UNITS, 4);

    EXPECT_TRUE(ext.isSupported()) << "an empty checklist";
    EXPECT_EQ(ext.getErrorMessage(), "Error: Your OpenGL implementation is missing the following extensions :\n");

    ext.addToChecklist("GL_ARB_shader_objects");
    ext.addToChecklist("GL_MRV_imaginary");
    ext.addToChecklist("GL_MRV_other");
    EXPECT_FALSE(ext.isSupported());
    EXPECT_EQ(ext.getErrorMessage(), "Error: Your OpenGL implementation is missing the following extensions :\n"
                                     " - GL_MRV_imaginary\n - GL_MRV_other\n");

    StdoutCapture limits;
    const std::string names = ext.toString();
    const std::string printed = limits.take();
    EXPECT_EQ(printed.rfind("--- Implementation Independent API Values ---\n"
                            "GL_MAX_VERTEX_ATTRIBS ................... ",
                            0),
              0u);
    EXPECT_NE(printed.find("GL_MAX_TEXTURE_SIZE ..................... " +
                           std::to_string(GLExtensions::MAX_TEXTURE_SIZE) + "\n"
                           "---------------------------------------------\n"),
              std::string::npos);
    ASSERT_GE(names.size(), 2u);
    EXPECT_EQ(names.substr(names.size() - 2), " \n");
    EXPECT_EQ(names.find("  "), std::string::npos) << "no empty names";
    // Ascending order.
    const std::string first = names.substr(0, names.find(' '));
    for (const std::string& name : ext.getExtensions())
        EXPECT_LE(first, name);
}

TEST(ScreenMetrics, LetterboxedSixteenByNineViewport)
{
    struct Case
    {
        int w, h, x, y, vw, vh;
    };
    // Taller windows are letterboxed over the full width, wider ones
    // pillarboxed over the full height.
    for (const Case c : { Case{ 1024, 768, 0, 96, 1024, 576 }, Case{ 1280, 720, 0, 0, 1280, 720 },
                          Case{ 640, 480, 0, 60, 640, 360 }, Case{ 1000, 400, 144, 0, 711, 400 },
                          Case{ 1920, 1200, 0, 60, 1920, 1080 }, Case{ 2560, 1080, 320, 0, 1920, 1080 } })
    {
        ScreenMetrics m;
        m.setResolution(c.w, c.h);
        m.initView();
        EXPECT_EQ(m.getViewportX(), c.x) << c.w << "x" << c.h;
        EXPECT_EQ(m.getViewportY(), c.y) << c.w << "x" << c.h;
        EXPECT_EQ(m.getViewportWidth(), c.vw);
        EXPECT_EQ(m.getViewportHeight(), c.vh);
    }

    ScreenMetrics m;
    EXPECT_TRUE(m.isFullscreen());
    EXPECT_TRUE(m.getVSync());
    EXPECT_EQ(m.getFSAASamples(), 0);
    EXPECT_EQ(m.getNear(), 1.0f);
    EXPECT_EQ(m.getFar(), 800.0f);
    m.resize(1280, 720);
    EXPECT_EQ(m.getWidth(), 1280);
    EXPECT_EQ(m.getViewportHeight(), 720);
    EXPECT_EQ(m.getFrustumHalfHeight(), 0.5625f);
}

TEST(ScreenMetrics, SetViewLoadsViewportAndFrustum)
{
    ScreenMetrics m;
    m.setResolution(640, 480);
    m.initView();
    glMatrixMode(GL_TEXTURE);
    m.setView();
    GLint mode = 0, vp[4];
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(vp[1], 60);
    EXPECT_EQ(vp[2], 640);
    EXPECT_EQ(vp[3], 360);
    float p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    // glFrustum(-1, 1, -0.5625, 0.5625, 1, 800): 2n/(r-l) = 1, 2n/(t-b) = 1/0.5625.
    EXPECT_FLOAT_EQ(p[0], 1.0f);
    EXPECT_FLOAT_EQ(p[5], 1.0f / 0.5625f);
    EXPECT_FLOAT_EQ(p[10], -801.0f / 799.0f);
    EXPECT_FLOAT_EQ(p[11], -1.0f);
    glViewport(0, 0, GLTestContext::WIDTH, GLTestContext::HEIGHT);
}

TEST(GLw, ResetsSavesAndRestoresMatrices)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glScalef(2, 2, 2);

    GLw::resetAndStoreProjectionModelview();
    float m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_EQ(m[12], 0.0f);
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_EQ(m[0], 1.0f);

    GLw::restoreProjectionModelview();
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_EQ(m[12], 1.0f) << "projection restored";
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_EQ(m[0], 2.0f) << "model-view restored";

    GLw::resetProjectionModelview();
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_EQ(m[12], 0.0f);
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_EQ(m[0], 1.0f);

    GLw::resetProjection();
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_PROJECTION);
    GLw::resetModelview();
    EXPECT_EQ(GLTestContext::takeGLError(), 0u);
}

TEST(GLw, TransparentAlphaLaysAFragmentOverThePictureByItsAlpha)
{
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glViewport(0, 0, GLTestContext::WIDTH, GLTestContext::HEIGHT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    GLw::resetProjectionModelview();
    GLw::blendTransparentAlpha();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    // A quarter-opaque red square over blue.
    glColor4f(1, 0, 0, 0.25f);
    glRectf(-1, -1, 1, 1);
    glColor4f(1, 1, 1, 1);
    glDisable(GL_BLEND);
    const auto p = GLTestContext::readPixels(32, 32, 1, 1);
    EXPECT_NEAR(p[0], 64, 1);
    EXPECT_EQ(p[1], 0);
    EXPECT_NEAR(p[2], 191, 1);
    EXPECT_EQ(GLTestContext::takeGLError(), 0u);
}
