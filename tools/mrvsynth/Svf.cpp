#include "tools/mrvsynth/Svf.h"

#include <algorithm>
#include <cmath>

void Svf::set(float cutoff, float resonance, float rate)
{
    const float limited = std::min(std::max(cutoff, 10.0f), 0.45f * rate);
    const float g = std::tan(3.14159265f * limited / rate);
    k = 2.0f - 1.96f * std::min(std::max(resonance, 0.0f), 1.0f);
    a1 = 1.0f / (1.0f + g * (g + k));
    a2 = g * a1;
    a3 = g * a2;
}
