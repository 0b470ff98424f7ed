#include "demosys/authoring/LoopRegion.h"

bool LoopRegion::loopable(std::string& why) const
{
    if (!endSet)
    {
        why = "needs an end: O sets it at the clock";
        return false;
    }
    if (end <= start)
    {
        why = "needs an end after its start";
        return false;
    }
    return true;
}

bool LoopRegion::keepLoopable(std::string& why)
{
    if (!on || loopable(why))
        return true;
    on = false;
    why = "Loop off: it " + why;
    return false;
}

bool LoopRegion::setStart(unsigned int ms, std::string& why)
{
    start = ms;
    return keepLoopable(why);
}

bool LoopRegion::setEnd(unsigned int ms, std::string& why)
{
    end = ms;
    endSet = true;
    return keepLoopable(why);
}

bool LoopRegion::set(unsigned int from, unsigned int to, std::string& why)
{
    LoopRegion wanted;
    wanted.start = from;
    wanted.end = to;
    wanted.endSet = true;
    if (!wanted.toggle(why))
        return false;
    *this = wanted;
    return true;
}

bool LoopRegion::toggle(std::string& why)
{
    if (on)
    {
        on = false;
        return true;
    }
    if (!loopable(why))
    {
        why = "Loop " + why;
        return false;
    }
    on = true;
    return true;
}
