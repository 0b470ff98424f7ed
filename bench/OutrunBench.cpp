// The road's per-frame update: two cosines per row and the x and y of all
// 97,920 vertices rewritten in the mapped vertex buffer.
#include "production/effects/Outrun.h"

#include "demosys/gl/GLEntryPoints.h"

#include <GL/glew.h>
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <sstream>
#include <vector>

namespace
{

// A hidden window with a GL context, opened once for the whole run; the
// offscreen driver serves machines without a display.
bool openContext()
{
    static bool open = false;
    if (open)
        return true;
    if (!std::getenv("DISPLAY") && !std::getenv("SDL_VIDEODRIVER"))
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    SDL_Window* window = SDL_CreateWindow("bench", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 64, 64,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window || !SDL_GL_CreateContext(window))
        return false;
    std::string error;
    open = GLEntryPoints::load(&error);
    return open;
}

std::unique_ptr<Outrun> makeRoad()
{
    std::vector<float> map(3600);
    for (size_t i = 0; i < map.size(); ++i)
        map[i] = static_cast<float>(i % 256) / 256.0f;
    // The construction's log line is not part of the measurement.
    std::streambuf* out = std::cout.rdbuf();
    std::ostringstream quiet;
    std::cout.rdbuf(quiet.rdbuf());
    std::unique_ptr<Outrun> road(new Outrun(7.0f, 20, 100, 12, map.data()));
    std::cout.rdbuf(out);
    road->setEyeHeight(-0.75f);
    return road;
}

void BM_OutrunDistortTiles(benchmark::State& state)
{
    if (!openContext())
    {
        state.SkipWithError("no GL context");
        return;
    }
    std::unique_ptr<Outrun> road = makeRoad();
    float phase = 0.0f;
    for (auto _ : state)
    {
        road->setTurn(std::sin(phase) * 3.0f);
        road->setHill(std::cos(phase) * 2.0f);
        road->distortTiles();
        phase += 0.01f;
    }
    glFinish();
    state.SetItemsProcessed(state.iterations() * road->getVertexCount());
    state.counters["vertices"] = road->getVertexCount();
}
BENCHMARK(BM_OutrunDistortTiles)->Unit(benchmark::kMicrosecond);

} // namespace
