#include "demosys/gl/FailureNotice.h"

#include "demosys/runtime/MRVDemosys.h"

#include <iostream>

void FailureNotice::give(const std::string& text)
{
    said = true;
    MRVDemosys::system_error = true;
    std::cout << text << std::flush;
}
