#pragma once

#include "demosys/runtime/MRVDemosys.h"

#include <deque>
#include <string>

class FrameBufferObject;

namespace testsupport
{

// The shared state a test may set, put back however the test ends: every
// member of the MRVDemosys registry and the framebuffer bind stack are
// saved when the guard is made and restored when it goes, even when an
// assertion returns early, so one failing test cannot make the next fail.
// A test sets the registry only while a guard lives (a fixture member, or a
// local at the top of the test). The guard owns nothing: what a test puts
// into the registry it deletes itself; the GL binding is not touched.
class RegistryGuard
{
public:
    RegistryGuard();
    ~RegistryGuard();

    RegistryGuard(const RegistryGuard&) = delete;
    RegistryGuard& operator=(const RegistryGuard&) = delete;

private:
    TrackSystem* tracks;
    FMODTimer* timer;
    DataObjectPool* objectPool;
    DataTexturePool* texturePool;
    DataAnimationPool* animationPool;
    DataEffectPool* effectTemplatePool;
    DataEffectPool* effectPool;
    DataBinaryPool* binaryPool;
    DataShaderPool* shaderPool;
    DataFBOPool* fboPool;
    Data* data;
    Parameters* parameters;
    Parameters* effects;
    ScreenMetrics* screenMetrics;
    SDL_Window* screen;
    void* glContext;
    bool hiddenWindow;
    GLExtensions* glExtensions;
    ProgressBar* pBar;
    bool quit;
    bool systemError;
    std::string message;
    MRVTime stopTime;
    unsigned int frames;
    unsigned int fpstime;
    Camera camera;
    Camera syscamera;
    CameraTakeover cameraTakeover;
    std::deque<FrameBufferObject*> fboStack;
};

}
