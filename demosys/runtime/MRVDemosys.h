#pragma once

#include "demosys/runtime/MRVTime.h"
#include "demosys/scene/Camera.h"
#include "demosys/timeline/CameraTakeover.h"

#include <string>

struct SDL_Window;

class Binary;
class Data;
class DataAnimationPool;
class DataBinaryPool;
class DataEffectPool;
class DataFBOPool;
class DataObjectPool;
class DataShaderPool;
class DataTexturePool;
class FMODTimer;
class GLExtensions;
class Parameters;
class ProgressBar;
class ScreenMetrics;
class Texture;
class TrackSystem;

// The system-wide registry: static members only. Every part of the engine
// reaches the pools, the open screen and the global flags through it; the
// loading phases create what it points to and dispose deletes it.
class MRVDemosys
{
public:
    MRVDemosys() = delete;

    static TrackSystem* tracks;
    static FMODTimer* timer;

    static DataObjectPool* objectPool;
    static DataTexturePool* texturePool;
    static DataAnimationPool* animationPool;
    static DataEffectPool* effectTemplatePool;
    static DataEffectPool* effectPool;
    static DataBinaryPool* binaryPool;
    static DataShaderPool* shaderPool;
    static DataFBOPool* fboPool;
    static Data* data;

    // Every demoscript block by name, and the effect objects' groups.
    static Parameters* parameters;
    static Parameters* effects;

    static ScreenMetrics* screenMetrics;
    // The open window and its GL context; null until the screen opens.
    static SDL_Window* screen;
    static void* glContext;
    // Open the window hidden (headless runs and captures).
    static bool hiddenWindow;
    static GLExtensions* glExtensions;
    static ProgressBar* pBar;

    static bool quit;
    // Raised, never cleared, whenever a GL error was reported or a GL object
    // failed; the show goes on.
    static bool system_error;
    static std::string message;
    static MRVTime stopTime;
    static unsigned int frames;
    static unsigned int fpstime;
    // The camera that animation camera controllers fly, and a second one
    // that nothing in the engine drives.
    static Camera camera;
    static Camera syscamera;
    // What the camera paths last did, and the editor's fly camera.
    static CameraTakeover cameraTakeover;

    static void setProgressBar(ProgressBar* bar) { pBar = bar; }
    static void setQuit(bool q) { quit = q; }
    static bool checkQuit() { return quit; }
    static std::string getMessage() { return message; }
    // The value of `key` in the loaded demoscript's block of that name; ""
    // when there is no such block or key.
    static std::string getScriptValue(const char* block, const char* key);
    // Frames per second since the loop started: frames * 1000 / elapsed
    // milliseconds, 0 before any time has passed.
    static float getFPS(unsigned int now);
    static void shutDown();

    // Fullscreen mode with the metrics' samples and vsync; the screen block's
    // "vsync" applies unless the launcher chose.
    static bool screenOpen(ScreenMetrics* metrics);
    // A resizable window with the given caption.
    static bool windowOpen(ScreenMetrics* metrics, const char* title, char* icon);
    static void swapBuffers();

    // Decodes a PNG into a new GL texture owned by the caller; null when the
    // picture cannot be loaded or given storage (TextureLoader says which).
    // GL_TEXTURE_3D names an empty texture.
    static Texture* loadTexture(const std::string& file, unsigned int target, bool mipmap);
    // The whole file as a blob owned by the caller; null when it is missing.
    static Binary* loadBinary(const std::string& file);
    // Drains the GL error queue, printing each error with the place given;
    // true when none was pending.
    static bool glErrPrint(const std::string& location);
};
