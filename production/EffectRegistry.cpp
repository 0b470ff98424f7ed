#include "production/EffectRegistry.h"

#include "demosys/runtime/Demo.h"
#include "production/effects/BlendEffect.h"
#include "production/effects/CubeTransitionEffect.h"
#include "production/effects/DiscoBallEffect.h"
#include "production/effects/DisplayTexture.h"
#include "production/effects/EqualizerTransitionEffect.h"
#include "production/effects/FadeEffect.h"
#include "production/effects/FrequencyEffect.h"
#include "production/effects/GhettoblasterEffect.h"
#include "production/effects/GlowEffect.h"
#include "production/effects/MotionBlurEffect.h"
#include "production/effects/OceanEffect.h"
#include "production/effects/OutrunEffect.h"
#include "production/effects/ParticleSystemEffect.h"
#include "production/effects/PixelCarpetEffect.h"
#include "production/effects/SimplexNoiseEffect.h"

namespace {

template <typename T>
Effect* make()
{
    return new T;
}

} // namespace

const std::vector<EffectRegistry::Entry>& EffectRegistry::entries()
{
    // The production's order; one line per class, so classes slot in where
    // they belong.
    static const std::vector<Entry> list = {
        { "OutrunEffect", make<OutrunEffect> },
        { "GhettoblasterEffect", make<GhettoblasterEffect> },
        { "PixelCarpetEffect", make<PixelCarpetEffect> },
        { "FrequencyEffect", make<FrequencyEffect> },
        { "BlendEffect", make<BlendEffect> },
        { "OceanEffect", make<OceanEffect> },
        { "CubeTransitionEffect", make<CubeTransitionEffect> },
        { "EqualizerTransitionEffect", make<EqualizerTransitionEffect> },
        { "DiscoBallEffect", make<DiscoBallEffect> },
        { "GlowEffect", make<GlowEffect> },
        { "ParticleSystemEffect", make<ParticleSystemEffect> },
        { "FadeEffect", make<FadeEffect> },
        { "DisplayTexture", make<DisplayTexture> },
        { "SimplexNoiseEffect", make<SimplexNoiseEffect> },
        { "MotionBlurEffect", make<MotionBlurEffect> },
    };
    return list;
}

void EffectRegistry::registerAll(Demo& demo)
{
    for (const Entry& entry : entries())
        demo.addEffect(entry.name, entry.make());
}
