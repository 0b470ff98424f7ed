#pragma once

#include <string>

// The one line a failed GL object prints when it is first used. Its
// operations run every frame and must not flood the log, so the object says
// what is wrong once and then stays silent.
class FailureNotice
{
public:
    bool given() const { return said; }
    // Prints the text (which ends in "\n") and raises MRVDemosys::system_error.
    void give(const std::string& text);
    // A mended object may fail again and then says so again.
    void forget() { said = false; }

private:
    bool said = false;
};
