#pragma once

#include <chrono>
#include <string>
#include <vector>

// Watches files by polling their modification time and size from the main
// thread between frames, so that no thread ever touches engine data and the
// frames themselves never touch the disk.
//
// A change is handed out only once the file looks finished: its stamp was
// the same at two polls in a row, or its last write is older than the
// settle time. A file that an editor is still writing therefore waits for
// the next poll instead of being read half.
class FileWatcher
{
public:
    FileWatcher(unsigned int intervalMs, unsigned int settleMs);

    // Takes the file's present stamp as the version already shown; returns
    // its index.
    int add(const std::string& path);
    int size() const { return static_cast<int>(entries.size()); }
    const std::string& path(int index) const { return entries[static_cast<size_t>(index)].path; }

    // Stats every file when the interval has passed since the last poll and
    // returns the indices of finished changes (valid until the next poll);
    // an empty list otherwise. Allocates nothing once every file was added.
    const std::vector<int>& poll();
    // The change at index was dealt with, applied or refused: it is not
    // handed out again until the file changes once more.
    void handled(int index);
    // Whether the file's stamp is still the one poll() saw: false when it
    // was written again while it was being read.
    bool unchangedSincePoll(int index) const;
    // Takes the file's present stamp as shown (after the program wrote it).
    void refresh(int index);

private:
    struct Stamp
    {
        bool exists = false;
        long long mtimeNs = 0;
        long long size = 0;
        bool operator==(const Stamp& o) const
        {
            return exists == o.exists && mtimeNs == o.mtimeNs && size == o.size;
        }
        bool operator!=(const Stamp& o) const { return !(*this == o); }
    };
    struct Entry
    {
        std::string path;
        Stamp shown;  // the version the show uses
        Stamp seen;   // the stamp at the latest poll
    };

    static Stamp stampOf(const std::string& path);
    static long long nowNs();

    std::vector<Entry> entries;
    std::vector<int> ready;
    std::chrono::steady_clock::duration interval;
    long long settleNs;
    std::chrono::steady_clock::time_point lastPoll;
};
