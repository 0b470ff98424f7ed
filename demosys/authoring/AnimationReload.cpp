#include "demosys/authoring/AnimationReload.h"

#include "demosys/timeline/Animation.h"
#include "demosys/timeline/AnimationParser.h"

#include <memory>

namespace {

// What the parser read, taken into the animation when it is fit to fly.
bool take(Animation& animation, const AnimationParser& parser, Animation* parsed, std::string& error)
{
    std::unique_ptr<Animation> fresh(parsed);
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

} // namespace

bool AnimationReload::reload(Animation& animation, const std::string& file, std::string& error)
{
    AnimationParser parser(file);
    Animation* parsed = parser.parse();
    return take(animation, parser, parsed, error);
}

bool AnimationReload::reload(Animation& animation, const std::string& file, const std::string& text,
                             std::string& error)
{
    AnimationParser parser(file);
    Animation* parsed = parser.parse(text);
    return take(animation, parser, parsed, error);
}
