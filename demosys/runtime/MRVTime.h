#pragma once

#include <string>

// A time in milliseconds with its minutes/seconds/milliseconds split. Stop
// times, start positions and animation keys are written as "m:s:ms"; the parts
// are kept as given (90 seconds stay 90 seconds), only the total is derived.
class MRVTime
{
public:
    MRVTime();
    explicit MRVTime(unsigned int ticks);
    MRVTime(int minutes, int seconds, int milliseconds);
    explicit MRVTime(const std::string& text);

    void setTicks(unsigned int t);
    void setMinutes(int m);
    // Carries whole minutes out of the seconds.
    void setSeconds(int s);
    // Carries whole seconds out of the milliseconds (not on into minutes).
    void setMilliseconds(int ms);
    void reset();

    int getMinutes() const { return minutes; }
    int getSeconds() const { return seconds; }
    int getMilliseconds() const { return milliseconds; }
    unsigned int getTicks() const { return ticks; }
    double getTicksAsDouble() const { return static_cast<double>(ticks); }
    bool isValid() const { return valid; }

    // "m:s:ms", three integer fields; anything else gives 0 and invalid.
    void setTimeAsString(const std::string& text);
    // "(0000083500)-[01:23:500]"
    std::string toString() const;
    static std::string forceStringLength(std::string s, unsigned int n);

private:
    void updateTicks();

    int minutes = 0;
    int seconds = 0;
    int milliseconds = 0;
    unsigned int ticks = 0;
    bool valid = true;
};
