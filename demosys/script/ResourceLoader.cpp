#include "demosys/script/ResourceLoader.h"

#include "demosys/data/Binary.h"
#include "demosys/data/Data.h"
#include "demosys/data/DataAnimationPool.h"
#include "demosys/data/DataBinaryPool.h"
#include "demosys/data/DataEffectPool.h"
#include "demosys/data/DataFBOPool.h"
#include "demosys/data/DataObjectPool.h"
#include "demosys/data/DataShaderPool.h"
#include "demosys/data/DataTexturePool.h"
#include "demosys/gl/FrameBufferObject.h"
#include "demosys/gl/GLEntryPoints.h"
#include "demosys/gl/GLExtensions.h"
#include "demosys/gl/Shader.h"
#include "demosys/gl/Texture.h"
#include "demosys/runtime/Effect.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/runtime/MRVTime.h"
#include "demosys/runtime/ProgressBar.h"
#include "demosys/runtime/ScreenMetrics.h"
#include "demosys/scene/MRVSceneLoader.h"
#include "demosys/script/DemoScriptParser.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"
#include "demosys/sound/FMODTimer.h"
#include "demosys/timeline/TrackSystem.h"
#include "demosys/timeline/TrackSystemIO.h"
#include "mrvutils/File.h"
#include "mrvutils/MRVUtils.h"
#include "mrvutils/StringTokenizer.h"
#include "mrvutils/StringUtils.h"

#include <GL/glew.h>
#include <SDL.h>

#include <iostream>
#include <vector>

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

    // The rest of loading reads these blocks unconditionally.
    for (const char* required : { "paths", "system", "sound" })
        if (!group(required))
            return fail(std::string("Error while parsing demoscript!\nRequired block '") + required +
                        "' not found!\n");
    // A mistyped time would otherwise end the show after one frame.
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

    int total = 3;
    for (const char* counted : { "objects", "graphics", "animation", "binary", "framebuffers", "video" })
        if (const ParameterGroup* g = group(counted))
            total += g->size();
    if (MRVDemosys::pBar)
        MRVDemosys::pBar->setTicks(total);
    else
        MRVDemosys::pBar = new ProgressBar(0.09f, 1.2f, 0.0f, total);
    return true;
}

bool ResourceLoader::initScreen(ScreenMetrics* metrics, const char* title)
{
    if (const ParameterGroup* screen = group("screen"))
    {
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
    if (metrics->getWidth() <= 0 || metrics->getHeight() <= 0)
        metrics->setResolution(640, 480);

    const bool opened = metrics->isFullscreen() ? MRVDemosys::screenOpen(metrics)
                                                : MRVDemosys::windowOpen(metrics, title, nullptr);
    if (!opened)
        return fail("Failed to open screen : " + MRVUtils::int2string(metrics->getWidth()) + "x" +
                    MRVUtils::int2string(metrics->getHeight()) + MRVDemosys::getMessage());

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
    return true;
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

bool ResourceLoader::loadShaders()
{
    ParameterGroup* shaders = group("shaders");
    if (!shaders)
    {
        shaders = new ParameterGroup("shaders");
        MRVDemosys::parameters->addGroup("shaders", shaders);
    }
    // Every production has the "default" program, whatever the script says.
    shaders->addParameter("default", "default");

    std::cout << "[Loading Shaders]" << std::endl;
    const std::string shaderPath = path("shaders");
    std::cout << "Shader path = " << shaderPath << std::endl;
    for (const auto& entry : shaders->getEntries())
    {
        const std::string& name = entry.first;
        const std::string& stem = entry.second;
        std::cout << "Loading shader " << name << " = " << stem << std::endl;
        Shader* shader = new Shader;
        File vertex(shaderPath + stem + ".vert", File::READ);
        if (!vertex.exists())
        {
            delete shader;
            return fail("Vertex shader '" + stem + ".vert' not found");
        }
        if (!shader->setVertexSource(vertex.getAsString()))
        {
            const std::string log = shader->getErrorMessage();
            delete shader;
            return fail("Error while compiling vertex shader\nShader: " + stem + ".vert\n" + log);
        }
        File fragment(shaderPath + stem + ".frag", File::READ);
        if (!fragment.exists())
        {
            delete shader;
            return fail("Fragement shader '" + stem + ".frag' not found");
        }
        if (!shader->setFragmentSource(fragment.getAsString()))
        {
            const std::string log = shader->getErrorMessage();
            delete shader;
            return fail("Error while compiling fragment shader\nShader: " + stem + ".frag\n" + log);
        }
        if (!shader->link())
        {
            const std::string log = shader->getErrorMessage();
            delete shader;
            return fail("Error while linking shader pair\nShader: " + stem + "\n" + log);
        }
        MRVDemosys::shaderPool->addShader(name, shader);
        std::cout << "Adding shader '" << name << "' = " << shader->toString() << std::endl;
        shader->use();
        shader->release();
    }
    return true;
}

bool ResourceLoader::loadFramebuffers()
{
    std::cout << "[Creating FramebufferObjects]" << std::endl;
    const ParameterGroup* framebuffers = group("framebuffers");
    if (!framebuffers)
    {
        std::cout << "No framebuffers to create" << std::endl;
        return true;
    }
    for (const auto& entry : framebuffers->getEntries())
    {
        const std::string& name = entry.first;
        const std::string& spec = entry.second;
        const std::vector<std::string> pieces = StringTokenizer(spec, ",").getTokens();
        if (pieces.size() < 3 || pieces.size() > 5)
            return fail("Wrong number of parameters in framebuffer block\nFramebuffer: " + name +
                        "\ndefined as : " + spec +
                        "\nValid syntax: width, height, COLOR_BUFFER [,DEPTH_BUFFER][,STENCIL_BUFFER]");

        int size[2] = { 0, 0 };
        const char* words[2] = { "width", "height" };
        for (int i = 0; i < 2; ++i)
        {
            const std::string piece = StringUtils::trim(pieces[i]);
            if (piece == words[i])
                size[i] = i == 0 ? MRVDemosys::screenMetrics->getWidth() : MRVDemosys::screenMetrics->getHeight();
            // Sizes are unsigned: "-" and negative numbers are not sizes.
            else if (StringUtils::isInt(piece) && piece[0] != '-')
                size[i] = MRVUtils::string2Int(piece);
            else
                return fail(std::string("Frambuffer ") + words[i] + " is not an int\nFBO: " + name + "\nvalue : " +
                            piece + "\nValid syntax: '" + words[i] + "' or unsinged integer");
        }
        const char* expected[3] = { "COLOR_BUFFER", "DEPTH_BUFFER", "STENCIL_BUFFER" };
        for (size_t i = 2; i < pieces.size(); ++i)
        {
            const std::string piece = StringUtils::trim(pieces[i]);
            if (piece != expected[i - 2])
                return fail("Wrong parameter for framebuffer '" + name + "'\nvalue: '" + piece +
                            "'\nexpected : '" + expected[i - 2] + "'\n");
        }
        FrameBufferObject* fbo = new FrameBufferObject(size[0], size[1], pieces.size() >= 4, pieces.size() == 5);
        std::cout << "Created '" << name << "' with options '" << spec << "' : object -> " << fbo->toString()
                  << std::endl;
        fbo->bind();
        fbo->clear();
        fbo->release();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        MRVDemosys::fboPool->addFBO(name, fbo);
    }
    return true;
}

bool ResourceLoader::loadObjects()
{
    std::cout << "[Loading 3D Objects]" << std::endl;
    const ParameterGroup* objects = group("objects");
    if (!objects || objects->size() == 0)
    {
        std::cout << "No objects" << std::endl;
        return true;
    }
    std::string error;
    if (!MRVSceneLoader::loadObjectsStage(*objects, path("object"), *MRVDemosys::objectPool, error,
                                          [this] { tick(); }))
        return fail(error);
    return true;
}

bool ResourceLoader::loadGraphics()
{
    const std::string gfxPath = path("gfx");
    std::cout << "[Loading Graphics]" << std::endl;
    const ParameterGroup* graphics = group("graphics");
    if (!graphics)
    {
        std::cout << "No image data" << std::endl;
        return true;
    }
    for (const auto& entry : graphics->getEntries())
    {
        const std::string& name = entry.first;
        const std::string& value = entry.second;
        const std::vector<std::string> pieces = StringTokenizer(value, ",").getTokens();
        std::string file = value;
        unsigned int target = GL_TEXTURE_2D;
        bool mipmaps = false;
        if (pieces.size() >= 2)
        {
            file = pieces[0];
            const std::string kind = StringUtils::trim(pieces[1]);
            if (kind == "GL_TEXTURE_1D")
                target = GL_TEXTURE_1D;
            else if (kind == "GL_TEXTURE_2D")
                target = GL_TEXTURE_2D;
            else if (kind == "GL_TEXTURE_3D")
                target = GL_TEXTURE_3D;
            else
                return fail("TexturePool: '" + file + "' using wrong texture parameter '" + kind +
                            "'\nOptions : GL_TEXTURE_1D/2D/3D");
            if (pieces.size() == 3)
            {
                const std::string mip = StringUtils::trim(pieces[2]);
                if (mip != "GEN_MIPMAP")
                    return fail("TexturePool: '" + file + "' using wrong mipmap parameter '" + mip +
                                "'\nOptions : GEN_MIPMAPS");
                mipmaps = true;
            }
        }
        if (!MRVDemosys::texturePool->isFileInPool(file))
        {
            std::cout << "Load : " << gfxPath << file << std::endl;
            Texture* texture = MRVDemosys::loadTexture(gfxPath + file, target, mipmaps);
            if (!texture)
                return fail("Failed to load texture!\nFile : '" + gfxPath + file + "'");
            texture->setFilename(file);
            MRVDemosys::texturePool->addTexture(name, texture);
        }
        tick();
    }
    return true;
}

bool ResourceLoader::loadBinaries()
{
    std::cout << "[Loading Binary Data]" << std::endl;
    const ParameterGroup* binary = group("binary");
    if (!binary)
    {
        std::cout << "No binary data" << std::endl;
        return true;
    }
    const std::string miscPath = path("misc");
    for (const auto& entry : binary->getEntries())
    {
        std::cout << "Loading binary : '" << miscPath << entry.second << "'" << std::endl;
        Binary* blob = MRVDemosys::loadBinary(miscPath + entry.second);
        if (!blob)
            return fail("Failed to binary data!\nFile : '" + miscPath + entry.second + "'");
        MRVDemosys::binaryPool->addData(entry.first, blob);
    }
    return true;
}

bool ResourceLoader::loadAnimations()
{
    std::cout << "[Loading Animation Data]" << std::endl;
    const ParameterGroup* animation = group("animation");
    if (!animation)
    {
        std::cout << "No animation data" << std::endl;
        return true;
    }
    const std::string miscPath = path("misc");
    for (const auto& entry : animation->getEntries())
    {
        std::string message;
        if (!MRVDemosys::animationPool->loadAnimation(entry.first, miscPath + entry.second, message))
            return fail(message);
        tick();
    }
    return true;
}

bool ResourceLoader::createEffectObjects()
{
    std::cout << "[Create effect objects]" << std::endl;
    if (MRVDemosys::effects)
    {
        for (const auto& entry : MRVDemosys::effects->getGroups())
        {
            ParameterGroup* objectGroup = entry.second;
            const std::string className = objectGroup->getParameter("class");
            std::cout << "Creating instance of " << className << std::endl;
            // The parser accepts only registered classes, so a template exists.
            Effect* prototype = MRVDemosys::effectTemplatePool->exist(className)
                                    ? MRVDemosys::effectTemplatePool->getEffect(className)
                                    : nullptr;
            if (!prototype)
                continue;
            Effect* instance = prototype->getInstance();
            instance->setParameters(objectGroup);
            instance->registerTracks();
            MRVDemosys::effectPool->addEffect(entry.first, instance);
        }
    }
    tick();
    return true;
}

bool ResourceLoader::createTrackData()
{
    std::cout << "[Create track data]" << std::endl;
    const std::string trackDir = path("tracks");
    int rowRate = 20;
    if (const ParameterGroup* system = group("system"))
        if (system->exist("rowrate"))
            rowRate = MRVUtils::string2Int(system->getParameter("rowrate"));
    // A rate of 0 or less would divide by zero in every row conversion.
    if (rowRate <= 0)
        rowRate = 20;

    if (!trackDir.empty())
    {
        std::vector<std::string> names;
        std::vector<Effect*> instances;
        for (const auto& entry : MRVDemosys::effectPool->getEffectMap())
        {
            names.push_back(entry.first);
            instances.push_back(entry.second);
        }
        TrackSystemIO io(trackDir);
        MRVDemosys::tracks = io.load(names, instances);
    }
    else
    {
        std::cout << "No track data location specified. Making dummy system." << std::endl;
        MRVDemosys::tracks = new TrackSystem;
    }
    MRVDemosys::tracks->setRowRate(rowRate);

    for (const auto& entry : MRVDemosys::effectPool->getEffectMap())
        if (entry.second)
            entry.second->init();

    return MRVDemosys::tracks->validateStartStopTracks() && MRVDemosys::tracks->validateInterpolateTracks();
}

bool ResourceLoader::loadSound()
{
    std::cout << "[Setting up sound]" << std::endl;
    const ParameterGroup* sound = group("sound");
    const std::string musicPath = path("sound") + (sound ? sound->getParameter("file") : std::string());
    const unsigned int rowRate = static_cast<unsigned int>(MRVDemosys::tracks->getRowRate());
    if (!sound || sound->getParameter("play") != "1")
    {
        // Without music the show still needs a clock: a silent one.
        MRVDemosys::timer = new FMODTimer(rowRate);
        if (fixedStepFps)
            MRVDemosys::timer->useFixedStep(fixedStepFps);
        MRVDemosys::timer->init();
        tick();
        return true;
    }
    std::cout << "Play : " << musicPath << std::endl;
    MRVDemosys::timer = new FMODTimer(musicPath, rowRate);
    if (fixedStepFps)
        MRVDemosys::timer->useFixedStep(fixedStepFps);
    if (!MRVDemosys::timer->init())
        return fail("Failed to load sound!\nFile : '" + musicPath + "'");
    tick();
    return true;
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

void ResourceLoader::reloadShaders()
{
    const ParameterGroup* shaders = group("shaders");
    if (!shaders || !MRVDemosys::shaderPool)
        return;
    const std::string shaderPath = path("shaders");
    for (const auto& entry : shaders->getEntries())
    {
        Shader* shader = MRVDemosys::shaderPool->getShader(entry.first);
        if (!shader)
            continue;
        File vertex(shaderPath + entry.second + ".vert", File::READ);
        File fragment(shaderPath + entry.second + ".frag", File::READ);
        std::string log;
        if (!vertex.exists() || !fragment.exists())
            std::cout << "Shader '" << entry.first << "' kept: its files are missing" << std::endl;
        else if (shader->reload(vertex.getAsString(), fragment.getAsString(), log))
            std::cout << "Reloaded shader '" << entry.first << "'" << std::endl;
        else
            std::cout << "Shader '" << entry.first << "' kept, new source failed:\n" << log << std::endl;
    }
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
