#include "demosys/data/DataAnimationPool.h"

#include "demosys/timeline/Animation.h"
#include "demosys/timeline/AnimationParser.h"

#include <iostream>

DataAnimationPool::~DataAnimationPool()
{
    std::cout << "[Dispose animationPool]" << std::endl;
    animations.clear(" -> delete ");
}

void DataAnimationPool::addAnimation(const std::string& name, Animation* animation)
{
    ++count;
    // The pool is the only owner: an animation replaced here would otherwise
    // never be deleted.
    Animation* previous = animations.get(name);
    if (previous != animation)
        delete previous;
    animations.put(name, animation);
}

Animation* DataAnimationPool::getAnimation(const std::string& name) const
{
    return animations.get(name);
}

bool DataAnimationPool::exist(const std::string& name) const
{
    return animations.has(name);
}

bool DataAnimationPool::loadAnimation(const std::string& alias, const std::string& file, std::string& errorMessage)
{
    AnimationParser parser(file);
    Animation* animation = parser.parse();
    if (!parser.isValid() || !animation)
    {
        delete animation;
        errorMessage = parser.getErrorMessage();
        return false;
    }
    addAnimation(alias, animation);
    std::cout << "Loaded '" << file << "' using alias " << alias << std::endl;
    return true;
}

std::string DataAnimationPool::toString()
{
    std::string text = "AnimationPool {\n";
    for (const auto& entry : animations.items())
        text += "    " + entry.first + " = " + (entry.second ? entry.second->toString() : "null\n");
    return text + "}\n";
}
