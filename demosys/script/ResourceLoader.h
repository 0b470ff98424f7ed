#pragma once

#include <memory>
#include <string>

class DemoScriptParser;
class FMODTimer;
class FrameBufferObject;
class ParameterGroup;
class ScreenMetrics;
class Shader;
class Texture;

// Turns the demoscript into the state the frame loop plays: the pools, the
// parsed parameters, the open screen, every resource block loaded into its
// pool, the effect objects, the track system and the music clock. Each step
// returns success; the first failing step leaves its message and makes the
// loader invalid, and nothing is undone (dispose releases what exists).
//
// Blocks of the demoscript read here (resource blocks further below):
//   paths   definition, shaders, object, gfx, misc, sound: prefixes joined to
//           file names by plain concatenation; tracks: the track directory;
//           timeline (optional, only read by --dev): the timeline text whose
//           compile that track directory holds
//   system  start, stop (minutes:seconds:milliseconds), rowrate (default 20),
//           rowsperbeat and beatsperbar (only read by --dev's overlay)
//   screen  fullscreen, width, height, near, far, fsaa, vsync; where the
//           launcher chose, its choice holds
//   sound   file (under paths sound), play ("1" plays the music)
//   video   only counted for the progress bar
// paths, system and sound are required.
//
// Resource blocks, loaded in this order, every entry's key naming it in its
// pool:
//   shaders       name = stem          stem.vert + stem.frag under paths shaders;
//                                      "default" is always loaded
//   framebuffers  name = W, H, COLOR_BUFFER [, DEPTH_BUFFER [, STENCIL_BUFFER]]
//                                      W/H an integer or "width"/"height"
//   objects       name = file [, option]           under paths object
//   graphics      name = file [, GL_TEXTURE_1D|2D|3D [, GEN_MIPMAP]]
//                                      under paths gfx; each file loads once
//   binary        name = file          under paths misc
//   animation     alias = file         under paths misc
class ResourceLoader
{
public:
    explicit ResourceLoader(const std::string& scriptPath);
    ~ResourceLoader();

    ResourceLoader(const ResourceLoader&) = delete;
    ResourceLoader& operator=(const ResourceLoader&) = delete;

    static bool createDataPools();
    // Deletes the data set, which owns the pools, and clears every pool
    // pointer that createDataPools() set.
    static void deleteDataPools();
    bool parseConfig();
    bool initScreen(ScreenMetrics* metrics, const char* title);
    bool loadDataFiles();
    bool createEffectObjects();
    bool createTrackData();
    bool loadSound();
    bool initDemo();
    void print();
    bool dispose();

    bool isValid() const { return valid; }
    std::string getErrorMessage() const { return errorMessage; }

    // Run the music clock on a fixed step of this many frames per second
    // (0: real time). Set before loadSound().
    void setFixedStep(unsigned int fps) { fixedStepFps = fps; }

    // One entry's work of the shader and graphics stages, on its own so that
    // a reload can do it again (an animation entry's is
    // DataAnimationPool::loadAnimation). On failure each returns false or
    // null with `error` set to the message the stage fails with, and leaves
    // nothing half-built behind.

    // A graphics entry's value: file [, GL_TEXTURE_1D|2D|3D [, GEN_MIPMAP]].
    struct Picture
    {
        std::string file;
        unsigned int target;
        bool mipmap;
    };
    static bool readPicture(const std::string& value, Picture& picture, std::string& error);
    // The picture under gfxPath as a texture whose file name is the
    // picture's file as the script wrote it.
    static std::unique_ptr<Texture> loadPicture(const std::string& gfxPath, const Picture& picture,
                                                std::string& error);
    // The linked program of stem.vert and stem.frag under shaderPath.
    static std::unique_ptr<Shader> loadShader(const std::string& shaderPath, const std::string& stem,
                                              std::string& error);

private:
    bool fail(const std::string& message);
    void tick();
    ParameterGroup* group(const std::string& name) const;
    std::string path(const std::string& key) const;
    // Prints the stage's banner; returns the stage's block, or null after
    // printing the line that says there is none.
    const ParameterGroup* stageBlock(const char* banner, const char* name, const char* none) const;

    // The blocks the rest of loading reads unconditionally, and the times
    // that would otherwise end the show after one frame.
    bool checkSystemBlocks();
    int progressTotal() const;

    // Where the launcher made no choice, the screen block's.
    void applyScreenBlock(ScreenMetrics* metrics) const;
    // Entry points, view, progress bar and extension report once the screen is open.
    void prepareOpenScreen();

    ParameterGroup* shaderBlock();
    bool loadShaders();
    bool loadFramebuffers();
    bool loadFramebuffer(const std::string& name, const std::string& spec);
    bool readFramebufferSize(const std::string& name, const std::string& piece, int axis, int& size);
    bool loadObjects();
    bool loadGraphics();
    bool loadBinaries();
    bool loadAnimations();

    int rowRate() const;
    void loadTrackSystem(const std::string& trackDir);

    // Publishes the clock as MRVDemosys::timer, on the fixed step if one is
    // set, and initialises it.
    bool startMusicClock(FMODTimer* clock);

    DemoScriptParser* parser = nullptr;
    std::string scriptPath;
    std::string errorMessage = "ResourceLoader : unknown";
    bool valid = true;
    unsigned int fixedStepFps = 0;
};
