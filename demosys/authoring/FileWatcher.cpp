#include "demosys/authoring/FileWatcher.h"

#include <sys/stat.h>
#include <time.h>

FileWatcher::FileWatcher(unsigned int intervalMs, unsigned int settleMs)
    : interval(std::chrono::milliseconds(intervalMs)), settleNs(static_cast<long long>(settleMs) * 1000000LL),
      lastPoll(std::chrono::steady_clock::now())
{
}

FileWatcher::Stamp FileWatcher::stampOf(const std::string& path)
{
    Stamp stamp;
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return stamp;
    stamp.exists = true;
    stamp.mtimeNs = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    stamp.size = static_cast<long long>(info.st_size);
    return stamp;
}

long long FileWatcher::nowNs()
{
    // Modification times are wall-clock times, so the age is measured on
    // the same clock.
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

int FileWatcher::add(const std::string& path)
{
    Entry entry;
    entry.path = path;
    entry.shown = entry.seen = stampOf(path);
    entries.push_back(entry);
    ready.reserve(entries.size());
    return static_cast<int>(entries.size()) - 1;
}

const std::vector<int>& FileWatcher::poll()
{
    ready.clear();
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPoll < interval)
        return ready;
    lastPoll = now;
    const long long wallNow = nowNs();
    for (size_t i = 0; i < entries.size(); ++i)
    {
        Entry& entry = entries[i];
        const Stamp stamp = stampOf(entry.path);
        const bool stable = stamp == entry.seen;
        entry.seen = stamp;
        if (stamp == entry.shown)
            continue;
        // A deleted file is finished as soon as it is seen; a written one
        // when it stood still for a poll or was last written long enough ago.
        if (stable || !stamp.exists || wallNow - stamp.mtimeNs >= settleNs)
            ready.push_back(static_cast<int>(i));
    }
    return ready;
}

void FileWatcher::handled(int index)
{
    Entry& entry = entries[static_cast<size_t>(index)];
    entry.shown = entry.seen;
}

bool FileWatcher::unchangedSincePoll(int index) const
{
    const Entry& entry = entries[static_cast<size_t>(index)];
    return stampOf(entry.path) == entry.seen;
}

void FileWatcher::refresh(int index)
{
    Entry& entry = entries[static_cast<size_t>(index)];
    entry.shown = entry.seen = stampOf(entry.path);
}
