#include "demosys/authoring/FileWatcher.h"

#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cstring>

#ifdef __linux__
#include <sys/inotify.h>
#endif

namespace {

#ifdef __linux__
// What a file's directory is asked to tell: writes, a writer's close,
// files renamed in and out, created, deleted, and touched stamps.
const uint32_t NOTICES = IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE |
                         IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;
#endif

// With notices, the poll of every file is only a net, so it can be slow.
const int NET_INTERVALS = 10;
// A writer that keeps a file open between writes is given this long before
// what it wrote so far is taken as finished.
const long long WRITING_SETTLE_MS = 1000;

} // namespace

FileWatcher::FileWatcher(unsigned int intervalMs, unsigned int settleMs)
    : interval(std::chrono::milliseconds(intervalMs)), netInterval(interval),
      settleNs(static_cast<long long>(settleMs) * 1000000LL), writingSettleNs(WRITING_SETTLE_MS * 1000000LL),
      lastPoll(std::chrono::steady_clock::now()), lastNet(lastPoll)
{
#ifdef __linux__
    notify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (notify >= 0)
        netInterval = interval * NET_INTERVALS;
#endif
}

FileWatcher::~FileWatcher()
{
    if (notify >= 0)
        close(notify);
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
    stamp.device = static_cast<unsigned long long>(info.st_dev);
    stamp.inode = static_cast<unsigned long long>(info.st_ino);
    stamp.ctimeNs = static_cast<long long>(info.st_ctim.tv_sec) * 1000000000LL + info.st_ctim.tv_nsec;
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

int FileWatcher::add(const std::string& path, bool ofSet)
{
    Entry entry;
    entry.path = path;
    entry.ofSet = ofSet;
    const size_t slash = path.find_last_of('/');
    entry.name = slash == std::string::npos ? path : path.substr(slash + 1);
    entry.folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    entry.shown = entry.seen = stampOf(path);
    watchDirectory(entry);
    entries.push_back(entry);
    ready.reserve(entries.size());
    return static_cast<int>(entries.size()) - 1;
}

void FileWatcher::watchDirectory(Entry& entry)
{
#ifdef __linux__
    if (notify < 0)
        return;
    // The same directory gives the same watch, however it is spelt. A
    // directory that cannot be watched leaves the file to the poll.
    entry.directory = inotify_add_watch(notify, entry.folder.c_str(), NOTICES);
    entry.rewatch = entry.directory < 0;
#else
    (void)entry;
#endif
}

void FileWatcher::readNotices()
{
#ifdef __linux__
    for (;;)
    {
        const ssize_t length = read(notify, noticeBuffer, sizeof noticeBuffer);
        if (length <= 0)
            return;
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= length;)
        {
            const inotify_event* event = reinterpret_cast<const inotify_event*>(noticeBuffer + at);
            notice(event->wd, event->len ? event->name : "", event->mask);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
#endif
}

void FileWatcher::notice(int directory, const char* name, unsigned int mask)
{
#ifdef __linux__
    // Notices were lost, or a directory went: every file is looked at again.
    const bool everyFile = (mask & IN_Q_OVERFLOW) != 0;
    const bool directoryGone = (mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) != 0;
    for (Entry& entry : entries)
    {
        if (!everyFile && entry.directory != directory)
            continue;
        if (directoryGone)
        {
            // The watch went with the directory, or follows it to where it
            // was moved: the path is watched anew at the next poll, whatever
            // directory then stands there.
            if (mask & IN_IGNORED)
                entry.directory = -1;
            entry.rewatch = true;
            entry.touched = true;
            continue;
        }
        if (!everyFile && std::strcmp(entry.name.c_str(), name) != 0)
            continue;
        entry.touched = true;
        if (mask & (IN_CLOSE_WRITE | IN_MOVED_TO))
        {
            entry.closed = !entry.ofSet;
            entry.writing = false;
        }
        else if (mask & (IN_MODIFY | IN_CREATE))
        {
            entry.closed = false;
            entry.writing = true;
        }
        else if (mask & (IN_DELETE | IN_MOVED_FROM))
        {
            entry.closed = false;
            entry.writing = false;
        }
    }
#else
    (void)directory;
    (void)name;
    (void)mask;
#endif
}

const std::vector<int>& FileWatcher::poll()
{
    ready.clear();
    if (notify >= 0)
        readNotices();
    const auto now = std::chrono::steady_clock::now();
    const bool timed = now - lastPoll >= interval;
    if (timed)
        lastPoll = now;
    const bool net = now - lastNet >= netInterval;
    if (net)
        lastNet = now;
    long long wallNow = 0;
    for (size_t i = 0; i < entries.size(); ++i)
    {
        Entry& entry = entries[i];
        if (entry.rewatch && (timed || net))
            watchDirectory(entry);
        if (!entry.closed && !(entry.touched && timed) && !net)
            continue;
        const Stamp stamp = stampOf(entry.path);
        const bool stable = stamp == entry.seen;
        entry.seen = stamp;
        if (stamp == entry.shown)
        {
            entry.touched = entry.closed = false;
            continue;
        }
        if (!wallNow)
            wallNow = nowNs();
        // A written file is finished when its writer closed it, or when it
        // stood still for a poll or was last written long enough ago. A
        // missing one must still be missing at the next poll: editors that
        // save by renaming the old file away leave a moment without one.
        const long long age = wallNow - stamp.mtimeNs;
        const bool finished =
            entry.closed ||
            (!stamp.exists ? stable : entry.writing ? age >= writingSettleNs : stable || age >= settleNs);
        if (finished)
            ready.push_back(static_cast<int>(i));
    }
    return ready;
}

void FileWatcher::handled(int index)
{
    Entry& entry = entries[static_cast<size_t>(index)];
    entry.shown = entry.seen;
    entry.touched = entry.closed = false;
}

bool FileWatcher::unchangedSincePoll(int index) const
{
    const Entry& entry = entries[static_cast<size_t>(index)];
    return stampOf(entry.path) == entry.seen;
}

bool FileWatcher::changedSinceShown(int index) const
{
    const Entry& entry = entries[static_cast<size_t>(index)];
    return stampOf(entry.path) != entry.shown;
}

void FileWatcher::refresh(int index)
{
    Entry& entry = entries[static_cast<size_t>(index)];
    entry.shown = entry.seen = stampOf(entry.path);
    entry.touched = entry.closed = entry.writing = false;
}
