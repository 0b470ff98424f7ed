#include "tests/support/RegistryGuard.h"

#include "demosys/gl/FrameBufferObject.h"

namespace testsupport
{

RegistryGuard::RegistryGuard()
    : tracks(MRVDemosys::tracks), timer(MRVDemosys::timer), objectPool(MRVDemosys::objectPool),
      texturePool(MRVDemosys::texturePool), animationPool(MRVDemosys::animationPool),
      effectTemplatePool(MRVDemosys::effectTemplatePool), effectPool(MRVDemosys::effectPool),
      binaryPool(MRVDemosys::binaryPool), shaderPool(MRVDemosys::shaderPool), fboPool(MRVDemosys::fboPool),
      data(MRVDemosys::data), parameters(MRVDemosys::parameters), effects(MRVDemosys::effects),
      screenMetrics(MRVDemosys::screenMetrics), screen(MRVDemosys::screen), glContext(MRVDemosys::glContext),
      hiddenWindow(MRVDemosys::hiddenWindow), glExtensions(MRVDemosys::glExtensions), pBar(MRVDemosys::pBar),
      quit(MRVDemosys::quit), systemError(MRVDemosys::system_error), message(MRVDemosys::message),
      stopTime(MRVDemosys::stopTime), frames(MRVDemosys::frames), fpstime(MRVDemosys::fpstime),
      camera(MRVDemosys::camera), syscamera(MRVDemosys::syscamera), cameraTakeover(MRVDemosys::cameraTakeover),
      fboStack(FrameBufferObject::fboStack)
{
}

RegistryGuard::~RegistryGuard()
{
    MRVDemosys::tracks = tracks;
    MRVDemosys::timer = timer;
    MRVDemosys::objectPool = objectPool;
    MRVDemosys::texturePool = texturePool;
    MRVDemosys::animationPool = animationPool;
    MRVDemosys::effectTemplatePool = effectTemplatePool;
    MRVDemosys::effectPool = effectPool;
    MRVDemosys::binaryPool = binaryPool;
    MRVDemosys::shaderPool = shaderPool;
    MRVDemosys::fboPool = fboPool;
    MRVDemosys::data = data;
    MRVDemosys::parameters = parameters;
    MRVDemosys::effects = effects;
    MRVDemosys::screenMetrics = screenMetrics;
    MRVDemosys::screen = screen;
    MRVDemosys::glContext = glContext;
    MRVDemosys::hiddenWindow = hiddenWindow;
    MRVDemosys::glExtensions = glExtensions;
    MRVDemosys::pBar = pBar;
    MRVDemosys::quit = quit;
    MRVDemosys::system_error = systemError;
    MRVDemosys::message = message;
    MRVDemosys::stopTime = stopTime;
    MRVDemosys::frames = frames;
    MRVDemosys::fpstime = fpstime;
    MRVDemosys::camera = camera;
    MRVDemosys::syscamera = syscamera;
    MRVDemosys::cameraTakeover = cameraTakeover;
    FrameBufferObject::fboStack = fboStack;
}

}
