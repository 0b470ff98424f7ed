#include "demosys/authoring/AnimationReload.h"

#include "demosys/timeline/Animation.h"
#include "demosys/timeline/AnimationParser.h"

#include "mrvutils/File.h"

#include <memory>

bool AnimationReload::reload(Animation& animation, const std::string& file, std::string& error)
{
    File input(file, File::READ);
    if (!input.exists())
    {
        AnimationParser parser(file);
        parser.loadFile(file);
        error = parser.getErrorMessage();
        return false;
    }
    return reload(animation, file, input.getAsString(), error);
}

bool AnimationReload::reload(Animation& animation, const std::string& file, const std::string& text,
                             std::string& error)
{
    AnimationParser parser(file);
    std::unique_ptr<Animation> fresh(parser.parse(text));
    if (!fresh || !parser.isValid())
    {
        error = parser.getErrorMessage();
        return false;
    }
    // Too short a path would print an out-of-range line at every frame.
    const int needed = animation.getInterpolationType() == Animation::CATMULL_ROM ? 4 : 2;
    if (fresh->countKeyFrames() < needed)
    {
        error = "it has " + std::to_string(fresh->countKeyFrames()) + " keyframes, the path needs at least " +
                std::to_string(needed);
        return false;
    }
    animation.replaceKeyframes(*fresh);
    return true;
}
