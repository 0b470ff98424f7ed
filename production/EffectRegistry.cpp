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

void EffectRegistry::registerAll(Demo& demo)
{
    // The production's order; one line per class, so classes slot in where
    // they belong.
    demo.addEffect("OutrunEffect", new OutrunEffect);
    demo.addEffect("GhettoblasterEffect", new GhettoblasterEffect);
    demo.addEffect("PixelCarpetEffect", new PixelCarpetEffect);
    demo.addEffect("FrequencyEffect", new FrequencyEffect);
    demo.addEffect("BlendEffect", new BlendEffect);
    demo.addEffect("OceanEffect", new OceanEffect);
    demo.addEffect("CubeTransitionEffect", new CubeTransitionEffect);
    demo.addEffect("EqualizerTransitionEffect", new EqualizerTransitionEffect);
    demo.addEffect("DiscoBallEffect", new DiscoBallEffect);
    demo.addEffect("GlowEffect", new GlowEffect);
    demo.addEffect("ParticleSystemEffect", new ParticleSystemEffect);
    demo.addEffect("FadeEffect", new FadeEffect);
    demo.addEffect("DisplayTexture", new DisplayTexture);
    demo.addEffect("SimplexNoiseEffect", new SimplexNoiseEffect);
    demo.addEffect("MotionBlurEffect", new MotionBlurEffect);
}
