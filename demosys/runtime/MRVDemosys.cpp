#include "demosys/runtime/MRVDemosys.h"

#include "demosys/data/Binary.h"
#include "demosys/data/Texture.h"
#include "mrvutils/File.h"
#include "mrvutils/Image.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <SDL.h>

#include <algorithm>
#include <iostream>

TrackSystem* MRVDemosys::tracks = nullptr;
FMODTimer* MRVDemosys::timer = nullptr;
DataObjectPool* MRVDemosys::objectPool = nullptr;
DataTexturePool* MRVDemosys::texturePool = nullptr;
DataAnimationPool* MRVDemosys::animationPool = nullptr;
DataEffectPool* MRVDemosys::effectTemplatePool = nullptr;
DataEffectPool* MRVDemosys::effectPool = nullptr;
DataBinaryPool* MRVDemosys::binaryPool = nullptr;
DataShaderPool* MRVDemosys::shaderPool = nullptr;
DataFBOPool* MRVDemosys::fboPool = nullptr;
Data* MRVDemosys::data = nullptr;
ScreenMetrics* MRVDemosys::screenMetrics = nullptr;
GLExtensions* MRVDemosys::glExtensions = nullptr;
bool MRVDemosys::quit = false;
bool MRVDemosys::system_error = false;
std::string MRVDemosys::message;
MRVTime MRVDemosys::stopTime;
unsigned int MRVDemosys::frames = 0;
unsigned int MRVDemosys::fpstime = 0;

float MRVDemosys::getFPS(unsigned int now)
{
    // Whole seconds only; under one second the divisor is 0 and the result
    // is infinite rather than a trap.
    const unsigned int seconds = (now - fpstime) / 1000u;
    return static_cast<float>(frames) / static_cast<float>(seconds);
}

void MRVDemosys::shutDown()
{
    SDL_Quit();
}

Texture* MRVDemosys::loadTexture(const std::string& file, unsigned int target, bool mipmap)
{
    Image image(file);
    if (!image.exists())
        return nullptr;

    GLuint id = 0;
    glGenTextures(1, &id);

    // Decoded rows are tightly packed. With the GL's default alignment of 4 an
    // RGB picture whose row is not a multiple of 4 bytes would be read with
    // padding that is not there: a skewed picture and a read past the block.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);

    const int bpp = image.getBpp();
    const GLenum format = bpp == 32 ? GL_RGBA : GL_RGB;
    const bool uploadable = bpp == 32 || bpp == 24;

    if (target == GL_TEXTURE_1D)
    {
        glBindTexture(GL_TEXTURE_1D, id);
        glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        // A one-row or one-column picture: its pixels lie in one run either
        // way, so the longer side is the length.
        const int length = std::max(image.getWidth(), image.getHeight());
        if (uploadable)
            glTexImage1D(GL_TEXTURE_1D, 0, format, length, 0, format, GL_UNSIGNED_BYTE, image.getData());
    }
    else if (target == GL_TEXTURE_2D)
    {
        glBindTexture(GL_TEXTURE_2D, id);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmap ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        if (uploadable)
        {
            const int components = bpp == 32 ? 4 : 3;
            if (mipmap)
                gluBuild2DMipmaps(GL_TEXTURE_2D, components, image.getWidth(), image.getHeight(), format,
                                  GL_UNSIGNED_BYTE, image.getData());
            else
                glTexImage2D(GL_TEXTURE_2D, 0, format, image.getWidth(), image.getHeight(), 0, format,
                             GL_UNSIGNED_BYTE, image.getData());
        }
    }

    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);

    int guard = 0;
    for (GLenum e = glGetError(); e != GL_NO_ERROR && guard < 64; e = glGetError(), ++guard)
    {
        const GLubyte* text = gluErrorString(e);
        std::cout << "[GL_ERROR] '" << (text ? reinterpret_cast<const char*>(text) : "") << "' in ->" << file
                  << std::endl;
    }

    Texture* texture = new Texture(file, id);
    texture->setSize(image.getWidth(), image.getHeight());
    texture->setBPP(bpp);
    texture->setFileSize(0);
    texture->setType(target);
    texture->isMipmapped(mipmap);
    return texture;
}

Binary* MRVDemosys::loadBinary(const std::string& file)
{
    File in(file, File::READ);
    if (!in.exists())
        return nullptr;
    return new Binary(in.getUnsigned());
}

bool MRVDemosys::glErrPrint(const std::string& location)
{
    bool clean = true;
    // Without a current context some drivers answer every glGetError with an
    // error; the cap keeps that from looping forever.
    int guard = 0;
    for (GLenum e = glGetError(); e != GL_NO_ERROR && guard < 64; e = glGetError(), ++guard)
    {
        std::cout << "[GL_ERROR LOCATION = '" << location << "']" << std::endl;
        const GLubyte* text = gluErrorString(e);
        if (text)
            std::cout << "[GL_ERROR CODE " << e << "] '" << reinterpret_cast<const char*>(text) << "' in ->"
                      << std::endl;
        else
            std::cout << "[GL_ERROR CODE UNKNOWN]" << std::endl;
        system_error = true;
        clean = false;
    }
    return clean;
}
