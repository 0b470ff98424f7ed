#pragma once

class Demo;

// Registers one template of every effect class a demoscript may name, in the
// production's fixed order; classes not listed cannot be instantiated.
class EffectRegistry
{
public:
    static void registerAll(Demo& demo);
};
