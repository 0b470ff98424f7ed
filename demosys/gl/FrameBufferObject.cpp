#include "demosys/gl/FrameBufferObject.h"

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

const char* statusText(GLenum code)
{
    switch (code)
    {
    case GL_FRAMEBUFFER_COMPLETE_EXT: return "Framebuffer is complete.";
    case GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT_EXT: return "Framebuffer incomplete attachment";
    case GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT_EXT: return "Framebuffer missing attachment";
    case GL_FRAMEBUFFER_INCOMPLETE_DIMENSIONS_EXT: return "Framebuffer unsupported dimension.";
    case GL_FRAMEBUFFER_INCOMPLETE_FORMATS_EXT: return "Framebuffer incoplete formats.";
    case GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER_EXT: return "Framebuffer incomplete draw buffer.";
    case GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER_EXT: return "Framebuffer incomplete read buffer";
    case GL_FRAMEBUFFER_UNSUPPORTED_EXT: return "Framebuffer unsupported. Try another format.";
    default: return "Unknown framebuffer errror.";
    }
}

} // namespace

FrameBufferObject::FrameBufferObject(int width_, int height_, bool depth_, bool stencil_)
    : depth(depth_), stencil(stencil_), width(width_), height(height_)
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
    status = statusText(code);
    if (code == GL_FRAMEBUFFER_COMPLETE_EXT)
    {
        valid = true;
        return true;
    }
    std::cout << "FBO " << status << "(" << code << ")" << " = " << "false" << std::endl;
    valid = false;
    return false;
}

void FrameBufferObject::bind()
{
    if (!valid)
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
    if (valid)
        colorBuffer->bind();
}

void FrameBufferObject::draw(float scale)
{
    if (!valid)
        return;
    GLint mode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    colorBuffer->bind();
    // The clamp stays on the texture until its next bind() applies the
    // record's own wraps.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f); glVertex2f(-scale, -scale);
    glTexCoord2f(1.0f, 0.0f); glVertex2f(scale, -scale);
    glTexCoord2f(1.0f, 1.0f); glVertex2f(scale, scale);
    glTexCoord2f(0.0f, 1.0f); glVertex2f(-scale, scale);
    glEnd();
    colorBuffer->release();

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
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
