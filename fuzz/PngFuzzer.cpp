// libFuzzer entry for the PNG decoder; the work is mrvfuzz::runPng in FuzzTargets.h.
#include "fuzz/FuzzEntry.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    mrvfuzz::prepare(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return mrvfuzz::report(mrvfuzz::runPng(data, size));
}
