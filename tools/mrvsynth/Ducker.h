#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The pumping of sidechain compression, computed from the kick's hits
// rather than measured: 1 just after a hit, back to 0 over the recovery
// time. Tracks multiply their level by 1 - duck x this.
class Ducker
{
public:
    Ducker(std::vector<uint64_t> hits, float rate);

    void fill(uint64_t start, size_t count, float* out) const;

private:
    float shape(uint64_t sinceHit) const;

    std::vector<uint64_t> hits;  // sorted sample positions
    float attack;
    float recovery;
};
