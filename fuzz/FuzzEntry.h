#pragma once

// The part every libFuzzer entry point shares: quiet readers, and a broken
// promise turned into a crash so that libFuzzer keeps the input.

#include "fuzz/FuzzTargets.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace mrvfuzz
{

// The readers log every keyframe and block to std::cout; at thousands of
// inputs a second that is most of the work and drowns the fuzzer's own
// lines. Errors on stderr stay visible.
inline void prepare(bool scriptWorld)
{
    std::cout.rdbuf(nullptr);
    if (scriptWorld)
    {
        // Lives until exit, and stays reachable so the leak check ignores it.
        static ScriptWorld* world = new ScriptWorld();
        (void)world;
    }
}

inline int report(const Outcome& outcome)
{
    if (!outcome.broken.empty())
    {
        std::fprintf(stderr, "\n==mrvfuzz== broken promise: %s\n", outcome.broken.c_str());
        std::abort();
    }
    return 0;
}

} // namespace mrvfuzz
