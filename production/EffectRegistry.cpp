#include "production/EffectRegistry.h"

#include "demosys/runtime/Demo.h"

void EffectRegistry::registerAll(Demo&)
{
    // The effect classes register here, in the production's order, as they
    // are added to production/effects/.
}
