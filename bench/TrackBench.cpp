#include "demosys/runtime/Effect.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackInterpolate.h"
#include "demosys/timeline/TrackKeyFrameInterpolate.h"
#include "demosys/timeline/TrackStartStop.h"
#include "demosys/timeline/TrackStartStopKeyFrame.h"
#include "demosys/timeline/TrackSystem.h"

#include <benchmark/benchmark.h>

#include <vector>

// Every active effect evaluates its tracks every frame, so one lookup's cost
// times the tracks on screen bounds the timeline's share of a frame. The
// lookups search an ordered map: the time per call should grow with the
// logarithm of the keyframe count, not with the count.
namespace
{
const unsigned int ROW_SPACING = 4;
const unsigned int QUERIES = 4096;

// Rows spread over the whole track in an order the branch predictor cannot
// learn, so each call pays for a real search.
std::vector<unsigned int> queryRows(unsigned int lastRow)
{
    std::vector<unsigned int> rows(QUERIES);
    unsigned int x = 12345u;
    for (unsigned int& row : rows)
    {
        x = x * 1664525u + 1013904223u;
        row = lastRow ? (x >> 8) % (lastRow + ROW_SPACING) : 0;
    }
    return rows;
}

TrackInterpolate* valueTrack(int keyframes)
{
    TrackInterpolate* track = new TrackInterpolate("bench");
    for (int i = 0; i < keyframes; ++i)
        track->addKeyframe(new TrackKeyFrameInterpolate(static_cast<unsigned int>(i) * ROW_SPACING, i % 5,
                                                        static_cast<float>(i % 7)));
    return track;
}

// Alternating start and stop keyframes: keyframes / 2 intervals.
TrackStartStop* intervalTrack(int keyframes)
{
    TrackStartStop* track = new TrackStartStop(0);
    for (int i = 0; i < keyframes; ++i)
        track->addKeyframe(new TrackStartStopKeyFrame(static_cast<unsigned int>(i) * ROW_SPACING,
                                                      i % 2 == 0 ? TrackKeyFrame::START : TrackKeyFrame::STOP));
    return track;
}

class NullEffect : public Effect
{
public:
    void draw(unsigned int time, unsigned int) override { benchmark::DoNotOptimize(time); }
};
}

static void BM_TrackGetValue(benchmark::State& state)
{
    const int keyframes = static_cast<int>(state.range(0));
    TrackSystem system;
    MRVDemosys::tracks = &system;
    TrackInterpolate* track = valueTrack(keyframes);
    // Times in milliseconds at 20 rows per second: 50 ms per row.
    std::vector<unsigned int> times = queryRows(static_cast<unsigned int>(keyframes) * ROW_SPACING);
    for (unsigned int& t : times)
        t *= 50u;
    size_t i = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(track->getValue(times[i]));
        i = (i + 1) % QUERIES;
    }
    state.SetComplexityN(keyframes);
    delete track;
    MRVDemosys::tracks = nullptr;
}
BENCHMARK(BM_TrackGetValue)->RangeMultiplier(10)->Range(10, 100000)->Complexity(benchmark::oLogN);

static void BM_TrackIsActive(benchmark::State& state)
{
    const int keyframes = static_cast<int>(state.range(0));
    TrackStartStop* track = intervalTrack(keyframes);
    const std::vector<unsigned int> rows = queryRows(static_cast<unsigned int>(keyframes) * ROW_SPACING);
    size_t i = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(track->isActive(0, rows[i]));
        i = (i + 1) % QUERIES;
    }
    state.SetComplexityN(keyframes);
    delete track;
}
BENCHMARK(BM_TrackIsActive)->RangeMultiplier(10)->Range(10, 100000)->Complexity(benchmark::oLogN);

static void BM_TrackGetRenderTarget(benchmark::State& state)
{
    const int keyframes = static_cast<int>(state.range(0));
    TrackStartStop* track = intervalTrack(keyframes);
    const std::vector<unsigned int> rows = queryRows(static_cast<unsigned int>(keyframes) * ROW_SPACING);
    size_t i = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(track->getRenderTarget(rows[i]));
        i = (i + 1) % QUERIES;
    }
    state.SetComplexityN(keyframes);
    delete track;
}
BENCHMARK(BM_TrackGetRenderTarget)->RangeMultiplier(10)->Range(10, 100000)->Complexity(benchmark::oLogN);

// One frame of the scheduler over a production-sized set of effects, each
// with a 1000-keyframe start/stop track; no render targets (no GL here).
static void BM_TrackSystemFrame(benchmark::State& state)
{
    const int effects = static_cast<int>(state.range(0));
    TrackSystem system;
    std::vector<NullEffect> drawn(static_cast<size_t>(effects));
    for (int e = 0; e < effects; ++e)
    {
        TrackGroup* group = new TrackGroup("fx" + std::to_string(e));
        group->setStartStopTrack(intervalTrack(1000));
        group->setEffect(&drawn[static_cast<size_t>(e)]);
        system.addTrackGroup(group);
    }
    system.createPrioritySystem();
    const std::vector<unsigned int> rows = queryRows(1000 * ROW_SPACING);
    size_t i = 0;
    for (auto _ : state)
    {
        system.processSystem(rows[i] * 50u, rows[i], 16);
        i = (i + 1) % QUERIES;
    }
}
BENCHMARK(BM_TrackSystemFrame)->Arg(8)->Arg(32);
