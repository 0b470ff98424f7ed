#pragma once

#include "demosys/data/DataPool.h"
#include "demosys/data/PoolMap.h"

#include <string>

class Animation;

// Keyframe animations by script alias.
class DataAnimationPool : public DataPool
{
public:
    DataAnimationPool() = default;
    ~DataAnimationPool() override;

    // Takes ownership. A name stored again replaces the earlier animation,
    // which is deleted; every call counts towards size().
    void addAnimation(const std::string& name, Animation* animation);
    // Null when the name is absent.
    Animation* getAnimation(const std::string& name) const;
    bool exist(const std::string& name) const;

    // The loading step of one script entry: parses file (path and name) and
    // stores the animation under alias, printing "Loaded '<file>' using alias
    // <alias>". On failure nothing is stored or printed, and errorMessage
    // receives the parser's text, ready to become the loader's.
    bool loadAnimation(const std::string& alias, const std::string& file, std::string& errorMessage);

    std::string toString() override;

private:
    PoolMap<Animation> animations;
};
