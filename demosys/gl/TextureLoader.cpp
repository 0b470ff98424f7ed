#include "demosys/gl/TextureLoader.h"

#include "demosys/gl/Texture.h"
#include "mrvutils/Image.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <algorithm>
#include <iostream>

namespace {

std::string errorName(GLenum error)
{
    switch (error)
    {
    case GL_INVALID_ENUM: return "GL_INVALID_ENUM";
    case GL_INVALID_VALUE: return "GL_INVALID_VALUE";
    case GL_INVALID_OPERATION: return "GL_INVALID_OPERATION";
    case GL_OUT_OF_MEMORY: return "GL_OUT_OF_MEMORY";
    case GL_NO_ERROR: return "no GL error raised";
    default: return "GL error " + std::to_string(error);
    }
}

// Uploads level 0 (and with mipmaps the whole chain) into the bound texture;
// false when the texture is left without storage.
bool upload(const Image& image, GLenum target, bool mipmap)
{
    const int bpp = image.getBpp();
    if (bpp != 32 && bpp != 24)
        return true;
    const GLenum format = bpp == 32 ? GL_RGBA : GL_RGB;
    if (target == GL_TEXTURE_1D)
    {
        // A one-row or one-column picture: its pixels lie in one run either
        // way, so the longer side is the length.
        const int length = std::max(image.getWidth(), image.getHeight());
        glTexImage1D(GL_TEXTURE_1D, 0, format, length, 0, format, GL_UNSIGNED_BYTE, image.getData());
    }
    else if (mipmap)
    {
        // GLU scales a picture beyond the largest size down to fit.
        if (gluBuild2DMipmaps(GL_TEXTURE_2D, bpp == 32 ? 4 : 3, image.getWidth(), image.getHeight(), format,
                              GL_UNSIGNED_BYTE, image.getData()) != 0)
            return false;
    }
    else
        glTexImage2D(GL_TEXTURE_2D, 0, format, image.getWidth(), image.getHeight(), 0, format,
                     GL_UNSIGNED_BYTE, image.getData());
    // A refused upload leaves the new texture's level 0 empty. Asking the
    // level rather than the error queue keeps an error that someone else
    // left pending from failing this picture.
    GLint width = 0;
    glGetTexLevelParameteriv(target, 0, GL_TEXTURE_WIDTH, &width);
    return width > 0;
}

void setFilters(GLenum target, bool mipmap)
{
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, mipmap ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

// Prints every pending GL error against the file; returns the first.
GLenum drainErrors(const std::string& file)
{
    GLenum first = GL_NO_ERROR;
    int guard = 0;
    for (GLenum e = glGetError(); e != GL_NO_ERROR && guard < 64; e = glGetError(), ++guard)
    {
        if (first == GL_NO_ERROR)
            first = e;
        const GLubyte* text = gluErrorString(e);
        std::cout << "[GL_ERROR] '" << (text ? reinterpret_cast<const char*>(text) : "") << "' in ->" << file
                  << std::endl;
    }
    return first;
}

} // namespace

std::unique_ptr<Texture> TextureLoader::load(const std::string& file, unsigned int target, bool mipmap,
                                             std::string& error)
{
    Image image(file);
    if (!image.exists())
        return nullptr;

    GLuint id = 0;
    glGenTextures(1, &id);
    std::unique_ptr<Texture> texture(new Texture(file, id));
    const bool uploads = target == GL_TEXTURE_1D || target == GL_TEXTURE_2D;
    bool stored = true;
    if (uploads)
    {
        // Decoded rows are tightly packed. With the GL's default alignment of
        // 4 an RGB picture whose row is not a multiple of 4 bytes would be read
        // with padding that is not there: a skewed picture and a read past
        // the block.
        GLint alignment = 4;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glBindTexture(target, id);
        // A 1D texture has no mipmap chain.
        setFilters(target, target == GL_TEXTURE_2D && mipmap);
        stored = upload(image, target, mipmap);
        glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    }
    const GLenum firstError = drainErrors(file);
    if (!stored)
    {
        error = "Texture '" + file + "' could not be given storage: " + errorName(firstError) + "\n";
        return nullptr;
    }

    texture->setSize(image.getWidth(), image.getHeight());
    texture->setBPP(image.getBpp());
    texture->setFileSize(0);
    texture->setType(target);
    texture->isMipmapped(mipmap);
    return texture;
}
