#include "production/RenderProgress.h"

#include <cstdio>

namespace {

// A terminal is redrawn often enough to look live; a file gets a line now
// and then.
const std::chrono::milliseconds TERMINAL_INTERVAL(250);
const std::chrono::milliseconds PLAIN_INTERVAL(5000);

std::string clockText(long long seconds)
{
    char text[32];
    if (seconds >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
    return text;
}

} // namespace

RenderProgress::RenderProgress(FrameObserver& next_, long long totalFrames, int fps_, unsigned int startMs_,
                               std::FILE* out_, bool terminal_)
    : next(next_), total(totalFrames), fps(fps_ > 0 ? fps_ : 60), startMs(startMs_), out(out_), terminal(terminal_),
      started(Clock::now()), lastReport(started)
{
}

long long RenderProgress::frameCount(unsigned int startMs, unsigned int stopMs, int fps, long long frameLimit)
{
    long long count = 1;
    if (fps > 0 && stopMs >= startMs)
    {
        // The last k with start + k * 1000 / fps <= stop, counted from 0,
        // and the one after it that ends the show.
        const long long span = static_cast<long long>(stopMs - startMs);
        long long k = span * fps / 1000;
        while (k * 1000 / fps > span)
            --k;
        while ((k + 1) * 1000 / fps <= span)
            ++k;
        count = k + 2;
    }
    if (frameLimit >= 0 && frameLimit < count)
        count = frameLimit;
    return count;
}

std::string RenderProgress::describe(long long frame, long long total, unsigned int showMs, double framesPerSecond)
{
    char text[160];
    const unsigned int ms = showMs % 1000u, seconds = showMs / 1000u;
    if (total > 0)
    {
        const long long left = total > frame ? total - frame : 0;
        const long long secondsLeft =
            framesPerSecond > 0.0 ? static_cast<long long>(static_cast<double>(left) / framesPerSecond + 0.5) : 0;
        std::snprintf(text, sizeof text, "frame %lld/%lld  show %u:%02u.%03u  %.1f fps  %s left", frame, total,
                      seconds / 60u, seconds % 60u, ms, framesPerSecond, clockText(secondsLeft).c_str());
    }
    else
        std::snprintf(text, sizeof text, "frame %lld  show %u:%02u.%03u  %.1f fps", frame, seconds / 60u,
                      seconds % 60u, ms, framesPerSecond);
    return text;
}

void RenderProgress::frameDrawn(unsigned int frame)
{
    next.frameDrawn(frame);
    ++drawn;
    const Clock::time_point now = Clock::now();
    if (now - lastReport >= (terminal ? TERMINAL_INTERVAL : PLAIN_INTERVAL))
        report(now);
}

void RenderProgress::finish()
{
    if (drawn == 0)
        return;
    report(Clock::now());
    if (terminal)
        std::fputc('\n', out);
    std::fflush(out);
}

void RenderProgress::report(Clock::time_point now)
{
    const double seconds = std::chrono::duration<double>(now - started).count();
    const double rate = seconds > 0.0 ? static_cast<double>(drawn) / seconds : 0.0;
    // The frame shown last, counted from 1 as the frames written are.
    const long long last = drawn - 1;
    const unsigned int showMs =
        startMs + static_cast<unsigned int>(static_cast<unsigned long long>(last) * 1000u / static_cast<unsigned>(fps));
    const std::string text = "kelvarn: " + describe(drawn, total, showMs, rate);
    if (terminal)
        std::fprintf(out, "\r%s\033[K", text.c_str());
    else
        std::fprintf(out, "%s\n", text.c_str());
    std::fflush(out);
    lastReport = now;
}
