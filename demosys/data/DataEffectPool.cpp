#include "demosys/data/DataEffectPool.h"

#include "demosys/runtime/Effect.h"

#include <iostream>

DataEffectPool::~DataEffectPool()
{
    std::cout << "[Dispose effectPool]" << std::endl;
    effects.clear(" -> delete ");
}

void DataEffectPool::addEffect(const std::string& name, Effect* effect)
{
    effects.put(name, effect);
}

Effect* DataEffectPool::getEffect(const std::string& name)
{
    return effects.items()[name];
}

void DataEffectPool::removeEffect(const std::string& name)
{
    effects.items().erase(name);
}

bool DataEffectPool::exist(const std::string& name) const
{
    return effects.has(name);
}

int DataEffectPool::size()
{
    return effects.entries();
}

std::string DataEffectPool::getKey(int index) const
{
    const auto* entry = effects.at(index);
    return entry ? entry->first : std::string();
}

std::string DataEffectPool::toString()
{
    std::string text = "EffectPool {\n";
    for (const auto& entry : effects.items())
        text += "    " + entry.first + " = Effect\n";
    return text + "}\n";
}
