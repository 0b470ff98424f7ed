// The sound block: the music clock, and its start position when the show begins.
#include "demosys/script/ResourceLoader.h"

#include "demosys/runtime/MRVDemosys.h"
#include "demosys/runtime/MRVTime.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/sound/FMODTimer.h"
#include "demosys/timeline/TrackSystem.h"

#include <SDL.h>

#include <iostream>

bool ResourceLoader::loadSound()
{
    std::cout << "[Setting up sound]" << std::endl;
    const ParameterGroup* sound = group("sound");
    const std::string musicPath = path("sound") + (sound ? sound->getParameter("file") : std::string());
    const unsigned int rate = static_cast<unsigned int>(MRVDemosys::tracks->getRowRate());
    if (!sound || sound->getParameter("play") != "1")
    {
        // Without music the show still needs a clock: a silent one.
        startMusicClock(new FMODTimer(rate));
        tick();
        return true;
    }
    std::cout << "Play : " << musicPath << std::endl;
    if (!startMusicClock(new FMODTimer(musicPath, rate)))
        return fail("Failed to load sound!\nFile : '" + musicPath + "'");
    tick();
    return true;
}

bool ResourceLoader::startMusicClock(FMODTimer* clock)
{
    MRVDemosys::timer = clock;
    if (fixedStepFps)
        clock->useFixedStep(fixedStepFps);
    return clock->init();
}

bool ResourceLoader::initDemo()
{
    std::cout << "[Getting Startpos]" << std::endl;
    const ParameterGroup* system = group("system");
    MRVTime start;
    if (system && system->exist("start"))
        start.setTimeAsString(system->getParameter("start"));
    std::cout << "startpos = " << start.toString() << std::endl;
    MRVDemosys::timer->setTime(start.getTicks());
    tick();
    std::cout << "[Demo Init]" << std::endl;
    if (const ParameterGroup* sound = group("sound"))
    {
        if (sound->getParameter("play") == "1")
            MRVDemosys::timer->play();
        SDL_ShowCursor(SDL_DISABLE);
    }
    std::cout << "[Demo Init END]" << std::endl;
    return true;
}
