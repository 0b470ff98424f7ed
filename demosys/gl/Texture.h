#pragma once

#include "demosys/gl/FailureNotice.h"
#include "demosys/math/Vector.h"

#include <string>

// One OpenGL texture and the state applied whenever it is bound. The record
// owns its GL name: destroying it deletes the texture.
//
// Filters, wraps and the environment mode are applied at every bind(), so a
// change on the record takes effect at the next bind. The filters and wraps
// belong to the GL texture object, so bind() only sends those that differ
// from what the object last got; the environment mode belongs to the texture
// unit and is sent every time.
//
// A texture that could not be given storage is invalid (isValid(),
// getErrorMessage()); binding, releasing and drawing it do nothing, and the
// first of them says so in one line.
class Texture
{
public:
    // Wraps an existing GL name (as the loader does for decoded pictures).
    Texture(const std::string& filename, unsigned int id);
    // A new texture from raw unsigned bytes (generated textures); 1D when
    // type is GL_TEXTURE_1D (width only), else 2D.
    Texture(int width, int height, unsigned int type, int internalFormat, unsigned int format,
            const unsigned char* pixels);
    // 2D storage only, for framebuffer colour buffers.
    Texture(int width, int height, int internalFormat, unsigned int format);
    ~Texture();

    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    void updateTexture(int width, int height, int internalFormat, unsigned int format, const unsigned char* pixels);

    void bind();
    void release();

    bool isValid() const { return valid; }
    const std::string& getErrorMessage() const { return errorMessage; }

    // Wraps for this object until the next bind() applies the record's own;
    // the record is left as it is.
    void applyWrapUntilNextBind(int s, int t);

    unsigned int getID() const { return id; }
    Texture* setType(unsigned int t) { type = t; return this; }
    unsigned int getType() const { return type; }
    Texture* isMipmapped(bool on) { mipmapped = on; return this; }
    bool isMipmapped() const { return mipmapped; }
    Texture* setSize(int w, int h) { width = w; height = h; return this; }
    int getWidth() const { return width; }
    int getHeight() const { return height; }
    Texture* setBPP(int b) { bpp = b; return this; }
    int getBPP() const { return bpp; }
    Texture* setFileSize(int s) { fileSize = s; return this; }
    int getFileSize() const { return fileSize; }
    Texture* setInterpolation(int filter) { interpolation = filter; return this; }
    int getInterpolation() const { return interpolation; }
    Texture* setTextureWrap(int mode) { wrapS = wrapT = mode; return this; }
    Texture* setTextureWrap(int s, int t) { wrapS = s; wrapT = t; return this; }
    int getWrapS() const { return wrapS; }
    int getWrapT() const { return wrapT; }
    Texture* setTextureEnv(int mode) { textureEnv = mode; return this; }
    int getTextureEnv() const { return textureEnv; }
    Texture* setFilename(const std::string& name) { filename = name; return this; }
    const std::string& getFilename() const { return filename; }

    // Bytes of level 0 (mipmap levels are not counted).
    int getMemorySize() const;
    std::string toString() const;

    // Full-screen quads with identity matrices; Flip shows the picture
    // upside down, Blend draws it flipped with the given blend factors,
    // leaving out texels of alpha 0, and switches blending and the alpha
    // test off again (the depth test on).
    void drawQuadFS();
    void drawQuadFS_Flip();
    void drawQuadBlendFS(unsigned int src, unsigned int dst);
    // In the current matrices: position is the top-left corner.
    void drawQuadScaled(const Vector<float, 2>& size, const Vector<float, 2>& position);
    // In the current matrices, centred on the origin.
    void drawQuadScaled(const Vector<float, 2>& size);

private:
    void setDefaults();
    // Checks that level 0 got the size asked for; otherwise the texture fails.
    void checkStorage(unsigned int target, int w, int h);
    // False (after one line saying so) when the texture failed.
    bool usable();
    void applyParameter(unsigned int target, unsigned int name, int value, int& applied);

    unsigned int id = 0;
    std::string filename;
    int width = 0;
    int height = 0;
    int bpp = 32;
    int fileSize = 0;
    unsigned int type;
    int interpolation;
    bool mipmapped = false;
    int wrapS;
    int wrapT;
    int textureEnv;

    // What the GL object last got; -1 is unknown, so the next bind sends it.
    int appliedWrapS = -1;
    int appliedWrapT = -1;
    int appliedMinFilter = -1;
    int appliedMagFilter = -1;

    bool valid = true;
    std::string errorMessage;
    FailureNotice failureNotice;
};
