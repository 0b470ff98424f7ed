// libFuzzer entry for the 3D object loader; the work is mrvfuzz::runSceneLoader
// in FuzzTargets.h. The loader uploads vertex buffers, so one hidden window
// with a GL context (SDL's offscreen driver without a display) stays open for
// the whole run.
#include "fuzz/FuzzEntry.h"
#include "tests/support/GLTestContext.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    mrvfuzz::prepare(false);
    if (!GLTestContext::open())
    {
        std::fprintf(stderr, "SceneLoaderFuzzer: no OpenGL context\n");
        std::exit(1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return mrvfuzz::report(mrvfuzz::runSceneLoader(data, size));
}
