#include "demosys/gl/Texture.h"

#include "demosys/gl/GLw.h"
#include "demosys/gl/ScreenQuad.h"
#include "mrvutils/MRVUtils.h"

#include <GL/glew.h>


namespace {

// Pixel blocks handed to the constructors are tightly packed rows; the GL's
// default row alignment of 4 would read padding past the end of RGB rows.
// Returns the previous alignment for the caller to restore.
GLint tightUnpack()
{
    GLint previous = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previous);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    return previous;
}

} // namespace

Texture::Texture(const std::string& filename_, unsigned int id_)
    : id(id_), filename(filename_)
{
    setDefaults();
}

Texture::Texture(int w, int h, unsigned int type_, int internalFormat, unsigned int format,
                 const unsigned char* pixels)
    : width(w), height(h)
{
    setDefaults();
    type = type_;
    glGenTextures(1, &id);
    glBindTexture(type, id);
    glTexParameteri(type, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(type, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    const GLint alignment = tightUnpack();
    if (type == GL_TEXTURE_1D)
        glTexImage1D(GL_TEXTURE_1D, 0, internalFormat, w, 0, format, GL_UNSIGNED_BYTE, pixels);
    else
        glTexImage2D(type, 0, internalFormat, w, h, 0, format, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    checkStorage(type, w, type == GL_TEXTURE_1D ? 1 : h);
    appliedMinFilter = appliedMagFilter = GL_LINEAR;
    glBindTexture(type, 0);
}

void Texture::checkStorage(unsigned int target, int w, int h)
{
    GLint gotWidth = 0, gotHeight = 0;
    glGetTexLevelParameteriv(target, 0, GL_TEXTURE_WIDTH, &gotWidth);
    glGetTexLevelParameteriv(target, 0, GL_TEXTURE_HEIGHT, &gotHeight);
    if (w >= 1 && h >= 1 && gotWidth == w && gotHeight == h)
    {
        valid = true;
        errorMessage.clear();
        failureNotice.forget();
        return;
    }
    valid = false;
    errorMessage = "Texture storage of " + MRVUtils::int2string(w) + "x" + MRVUtils::int2string(h) +
                   " pixels could not be allocated\n";
}

bool Texture::usable()
{
    if (!valid && !failureNotice.given())
        failureNotice.give("Texture : ignoring every use of texture " + MRVUtils::uint2string(id) + ": " + errorMessage);
    return valid;
}

Texture::Texture(int w, int h, int internalFormat, unsigned int format)
    : Texture(w, h, GL_TEXTURE_2D, internalFormat, format, nullptr)
{
}

Texture::~Texture()
{
    if (id != 0)
        glDeleteTextures(1, &id);
}

void Texture::setDefaults()
{
    type = GL_TEXTURE_2D;
    interpolation = GL_LINEAR;
    mipmapped = false;
    bpp = 32;
    fileSize = 0;
    wrapS = wrapT = GL_REPEAT;
    textureEnv = GL_MODULATE;
}

void Texture::updateTexture(int w, int h, int internalFormat, unsigned int format, const unsigned char* pixels)
{
    width = w;
    height = h;
    fileSize = 0;
    type = GL_TEXTURE_2D;
    interpolation = GL_LINEAR;
    mipmapped = false;
    bpp = 32;
    if (id == 0)
        glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    const GLint alignment = tightUnpack();
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, w, h, 0, format, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    checkStorage(GL_TEXTURE_2D, w, h);
    appliedMinFilter = appliedMagFilter = GL_LINEAR;
    glBindTexture(GL_TEXTURE_2D, 0);
}

void Texture::applyParameter(unsigned int target, unsigned int name, int value, int& applied)
{
    if (applied == value)
        return;
    glTexParameteri(target, name, value);
    applied = value;
}

void Texture::bind()
{
    if (!usable())
        return;
    glEnable(type);
    glBindTexture(type, id);
    if (type == GL_TEXTURE_2D)
    {
        applyParameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapS, appliedWrapS);
        applyParameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapT, appliedWrapT);
    }
    else
    {
        // The wraps go to the 2D target whatever the type: only 2D textures
        // use them, and a 1D texture bound here must not raise an error. They
        // land on some other texture, so nothing is known to skip them.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapS);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapT);
    }
    const int minFilter = mipmapped ? GL_LINEAR_MIPMAP_LINEAR : interpolation;
    const int magFilter = mipmapped ? GL_LINEAR : interpolation;
    applyParameter(type, GL_TEXTURE_MIN_FILTER, minFilter, appliedMinFilter);
    applyParameter(type, GL_TEXTURE_MAG_FILTER, magFilter, appliedMagFilter);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, textureEnv);
}

void Texture::applyWrapUntilNextBind(int s, int t)
{
    if (!valid)
        return;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, s);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, t);
    if (type == GL_TEXTURE_2D)
    {
        appliedWrapS = s;
        appliedWrapT = t;
    }
}

void Texture::release()
{
    if (!usable())
        return;
    glBindTexture(type, 0);
    glDisable(type);
}

int Texture::getMemorySize() const
{
    return height * width * bpp / 8;
}

std::string Texture::toString() const
{
    std::string text = "Texture {file='" + filename + "',id=" + MRVUtils::uint2string(id) + "',size='" +
                       MRVUtils::int2string(width) + "," + MRVUtils::int2string(height) + "',bpp='" +
                       MRVUtils::int2string(bpp) + "'";
    if (mipmapped)
        text += " mipmapped ";
    text += "dimtype=";
    if (type == GL_TEXTURE_1D)
        text += "GL_TEXTURE_1D ";
    else if (type == GL_TEXTURE_2D)
        text += "GL_TEXTURE_2D ";
    else if (type == GL_TEXTURE_3D)
        text += "GL_TEXTURE_3D ";
    return text + "}\n";
}

void Texture::drawQuadFS()
{
    if (!usable())
        return;
    GLw::resetAndStoreProjectionModelview();
    bind();
    ScreenQuad::drawClockwise();
    release();
    GLw::restoreProjectionModelview();
}

void Texture::drawQuadFS_Flip()
{
    if (!usable())
        return;
    GLw::resetAndStoreProjectionModelview();
    bind();
    ScreenQuad::drawFlipped();
    release();
    GLw::restoreProjectionModelview();
}

void Texture::drawQuadBlendFS(unsigned int src, unsigned int dst)
{
    if (!usable())
        return;
    GLw::resetAndStoreProjectionModelview();
    glEnable(GL_BLEND);
    glBlendFunc(src, dst);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    bind();
    glDisable(GL_DEPTH_TEST);
    ScreenQuad::drawFlipped();
    release();
    GLw::restoreProjectionModelview();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
}

void Texture::drawQuadScaled(const Vector<float, 2>& size, const Vector<float, 2>& position)
{
    if (!usable())
        return;
    const float x = position[0], y = position[1], w = size[0], h = size[1];
    bind();
    glBegin(GL_QUADS);
    glTexCoord2d(0, 1); glVertex2f(x, y);
    glTexCoord2d(0, 0); glVertex2f(x, y - h);
    glTexCoord2d(1, 0); glVertex2f(x + w, y - h);
    glTexCoord2d(1, 1); glVertex2f(x + w, y);
    glEnd();
    release();
}

void Texture::drawQuadScaled(const Vector<float, 2>& size)
{
    if (!usable())
        return;
    const float w = size[0] * 0.5f, h = size[1] * 0.5f;
    bind();
    glBegin(GL_QUADS);
    glTexCoord2d(0, 1); glVertex2f(-w, h);
    glTexCoord2d(0, 0); glVertex2f(-w, -h);
    glTexCoord2d(1, 0); glVertex2f(w, -h);
    glTexCoord2d(1, 1); glVertex2f(w, h);
    glEnd();
    release();
}
