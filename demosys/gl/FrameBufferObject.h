#pragma once

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
class FrameBufferObject
{
public:
    FrameBufferObject(int width, int height, bool depth, bool stencil);
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
    bool hasDepth() const { return depth; }
    unsigned int getDepthBuffer() const { return depthBuffer; }
    const std::string& getStatus() const { return status; }

    bool fboStatus();
    std::string toString() const;

    // The bind stack shared by all targets; its back is the bound target.
    static std::deque<FrameBufferObject*> fboStack;

private:
    Texture* colorBuffer = nullptr;
    unsigned int depthBuffer = 0;
    unsigned int id = 0;
    bool depth;
    bool stencil;
    bool clearFlag = false;
    int width;
    int height;
    std::string status;
    bool valid = false;
};
