#include "demosys/runtime/Demo.h"

#include "demosys/data/DataEffectPool.h"
#include "demosys/data/DataFBOPool.h"
#include "demosys/runtime/Effect.h"
#include "demosys/sound/FMODTimer.h"
#include "demosys/runtime/FrameHooks.h"
#include "demosys/runtime/FrameObserver.h"
#include "demosys/gl/GLEntryPoints.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/runtime/MRVTime.h"
#include "demosys/runtime/ScreenMetrics.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"
#include "demosys/script/ResourceLoader.h"
#include "demosys/timeline/TrackSystem.h"

#include <GL/glew.h>
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <iostream>

namespace {

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

Demo::Demo(int argc, char** argv)
{
    if (argc > 1 && argv[1] && argv[1][0] != '\0')
        scriptName = argv[1];
    loader = new ResourceLoader(scriptPath + scriptName);
    failed = !ResourceLoader::createDataPools();
}

Demo::~Demo()
{
    delete loader;
}

void Demo::addEffect(const std::string& className, Effect* effect)
{
    MRVDemosys::effectTemplatePool->addEffect(className, effect);
}

void Demo::applyOverrides()
{
    ParameterGroup* system = MRVDemosys::parameters ? MRVDemosys::parameters->getGroup("system") : nullptr;
    if (!system)
        return;
    if (!startOverride.empty())
        system->addParameter("start", startOverride);
    if (!stopOverride.empty())
        system->addParameter("stop", stopOverride);
}

bool Demo::load(ScreenMetrics* metrics)
{
    if (failed)
        return false;
    const auto started = std::chrono::steady_clock::now();
    loader->setFixedStep(fixedStepFps);

    if (!loader->parseConfig())
    {
        errorMessage = loader->getErrorMessage();
        failed = true;
        return failed;
    }
    applyOverrides();

    if (!loader->initScreen(metrics, windowTitle.c_str()))
    {
        errorMessage = loader->getErrorMessage();
        failed = true;
        return failed;
    }

    std::string glewError;
    if (!GLEntryPoints::load(&glewError))
    {
        errorMessage = "Error initializing glew\n" + glewError;
        failed = true;
        return failed;
    }
    if (!GLEntryPoints::hasOpenGL20())
    {
        errorMessage = "No OpenGL 2.0 support found!\nYour graphics card is probably crappy\nor you are using "
                       "drivers from the stoneage.";
        failed = true;
        return failed;
    }

    const bool loaded = loader->loadDataFiles() && loader->createEffectObjects();
    if (!loaded)
    {
        errorMessage = loader->getErrorMessage();
        failed = true;
        return failed;
    }
    if (!loader->createTrackData())
    {
        failed = true;
        return failed;
    }
    if (!loader->loadSound())
    {
        errorMessage = loader->getErrorMessage();
        failed = true;
        return failed;
    }
    loadMs = static_cast<unsigned int>(millisecondsSince(started));
    return failed;
}

void Demo::init()
{
    if (failed)
        return;
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
}

void Demo::run()
{
    if (failed)
        return;
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);

    const ParameterGroup* system = MRVDemosys::parameters ? MRVDemosys::parameters->getGroup("system") : nullptr;
    if (system && system->exist("stop"))
        MRVDemosys::stopTime.setTimeAsString(system->getParameter("stop"));
    else
        MRVDemosys::stopTime.setMinutes(30);

    loader->initDemo();
    MRVDemosys::fpstime = SDL_GetTicks();
    FMODTimer* timer = MRVDemosys::timer;
    if (benchmark)
        MRVDemosys::tracks->setDrawTiming(true);
    if (frameHooks)
        frameHooks->showStarts();

    while (!MRVDemosys::checkQuit())
    {
        // Authoring work between frames counts towards the frame it delays.
        const auto frameStart = std::chrono::steady_clock::now();
        if (frameHooks)
            frameHooks->betweenFrames();
        timer->updateSystem();
        unsigned int time = timer->getTime();
        if (frameHooks)
            time = frameHooks->afterClock(time);
        const unsigned int row = timer->getRow();
        const unsigned int frameTime = timer->updateFrameTime(time);
        if (time > MRVDemosys::stopTime.getTicks())
            MRVDemosys::setQuit(true);

        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        MRVDemosys::screenMetrics->setView();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

        keyEvents();
        MRVDemosys::tracks->processSystem(time, row, frameTime);
        if (frameHooks)
            frameHooks->afterDraw(time, row);
        glFlush();
        MRVDemosys::fboPool->clearFlaggedFBOs();

        if (frameObserver)
            frameObserver->frameDrawn(MRVDemosys::frames);
        MRVDemosys::swapBuffers();
        ++MRVDemosys::frames;
        if (frameLimit >= 0 && static_cast<long long>(MRVDemosys::frames) >= frameLimit)
            MRVDemosys::setQuit(true);
        // The frame's own cost, not the wait that paces it.
        if (benchmark)
            frameMs.push_back(static_cast<float>(millisecondsSince(frameStart)));
        if (frameHooks)
            frameHooks->afterSwap();
        timer->advanceFrame();
    }

    std::cout << "Duration : " << MRVTime(timer->getTime()).toString() << std::endl;
    std::cout << "FPS = " << MRVDemosys::getFPS(SDL_GetTicks()) << std::endl;
    if (benchmark)
        printBenchmark();
}

void Demo::printBenchmark() const
{
    std::vector<float> sorted = frameMs;
    std::sort(sorted.begin(), sorted.end());
    auto at = [&sorted](double q) {
        if (sorted.empty())
            return 0.0f;
        const size_t i = std::min(sorted.size() - 1, static_cast<size_t>(q * static_cast<double>(sorted.size() - 1) + 0.5));
        return sorted[i];
    };
    std::cout << "benchmark frames=" << frameMs.size() << " load_ms=" << loadMs << " frame_ms_median=" << at(0.5)
              << " frame_ms_p99=" << at(0.99) << " frame_ms_max=" << (sorted.empty() ? 0.0f : sorted.back())
              << std::endl;
    for (const auto& entry : MRVDemosys::effectPool->getEffectMap())
    {
        const TrackSystem::DrawTiming timing = MRVDemosys::tracks->getDrawTiming(entry.first);
        if (timing.draws == 0)
            continue;
        const ParameterGroup* group = entry.second ? entry.second->getParameters() : nullptr;
        std::cout << "benchmark effect=" << entry.first << " class=" << (group ? group->getParameter("class") : "")
                  << " draws=" << timing.draws << " ms_mean=" << timing.totalMs / static_cast<double>(timing.draws)
                  << std::endl;
    }
}

void Demo::keyEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event))
    {
        const bool quits = event.type == SDL_QUIT || (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE);
        if (frameHooks && !quits && frameHooks->event(event))
            continue;
        switch (event.type)
        {
        case SDL_KEYDOWN:
            if (event.key.keysym.sym == SDLK_ESCAPE)
                MRVDemosys::setQuit(true);
            else if (frameHooks)
                frameHooks->key(event.key.keysym.sym, event.key.keysym.mod);
            break;
        case SDL_QUIT:
            // The window's close button ends the show like Escape does.
            MRVDemosys::setQuit(true);
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
            {
                std::cout << "Screen resize (" << event.window.data1 << "," << event.window.data2 << ")"
                          << std::endl;
                MRVDemosys::screenMetrics->resize(event.window.data1, event.window.data2);
            }
            break;
        default:
            break;
        }
    }
}

bool Demo::dispose()
{
    std::cout << "[Shutting Down]" << std::endl;
    bool reported = false;
    if (!loader->isValid())
    {
        errorMessage += "ResourceLoader:\nMessage :\n" + loader->getErrorMessage() + "\n";
        std::cout << errorMessage << std::endl;
        reported = true;
    }
    else if (failed && !errorMessage.empty())
    {
        // GLEW and OpenGL failures leave the loader valid; their message must
        // still reach the viewer.
        std::cout << errorMessage << std::endl;
    }
    if (failed || reported)
        std::cout << MRVDemosys::getMessage() << std::endl;
    loader->print();
    loader->dispose();
    std::cout << "MRVDemosys::shutdown()" << std::endl;
    MRVDemosys::shutDown();
    std::cout << "[Application End]" << std::endl;
    return true;
}
