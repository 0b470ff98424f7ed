#include "production/QuietLog.h"

#include <algorithm>
#include <cctype>

namespace {

// The lines of --dev and the summary start with these.
const char* const KEPT_STARTS[] = {
    "Reload", "Paused", "Resumed", "Seek to", "Loop", "HUD ", "Watching ", "Duration", "FPS", "Video written",
    "benchmark ", "Track '", "Done: ", "Not done: ", "Undone: ", "Redone: ", "No timeline", "Editor ", "Camera ",
};
// Failures and warnings say so, in any of the engine's words for it.
const char* const KEPT_WORDS[] = { "error", "warning", "fail", "cannot", "can't", "missing", "not found", "invalid" };

} // namespace

QuietLog::QuietLog(std::ostream& stream_)
    : stream(stream_), out(stream_.rdbuf(this))
{
}

QuietLog::~QuietLog()
{
    sync();
    if (!line.empty() && (all || keeps(line)))
        out->sputn(line.data(), static_cast<std::streamsize>(line.size()));
    stream.rdbuf(out);
}

bool QuietLog::keeps(const std::string& line)
{
    // The GL extension report names extensions such as GL_KHR_no_error.
    if (line.compare(0, 3, "GL_") == 0)
        return false;
    for (const char* start : KEPT_STARTS)
        if (line.compare(0, std::char_traits<char>::length(start), start) == 0)
            return true;
    std::string lower = line;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* word : KEPT_WORDS)
        if (lower.find(word) != std::string::npos)
            return true;
    return false;
}

int QuietLog::overflow(int c)
{
    if (c == traits_type::eof())
        return traits_type::not_eof(c);
    line.push_back(static_cast<char>(c));
    if (c == '\n')
    {
        if (all || keeps(line))
            out->sputn(line.data(), static_cast<std::streamsize>(line.size()));
        line.clear();
    }
    return c;
}

int QuietLog::sync()
{
    return out->pubsync();
}
