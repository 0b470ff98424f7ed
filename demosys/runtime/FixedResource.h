#pragma once

#include <string>

// A resource an effect class finds under a name written into its code rather
// than under the value of one of its parameters: a production that uses the
// class must load it under exactly that name. Each class lists these where
// its init() takes the names from, so that what the class says it needs and
// what it looks up cannot part.
struct FixedResource
{
    // Which pool holds it, and so which demoscript block loads it.
    enum Kind
    {
        SHADER,       // shaders
        FRAMEBUFFER,  // framebuffers
        TEXTURE,      // graphics
        BINARY,       // binary
        CAMERA_PATH,  // animation
        SCENE,        // objects
        SCENE_OBJECT, // an object by name inside a loaded scene
    };

    Kind kind;
    std::string name;
    // A few words on what the class does with it; may be empty.
    std::string purpose;

    // The kind in words: "shader", "camera path", ...
    static const char* kindName(Kind kind);
};
