#include "demosys/authoring/HudText.h"

#include <cstdio>

namespace {

// snprintf's count is what the text would have taken; the caller wants
// what the buffer holds.
int held(int wanted, size_t size)
{
    if (wanted < 0 || size == 0)
        return 0;
    return static_cast<size_t>(wanted) < size ? wanted : static_cast<int>(size - 1);
}

} // namespace

int HudText::time(char* out, size_t size, unsigned int ms)
{
    return held(std::snprintf(out, size, "%u:%02u.%03u", ms / 60000u, ms / 1000u % 60u, ms % 1000u), size);
}

int HudText::position(char* out, size_t size, unsigned int ms, unsigned int row, int rowsPerBeat, int beatsPerBar)
{
    int n = time(out, size, ms);
    n += held(std::snprintf(out + n, size - static_cast<size_t>(n), " ROW %u", row), size - static_cast<size_t>(n));
    if (rowsPerBeat <= 0)
        return n;
    const unsigned int perBar = beatsPerBar > 0 ? static_cast<unsigned int>(beatsPerBar) : 1u;
    const unsigned int beat = row / static_cast<unsigned int>(rowsPerBeat);
    n += held(std::snprintf(out + n, size - static_cast<size_t>(n), " BAR %u BEAT %u", beat / perBar + 1u,
                            beat % perBar + 1u),
              size - static_cast<size_t>(n));
    return n;
}

int HudText::frame(char* out, size_t size, double fps, double cpuMs)
{
    return held(std::snprintf(out, size, "%.1f FPS %.1f MS", fps, cpuMs), size);
}

int HudText::effect(char* out, size_t size, const char* name, const char* target, int priority)
{
    return held(std::snprintf(out, size, "%s - %s P%d", name, target ? target : "SCREEN", priority), size);
}
