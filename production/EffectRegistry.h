#pragma once

#include <vector>

class Demo;
class Effect;

// Every effect class a demoscript may name, in the production's fixed order;
// classes not listed cannot be instantiated.
class EffectRegistry
{
public:
    struct Entry
    {
        const char* name;
        Effect* (*make)();
    };

    static const std::vector<Entry>& entries();
    // One template of each class into the demo's template pool.
    static void registerAll(Demo& demo);
};
