#include "tools/mrvsynth/NoiseSource.h"

namespace
{
uint32_t mix(uint32_t h)
{
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}
}

uint32_t NoiseSource::hash(uint32_t a, uint32_t b, uint32_t c)
{
    return mix(mix(mix(a) ^ b) ^ c);
}
