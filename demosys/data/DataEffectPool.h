#pragma once

#include "demosys/data/DataPool.h"
#include "demosys/data/PoolMap.h"

#include <string>

class Effect;

// Effects by name: used once for the templates (keyed by class name) and
// once for the script's effect objects (keyed by object name). The pool
// owns its effects.
class DataEffectPool : public DataPool
{
public:
    DataEffectPool() = default;
    ~DataEffectPool() override;

    // Replaces an earlier entry of the name without deleting its effect.
    void addEffect(const std::string& name, Effect* effect);
    // The effect, or null; an unknown name is then entered without an
    // effect, so it counts in size() and is listed by getKey().
    Effect* getEffect(const std::string& name);
    // Forgets the entry without deleting the effect.
    void removeEffect(const std::string& name);
    bool exist(const std::string& name) const;

    // Number of entries.
    int size() override;
    // The index-th name in ascending order, "" outside 0..size-1. It walks
    // from the first entry on every call: loops over every entry use
    // getEffectMap().
    std::string getKey(int index) const;
    const PoolMap<Effect>::Map& getEffectMap() const { return effects.items(); }

    std::string toString() override;

private:
    PoolMap<Effect> effects;
};
