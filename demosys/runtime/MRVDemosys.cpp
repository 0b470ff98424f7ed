#include "demosys/runtime/MRVDemosys.h"

#include "demosys/data/Binary.h"
#include "demosys/gl/Texture.h"
#include "demosys/gl/TextureLoader.h"
#include "demosys/runtime/ScreenMetrics.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"
#include "mrvutils/File.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <SDL.h>

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
Parameters* MRVDemosys::parameters = nullptr;
Parameters* MRVDemosys::effects = nullptr;
ScreenMetrics* MRVDemosys::screenMetrics = nullptr;
SDL_Window* MRVDemosys::screen = nullptr;
void* MRVDemosys::glContext = nullptr;
bool MRVDemosys::hiddenWindow = false;
GLExtensions* MRVDemosys::glExtensions = nullptr;
ProgressBar* MRVDemosys::pBar = nullptr;
bool MRVDemosys::quit = false;
bool MRVDemosys::system_error = false;
std::string MRVDemosys::message;
MRVTime MRVDemosys::stopTime;
unsigned int MRVDemosys::frames = 0;
unsigned int MRVDemosys::fpstime = 0;
Camera MRVDemosys::camera;
Camera MRVDemosys::syscamera;
CameraTakeover MRVDemosys::cameraTakeover;

float MRVDemosys::getFPS(unsigned int now)
{
    // Milliseconds, not whole seconds: a short run would otherwise divide by
    // zero or round its rate far off.
    const unsigned int elapsed = now - fpstime;
    if (elapsed == 0)
        return 0.0f;
    return static_cast<float>(static_cast<double>(frames) * 1000.0 / static_cast<double>(elapsed));
}

void MRVDemosys::shutDown()
{
    if (glContext)
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(glContext));
    if (screen)
        SDL_DestroyWindow(screen);
    glContext = nullptr;
    screen = nullptr;
    SDL_Quit();
}

namespace {

bool initVideo()
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        MRVDemosys::message = std::string("Failed to initialize SDL!\n") + SDL_GetError();
        return false;
    }
    return true;
}

// Creates the window and its context; the GL attributes are already set.
bool createWindow(ScreenMetrics* metrics, const char* title, Uint32 flags)
{
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    if (MRVDemosys::hiddenWindow)
        flags |= SDL_WINDOW_HIDDEN;
    MRVDemosys::screen = SDL_CreateWindow(title ? title : "", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          metrics->getWidth(), metrics->getHeight(), flags | SDL_WINDOW_OPENGL);
    if (MRVDemosys::screen)
    {
        MRVDemosys::glContext = SDL_GL_CreateContext(MRVDemosys::screen);
        if (!MRVDemosys::glContext)
        {
            SDL_DestroyWindow(MRVDemosys::screen);
            MRVDemosys::screen = nullptr;
        }
    }
    if (!MRVDemosys::screen)
    {
        MRVDemosys::message = std::string("Failed to set screenmode!\n") + SDL_GetError();
        std::cout << MRVDemosys::message << std::endl;
        return false;
    }
    SDL_ShowCursor(SDL_DISABLE);
    return true;
}

} // namespace

bool MRVDemosys::windowOpen(ScreenMetrics* metrics, const char* title, char*)
{
    screenMetrics = metrics;
    if (!initVideo())
        return false;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (metrics->getFSAASamples() != 0)
    {
        // A window always asks for 4 samples, whatever count was chosen.
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 1);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 4);
    }
    if (!createWindow(metrics, title, SDL_WINDOW_RESIZABLE))
        return false;
    // Only an explicit choice touches the swap interval of a window.
    if (metrics->getVSyncOverride())
        SDL_GL_SetSwapInterval(metrics->getVSync() ? 1 : 0);
    return true;
}

bool MRVDemosys::screenOpen(ScreenMetrics* metrics)
{
    screenMetrics = metrics;
    if (!initVideo())
        return false;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (!metrics->getVSyncOverride() && parameters)
    {
        const ParameterGroup* screenBlock = parameters->getGroup("screen");
        if (screenBlock && screenBlock->exist("vsync"))
        {
            const std::string value = screenBlock->getParameter("vsync");
            metrics->setVSync(value == "true" || value == "1");
        }
    }
    const int samples = metrics->getFSAASamples();
    if (samples != 0)
    {
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 1);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, samples);
    }
    if (!createWindow(metrics, "", SDL_WINDOW_FULLSCREEN))
        return false;
    SDL_GL_SetSwapInterval(metrics->getVSync() ? 1 : 0);
    return true;
}

void MRVDemosys::swapBuffers()
{
    if (screen)
        SDL_GL_SwapWindow(screen);
}

Texture* MRVDemosys::loadTexture(const std::string& file, unsigned int target, bool mipmap)
{
    std::string error;
    return TextureLoader::load(file, target, mipmap, error).release();
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

std::string MRVDemosys::getScriptValue(const char* block, const char* key)
{
    const ParameterGroup* group = parameters ? parameters->getGroup(block) : nullptr;
    return group && group->exist(key) ? group->getParameter(key) : std::string();
}
