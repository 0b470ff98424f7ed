// Construction, parsing, the order of the resource stages, the dump and
// shut-down. Each stage and system block lives in a ResourceLoader_*.cpp of
// its own beside this file.
#include "demosys/script/ResourceLoader.h"

#include "demosys/data/Data.h"
#include "demosys/data/DataAnimationPool.h"
#include "demosys/data/DataBinaryPool.h"
#include "demosys/data/DataEffectPool.h"
#include "demosys/data/DataFBOPool.h"
#include "demosys/data/DataObjectPool.h"
#include "demosys/data/DataShaderPool.h"
#include "demosys/data/DataTexturePool.h"
#include "demosys/gl/GLExtensions.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/runtime/MRVTime.h"
#include "demosys/runtime/ProgressBar.h"
#include "demosys/script/DemoScriptParser.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"
#include "demosys/sound/FMODTimer.h"
#include "demosys/timeline/TrackSystem.h"

#include <iostream>

ResourceLoader::ResourceLoader(const std::string& scriptPath_)
    : scriptPath(scriptPath_)
{
}

ResourceLoader::~ResourceLoader()
{
    delete parser;
}

bool ResourceLoader::fail(const std::string& message)
{
    errorMessage = message;
    valid = false;
    return false;
}

void ResourceLoader::tick()
{
    if (MRVDemosys::pBar)
        MRVDemosys::pBar->tick();
}

ParameterGroup* ResourceLoader::group(const std::string& name) const
{
    return MRVDemosys::parameters ? MRVDemosys::parameters->getGroup(name) : nullptr;
}

std::string ResourceLoader::path(const std::string& key) const
{
    const ParameterGroup* paths = group("paths");
    return paths && paths->exist(key) ? paths->getParameter(key) : std::string();
}

const ParameterGroup* ResourceLoader::stageBlock(const char* banner, const char* name, const char* none) const
{
    std::cout << banner << std::endl;
    const ParameterGroup* block = group(name);
    if (!block)
        std::cout << none << std::endl;
    return block;
}

bool ResourceLoader::createDataPools()
{
    std::cout << "[Creating DataPools]" << std::endl;
    MRVDemosys::data = new Data;
    MRVDemosys::objectPool = new DataObjectPool;
    MRVDemosys::texturePool = new DataTexturePool;
    MRVDemosys::animationPool = new DataAnimationPool;
    MRVDemosys::effectTemplatePool = new DataEffectPool;
    MRVDemosys::effectPool = new DataEffectPool;
    MRVDemosys::binaryPool = new DataBinaryPool;
    MRVDemosys::shaderPool = new DataShaderPool;
    MRVDemosys::fboPool = new DataFBOPool;
    std::cout << "[Creating Pool objects]" << std::endl;
    MRVDemosys::data->addData("objectPool", MRVDemosys::objectPool);
    MRVDemosys::data->addData("texturePool", MRVDemosys::texturePool);
    MRVDemosys::data->addData("animationPool", MRVDemosys::animationPool);
    MRVDemosys::data->addData("effectTemplatePool", MRVDemosys::effectTemplatePool);
    MRVDemosys::data->addData("effectPool", MRVDemosys::effectPool);
    MRVDemosys::data->addData("binaryPool", MRVDemosys::binaryPool);
    MRVDemosys::data->addData("shaderPool", MRVDemosys::shaderPool);
    MRVDemosys::data->addData("fboPool", MRVDemosys::fboPool);
    return true;
}

void ResourceLoader::deleteDataPools()
{
    delete MRVDemosys::data;
    MRVDemosys::data = nullptr;
    MRVDemosys::objectPool = nullptr;
    MRVDemosys::texturePool = nullptr;
    MRVDemosys::animationPool = nullptr;
    MRVDemosys::effectTemplatePool = nullptr;
    MRVDemosys::effectPool = nullptr;
    MRVDemosys::binaryPool = nullptr;
    MRVDemosys::shaderPool = nullptr;
    MRVDemosys::fboPool = nullptr;
}

bool ResourceLoader::parseConfig()
{
    std::cout << "[Creating DemoScriptParser]" << std::endl;
    parser = new DemoScriptParser(scriptPath);
    std::cout << "[Parsing defaults]" << std::endl;
    parser->parseDefaults(true);
    std::cout << "[Parsing demoscript]" << std::endl;
    parser->parse();
    if (!parser->isValid())
        return fail(parser->getErrorMessage());

    MRVDemosys::parameters = parser->getParameterGroup("system_parameters");
    MRVDemosys::effects = parser->getParameterGroup("effect_parameters");
    if (!checkSystemBlocks())
        return false;

    const int total = progressTotal();
    if (MRVDemosys::pBar)
        MRVDemosys::pBar->setTicks(total);
    else
        MRVDemosys::pBar = new ProgressBar(0.09f, 1.2f, 0.0f, total);
    return true;
}

bool ResourceLoader::checkSystemBlocks()
{
    for (const char* required : { "paths", "system", "sound" })
        if (!group(required))
            return fail(std::string("Error while parsing demoscript!\nRequired block '") + required +
                        "' not found!\n");
    const ParameterGroup* system = group("system");
    for (const char* key : { "start", "stop" })
    {
        if (!system->exist(key))
            continue;
        const std::string value = system->getParameter(key);
        if (!MRVTime(value).isValid())
            return fail(std::string("Error while parsing demoscript!\nBlock : 'system'\nError: '") + key +
                        "' is not a valid time: '" + value + "'\nValid syntax: minutes:seconds:milliseconds\n");
    }
    return true;
}

int ResourceLoader::progressTotal() const
{
    int total = 3;
    for (const char* counted : { "objects", "graphics", "animation", "binary", "framebuffers", "video" })
        if (const ParameterGroup* g = group(counted))
            total += g->size();
    return total;
}

bool ResourceLoader::loadDataFiles()
{
    if (!(loadShaders() && loadFramebuffers() && loadObjects() && loadGraphics()))
        return false;
    // The scenes' materials receive the textures that the graphics stage has
    // just loaded under their diffuse map names.
    if (MRVDemosys::objectPool)
        MRVDemosys::objectPool->mapTextureData();
    return loadBinaries() && loadAnimations();
}

void ResourceLoader::print()
{
    const std::string line(64, '#');
    std::cout << line << std::endl;
    std::cout << "# Resources                                                    #" << std::endl;
    std::cout << line << std::endl;
    std::cout << "--------------------- System parameters ------------------------" << std::endl;
    if (MRVDemosys::parameters)
        std::cout << MRVDemosys::parameters->toString();
    else
        std::cout << "No Data" << std::endl;
    std::cout << "--------------------- DataPools --------------------------------" << std::endl;
    if (MRVDemosys::data)
        std::cout << MRVDemosys::data->toString();
    else
        std::cout << "No Data" << std::endl;
    std::cout << line << std::endl;
}

bool ResourceLoader::dispose()
{
    delete parser;
    parser = nullptr;
    delete MRVDemosys::pBar;
    MRVDemosys::pBar = nullptr;
    std::cout << "[Deleting Pools]" << std::endl;
    std::cout << "delete MRVDemosys::parameters" << std::endl;
    delete MRVDemosys::parameters;
    MRVDemosys::parameters = nullptr;
    std::cout << "delete MRVDemosys::effects" << std::endl;
    delete MRVDemosys::effects;
    MRVDemosys::effects = nullptr;
    std::cout << "delete MRVDemosys::data" << std::endl;
    deleteDataPools();
    if (MRVDemosys::glExtensions)
    {
        std::cout << "delete MRVDemosys::glExtensions" << std::endl;
        delete MRVDemosys::glExtensions;
        MRVDemosys::glExtensions = nullptr;
    }
    std::cout << "delete MRVDemosys::tracks" << std::endl;
    delete MRVDemosys::tracks;
    MRVDemosys::tracks = nullptr;
    std::cout << "delete MRVDemosys::timer" << std::endl;
    delete MRVDemosys::timer;
    MRVDemosys::timer = nullptr;
    return true;
}
