#include "mrvutils/PerlinNoise.h"

#include <benchmark/benchmark.h>

// The ocean evaluates the noise for every grid vertex every frame, so one
// value's cost times the grid size bounds its update.
static void BM_PerlinNoise2D(benchmark::State& state)
{
    PerlinNoise noise(0.5f, 0.05f, 0.5f, static_cast<int>(state.range(0)));
    float x = 0.0f;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(noise.getValue(x, x * 0.5f));
        x += 0.37f;
    }
}
BENCHMARK(BM_PerlinNoise2D)->Arg(1)->Arg(3)->Arg(6);

static void BM_PerlinNoise3D(benchmark::State& state)
{
    PerlinNoise noise(0.5f, 0.05f, 0.5f, 3);
    float x = 0.0f;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(noise.getValue(x, x * 0.5f, x * 0.25f));
        x += 0.37f;
    }
}
BENCHMARK(BM_PerlinNoise3D);
