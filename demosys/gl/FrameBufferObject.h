#pragma once

#include "demosys/gl/FailureNotice.h"

#include <deque>
#include <string>

class Texture;

// An off-screen render target: a framebuffer object with an RGBA colour
// texture and an optional 24-bit depth buffer.
//
// Targets nest (an effect binds its own buffer while the track system has
// bound the effect's target), so all binding goes through one stack: bind()
// pushes, release() pops and re-binds the target beneath or, at the bottom,
// the screen. Unbalanced use is reported and never repaired.
//
// A target that is not complete after creation is invalid: getErrorMessage()
// then reads "Framebuffer 'NAME' is incomplete: STATUS\n", NAME being the
// name given at construction (the pool name) and STATUS the GL status name
// that getStatusName() returns. bind, release, clear and draw on it do
// nothing, and the first of them says so in one line, so that the stack stays
// balanced and the show is not flooded with a line every frame.
class FrameBufferObject
{
public:
    FrameBufferObject(int width, int height, bool depth, bool stencil, const std::string& name = std::string());
    ~FrameBufferObject();

    FrameBufferObject(const FrameBufferObject&) = delete;
    FrameBufferObject& operator=(const FrameBufferObject&) = delete;

    void bind();
    void release();
    // Clears whatever target is bound; resets the flag.
    void clear();
    void clearColorBuffer();
    void clearRenderBuffer();

    FrameBufferObject* setClearFlag(bool on)
    {
        clearFlag = on;
        return this;
    }
    bool hasClearFlag() const { return clearFlag; }

    Texture* getColorBuffer() { return colorBuffer; }
    void bindColorBuffer();
    // The colour texture as a quad centred on the origin, identity matrices.
    void draw(float scale);
    void draw() { draw(1.0f); }

    unsigned int getId() const { return id; }
    int getWidth() const { return width; }
    int getHeight() const { return height; }
    bool isValid() const { return valid; }
    const std::string& getErrorMessage() const { return errorMessage; }
    bool hasDepth() const { return depth; }
    unsigned int getDepthBuffer() const { return depthBuffer; }
    // The text of the creation log line, e.g. "Framebuffer incomplete attachment".
    const std::string& getStatus() const { return status; }
    // The GL name of the same status, e.g. "GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT".
    const char* getStatusName() const { return statusName; }

    bool fboStatus();
    std::string toString() const;

    // The bind stack shared by all targets; its back is the bound target.
    static std::deque<FrameBufferObject*> fboStack;

private:
    // False (after one line saying so) when the target failed.
    bool usable();

    std::string name;
    Texture* colorBuffer = nullptr;
    unsigned int depthBuffer = 0;
    unsigned int id = 0;
    bool depth;
    bool stencil;
    bool clearFlag = false;
    int width;
    int height;
    std::string status;
    const char* statusName = "";
    bool valid = false;
    std::string errorMessage;
    FailureNotice failureNotice;
};
