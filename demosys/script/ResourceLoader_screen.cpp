// The screen block and the screen's opening.
#include "demosys/script/ResourceLoader.h"

#include "demosys/gl/GLEntryPoints.h"
#include "demosys/gl/GLExtensions.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/runtime/ProgressBar.h"
#include "demosys/runtime/ScreenMetrics.h"
#include "demosys/script/ParameterGroup.h"
#include "mrvutils/MRVUtils.h"

#include <iostream>

bool ResourceLoader::initScreen(ScreenMetrics* metrics, const char* title)
{
    applyScreenBlock(metrics);
    if (metrics->getWidth() <= 0 || metrics->getHeight() <= 0)
        metrics->setResolution(640, 480);

    const bool opened = metrics->isFullscreen() ? MRVDemosys::screenOpen(metrics)
                                                : MRVDemosys::windowOpen(metrics, title, nullptr);
    if (!opened)
        return fail("Failed to open screen : " + MRVUtils::int2string(metrics->getWidth()) + "x" +
                    MRVUtils::int2string(metrics->getHeight()) + MRVDemosys::getMessage());
    prepareOpenScreen();
    return true;
}

void ResourceLoader::applyScreenBlock(ScreenMetrics* metrics) const
{
    const ParameterGroup* screen = group("screen");
    if (!screen)
        return;
    if (screen->exist("fullscreen") && !metrics->getFullScreenOverride())
        metrics->setFullscreen(MRVUtils::string2Int(screen->getParameter("fullscreen")) != 0);
    if (screen->exist("near"))
        metrics->setNear(MRVUtils::string2Float(screen->getParameter("near")));
    if (screen->exist("far"))
        metrics->setFar(MRVUtils::string2Float(screen->getParameter("far")));
    if (metrics->getWidth() == 0 || metrics->getHeight() == 0)
    {
        std::cout << "No screen mode set. Attempting to read from demoscript" << std::endl;
        if (screen->exist("width") && screen->exist("height"))
            metrics->setResolution(MRVUtils::string2Int(screen->getParameter("width")),
                                   MRVUtils::string2Int(screen->getParameter("height")));
        else
        {
            std::cout << "No screen mode defined in demoscript. Doing fallback screenmode." << std::endl;
            metrics->setResolution(640, 480);
        }
    }
    if (metrics->getFSAASamples() == 0 && screen->exist("fsaa"))
        metrics->setFSAASamples(MRVUtils::string2Int(screen->getParameter("fsaa")));
    std::cout << "FSAASamples : " << metrics->getFSAASamples() << std::endl;
}

void ResourceLoader::prepareOpenScreen()
{
    // The entry points must exist before anything below calls into the GL.
    std::string glewError;
    GLEntryPoints::load(&glewError);
    MRVDemosys::screenMetrics->initView();
    MRVDemosys::screenMetrics->setView();
    if (MRVDemosys::pBar)
        MRVDemosys::pBar->loadData();
    std::cout << "[Supported OpenGL Extensions]" << std::endl;
    MRVDemosys::glExtensions = new GLExtensions;
    std::cout << MRVDemosys::glExtensions->toString();
    if (MRVDemosys::pBar)
        MRVDemosys::pBar->draw();
}
