// libFuzzer entry for the effect definition parser; the work is mrvfuzz::runEffectDefinition in FuzzTargets.h.
#include "fuzz/FuzzEntry.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    mrvfuzz::prepare(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return mrvfuzz::report(mrvfuzz::runEffectDefinition(data, size));
}
