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

// Writes a picture of the texture's own size over its level 0 (and its
// mipmaps), keeping the storage it has.
void overwrite(const Image& image, GLenum target, bool mipmap, int length)
{
    const GLenum format = image.getBpp() == 32 ? GL_RGBA : GL_RGB;
    if (target == GL_TEXTURE_1D)
        glTexSubImage1D(GL_TEXTURE_1D, 0, 0, length, format, GL_UNSIGNED_BYTE, image.getData());
    else if (mipmap)
        gluBuild2DMipmaps(GL_TEXTURE_2D, image.getBpp() == 32 ? 4 : 3, image.getWidth(), image.getHeight(), format,
                          GL_UNSIGNED_BYTE, image.getData());
    else
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, image.getWidth(), image.getHeight(), format, GL_UNSIGNED_BYTE,
                        image.getData());
}

GLenum bindingOf(GLenum target)
{
    return target == GL_TEXTURE_1D ? GL_TEXTURE_BINDING_1D : GL_TEXTURE_BINDING_2D;
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

bool TextureLoader::replace(Texture& texture, const Image& image, std::string& error)
{
    const GLenum target = texture.getType();
    const int bpp = image.getBpp();
    if ((target != GL_TEXTURE_1D && target != GL_TEXTURE_2D) || (bpp != 24 && bpp != 32))
    {
        error = "only 24- and 32-bit pictures go into 1D and 2D textures";
        return false;
    }
    GLint bound = 0, alignment = 4;
    glGetIntegerv(bindingOf(target), &bound);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBindTexture(target, texture.getID());
    // The storage's own kind decides whether alpha is kept, whatever the
    // texture last recorded.
    GLint internal = 0;
    glGetTexLevelParameteriv(target, 0, GL_TEXTURE_INTERNAL_FORMAT, &internal);
    const bool hasAlpha = internal == GL_RGBA || internal == GL_RGBA8 || internal == 4;
    bool stored = true;
    if (hasAlpha == (bpp == 32))
        overwrite(image, target, texture.isMipmapped(), std::max(image.getWidth(), image.getHeight()));
    else
        stored = upload(image, target, texture.isMipmapped());
    glBindTexture(target, static_cast<GLuint>(bound));
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    if (!stored)
    {
        error = "the GL could not give it storage of the new kind";
        return false;
    }
    texture.setBPP(bpp);
    return true;
}
