#pragma once

#include <string>

class Animation;

// Reads an animation file again into the animation the pool already holds:
// the effects' controllers point at that object, so it must stay the same
// one and only its keyframes change.
class AnimationReload
{
public:
    // Refuses a file the parser rejects, and one with fewer keyframes than
    // the animation's interpolation needs to evaluate anything.
    static bool reload(Animation& animation, const std::string& file, std::string& error);
    // The same from the file's text, already read or about to be written.
    static bool reload(Animation& animation, const std::string& file, const std::string& text, std::string& error);
};
