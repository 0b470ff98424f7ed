// libFuzzer entry for the animation parser; the work is mrvfuzz::runAnimation in FuzzTargets.h.
#include "fuzz/FuzzEntry.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    mrvfuzz::prepare(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return mrvfuzz::report(mrvfuzz::runAnimation(data, size));
}
