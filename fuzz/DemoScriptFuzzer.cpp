// libFuzzer entry for the demoscript parser; the work is mrvfuzz::runDemoScript in FuzzTargets.h.
#include "fuzz/FuzzEntry.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    mrvfuzz::prepare(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return mrvfuzz::report(mrvfuzz::runDemoScript(data, size));
}
