#pragma once

#include <chrono>
#include <string>
#include <vector>

// Watches files from the main thread between frames, so that no thread ever
// touches engine data and the frames themselves never touch the disk.
//
// Where the system tells of changes (inotify on Linux), the directories of
// the files are watched and a writer's close, or a file renamed into place,
// is handed out at the very next poll: an edit shows in the next frame. The
// file's modification time and size are still polled every few seconds'
// fraction, as a net for what the notices miss (a file behind a symbolic
// link, a directory replaced, a full event queue); without notices, polling
// is all there is.
//
// A change is handed out only once the file looks finished:
// - a writer closed it or it was renamed into place;
// - or its stamp was the same at two polls in a row, or its last write is
//   older than the settle time;
// - but a file written and not yet closed waits for its close, or for a
//   much longer settle time for writers that never close;
// - a deleted file, once it was missing at two polls in a row.
// A file that an editor is still writing therefore waits instead of being
// read half.
class FileWatcher
{
public:
    FileWatcher(unsigned int intervalMs, unsigned int settleMs);
    ~FileWatcher();

    FileWatcher(const FileWatcher&) = delete;
    FileWatcher& operator=(const FileWatcher&) = delete;

    // Takes the file's present stamp as the version already shown; returns
    // its index. A file of a set that a tool writes together is taken on the
    // timed rule only, whatever its writer's close says, so that one change
    // takes the whole set.
    int add(const std::string& path, bool ofSet = false);
    int size() const { return static_cast<int>(entries.size()); }
    const std::string& path(int index) const { return entries[static_cast<size_t>(index)].path; }
    // Whether changes are told by the system rather than only polled.
    bool notified() const { return notify >= 0; }

    // Returns the indices of finished changes (valid until the next poll);
    // an empty list when there are none. Allocates nothing once every file
    // was added; when nothing changed it reads the event queue and, at the
    // intervals, file status only.
    const std::vector<int>& poll();
    // The change at index was dealt with, applied or refused: it is not
    // handed out again until the file changes once more.
    void handled(int index);
    // Whether the file's stamp is still the one poll() saw: false when it
    // was written again while it was being read.
    bool unchangedSincePoll(int index) const;
    // Whether the file is not the version shown, finished or not.
    bool changedSinceShown(int index) const;
    // Takes the file's present stamp as shown (after the program wrote it).
    void refresh(int index);

private:
    struct Stamp
    {
        bool exists = false;
        long long mtimeNs = 0;
        long long size = 0;
        // A file replaced by another, or rewritten within one tick of the
        // clock that stamps it, differs in these where the stamp may not.
        unsigned long long device = 0;
        unsigned long long inode = 0;
        long long ctimeNs = 0;
        bool operator==(const Stamp& o) const
        {
            return exists == o.exists && mtimeNs == o.mtimeNs && size == o.size && device == o.device &&
                   inode == o.inode && ctimeNs == o.ctimeNs;
        }
        bool operator!=(const Stamp& o) const { return !(*this == o); }
    };
    struct Entry
    {
        std::string path;
        std::string name;     // the last path component, as notices give it
        std::string folder;   // its directory, as a watch is asked for
        int directory = -1;   // the watch of its directory; -1 when none
        bool rewatch = false; // its directory was replaced or moved away
        bool ofSet = false;
        Stamp shown;          // the version the show uses
        Stamp seen;           // the stamp at the latest look
        bool touched = false; // a notice came since the change was handled
        bool closed = false;  // ... and the latest says the write is over
        bool writing = false; // written to and not closed since
    };

    static Stamp stampOf(const std::string& path);
    static long long nowNs();
    void watchDirectory(Entry& entry);
    void readNotices();
    void notice(int directory, const char* name, unsigned int mask);

    std::vector<Entry> entries;
    std::vector<int> ready;
    std::chrono::steady_clock::duration interval;
    std::chrono::steady_clock::duration netInterval;
    long long settleNs;
    long long writingSettleNs;
    std::chrono::steady_clock::time_point lastPoll;
    std::chrono::steady_clock::time_point lastNet;
    int notify = -1;
    // Read into in place, so that taking notices allocates nothing; aligned
    // for the records the kernel writes.
    alignas(8) char noticeBuffer[4096];
};
