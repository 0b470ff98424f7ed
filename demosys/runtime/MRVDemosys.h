#pragma once

#include "demosys/runtime/MRVTime.h"

#include <string>

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

    static ScreenMetrics* screenMetrics;
    static GLExtensions* glExtensions;

    static bool quit;
    // Raised, never cleared, whenever a GL error was reported or a GL object
    // failed; the show goes on.
    static bool system_error;
    static std::string message;
    static MRVTime stopTime;
    static unsigned int frames;
    static unsigned int fpstime;

    static void setQuit(bool q) { quit = q; }
    static bool checkQuit() { return quit; }
    static std::string getMessage() { return message; }
    // Frames per whole second elapsed since the loop started.
    static float getFPS(unsigned int now);
    static void shutDown();

    // Decodes a PNG into a new GL texture owned by the caller; null when the
    // picture cannot be loaded. GL_TEXTURE_3D names an empty texture.
    static Texture* loadTexture(const std::string& file, unsigned int target, bool mipmap);
    // The whole file as a blob owned by the caller; null when it is missing.
    static Binary* loadBinary(const std::string& file);
    // Drains the GL error queue, printing each error with the place given;
    // true when none was pending.
    static bool glErrPrint(const std::string& location);
};
