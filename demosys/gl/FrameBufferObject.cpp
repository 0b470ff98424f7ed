#include "demosys/gl/FrameBufferObject.h"

#include "demosys/gl/GLw.h"
#include "demosys/gl/ScreenQuad.h"
#include "demosys/gl/Texture.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/runtime/ScreenMetrics.h"

#include <GL/glew.h>

#include <iostream>

std::deque<FrameBufferObject*> FrameBufferObject::fboStack;

namespace {

// Deeper nesting than any production needs: a missing release is the likely
// cause, so it is reported.
constexpr size_t STACK_WARNING_DEPTH = 16;

struct StatusTexts
{
    const char* logText;
    const char* glName;
};

StatusTexts statusTexts(GLenum code)
{
    switch (code)
    {
    case GL_FRAMEBUFFER_COMPLETE_EXT: return { "Framebuffer is complete.", "GL_FRAMEBUFFER_COMPLETE" };
    case GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT_EXT:
        return { "Framebuffer incomplete attachment", "GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT" };
    case GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT_EXT:
        return { "Framebuffer missing attachment", "GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT" };
    case GL_FRAMEBUFFER_INCOMPLETE_DIMENSIONS_EXT:
        return { "Framebuffer unsupported dimension.", "GL_FRAMEBUFFER_INCOMPLETE_DIMENSIONS" };
    case GL_FRAMEBUFFER_INCOMPLETE_FORMATS_EXT:
        return { "Framebuffer incoplete formats.", "GL_FRAMEBUFFER_INCOMPLETE_FORMATS" };
    case GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER_EXT:
        return { "Framebuffer incomplete draw buffer.", "GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER" };
    case GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER_EXT:
        return { "Framebuffer incomplete read buffer", "GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER" };
    case GL_FRAMEBUFFER_UNSUPPORTED_EXT:
        return { "Framebuffer unsupported. Try another format.", "GL_FRAMEBUFFER_UNSUPPORTED" };
    default: return { "Unknown framebuffer errror.", "GL_FRAMEBUFFER_UNDEFINED" };
    }
}

} // namespace

FrameBufferObject::FrameBufferObject(int width_, int height_, bool depth_, bool stencil_, const std::string& name_)
    : name(name_), depth(depth_), stencil(stencil_), width(width_), height(height_)
{
    glGenFramebuffersEXT(1, &id);
    colorBuffer = new Texture(width, height, GL_RGBA, GL_RGBA);
    colorBuffer->setType(GL_TEXTURE_2D);
    if (depth)
        glGenRenderbuffersEXT(1, &depthBuffer);

    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, id);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, colorBuffer->getID(), 0);
    if (depth)
    {
        glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depthBuffer);
        glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, width, height);
        glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, depthBuffer);
    }
    fboStatus();
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
}

FrameBufferObject::~FrameBufferObject()
{
    // A target deleted while still on the stack must not leave a dangling
    // pointer there.
    for (auto it = fboStack.begin(); it != fboStack.end();)
        it = *it == this ? fboStack.erase(it) : it + 1;
    delete colorBuffer;
    if (depth && depthBuffer)
        glDeleteRenderbuffersEXT(1, &depthBuffer);
    if (id)
        glDeleteFramebuffersEXT(1, &id);
}

bool FrameBufferObject::fboStatus()
{
    const GLenum code = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    const StatusTexts texts = statusTexts(code);
    status = texts.logText;
    statusName = texts.glName;
    if (code == GL_FRAMEBUFFER_COMPLETE_EXT)
    {
        valid = true;
        errorMessage.clear();
        return true;
    }
    std::cout << "FBO " << status << "(" << code << ")" << " = " << "false" << std::endl;
    valid = false;
    errorMessage = "Framebuffer '" + name + "' is incomplete: " + statusName + "\n";
    return false;
}

bool FrameBufferObject::usable()
{
    if (!valid && !failureNotice.given())
        failureNotice.give("FBO : ignoring every use of " + toString() + ": " + errorMessage);
    return valid;
}

void FrameBufferObject::bind()
{
    if (!usable())
        return;
    fboStack.push_back(this);
    if (fboStack.size() > STACK_WARNING_DEPTH)
    {
        MRVDemosys::system_error = true;
        std::cout << "FBO: Overflow? " << fboStack.size() << " in stack" << std::endl;
    }
    glViewport(0, 0, width, height);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, id);
}

void FrameBufferObject::release()
{
    // Never pushed, so there is nothing to pop.
    if (!usable())
        return;
    if (fboStack.empty())
    {
        MRVDemosys::system_error = true;
        std::cout << "FBO : *** STACK ERROR : Stack is already empty. Possible underflow ***" << std::endl;
        return;
    }
    if (fboStack.back() != this)
    {
        std::cout << "FBO : *** STACK ERROR : " << fboStack.back()->toString() << " is not " << toString() << " ***"
                  << std::endl;
        return;
    }
    fboStack.pop_back();
    if (!fboStack.empty())
    {
        FrameBufferObject* below = fboStack.back();
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, below->id);
        glViewport(0, 0, below->width, below->height);
    }
    else
    {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        if (MRVDemosys::screenMetrics)
            MRVDemosys::screenMetrics->setView();
    }
}

void FrameBufferObject::clear()
{
    clearFlag = false;
    // Whatever is bound is some other target or the screen.
    if (!usable())
        return;
    if (depth)
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    else
        clearColorBuffer();
}

void FrameBufferObject::clearColorBuffer()
{
    glClear(GL_COLOR_BUFFER_BIT);
}

void FrameBufferObject::clearRenderBuffer()
{
    glClear(GL_DEPTH_BUFFER_BIT);
}

void FrameBufferObject::bindColorBuffer()
{
    if (usable())
        colorBuffer->bind();
}

void FrameBufferObject::draw(float scale)
{
    if (!usable())
        return;
    GLint mode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    GLw::resetAndStoreProjectionModelview();
    colorBuffer->bind();
    // The clamp stays on the texture until its next bind() applies the
    // record's own wraps.
    colorBuffer->applyWrapUntilNextBind(GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    ScreenQuad::draw(scale);
    colorBuffer->release();
    GLw::restoreProjectionModelview();
    glMatrixMode(static_cast<GLenum>(mode));
}

std::string FrameBufferObject::toString() const
{
    std::string text = "FrameBufferObject(" + std::to_string(width) + "," + std::to_string(height) + ",COLOR_BUFFER";
    if (depth)
        text += ",DEPTH_BUFFER";
    if (stencil)
        text += ",STENCIL_BUFFER";
    return text + ")";
}
