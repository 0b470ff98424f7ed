// When a watched file's change is handed out: at once for a finished write,
// never for one still being written, once for a set a tool writes together.
#include "demosys/authoring/FileWatcher.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

namespace {

const unsigned int INTERVAL_MS = 10;
const unsigned int SETTLE_MS = 5;

class FileWatcherTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        temp.write("a.txt", "first");
        temp.write("b.txt", "first");
    }

    // Polls for up to `ms`; the first non-empty hand-out, or an empty one.
    static std::vector<int> pollFor(FileWatcher& watcher, int ms)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        do
        {
            const std::vector<int>& ready = watcher.poll();
            if (!ready.empty())
                return ready;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        } while (std::chrono::steady_clock::now() < end);
        return {};
    }

    testsupport::TempDir temp;
    const std::string& dir = temp.path();  // ends with '/'
};

} // namespace

TEST_F(FileWatcherTest, AFinishedWriteIsHandedOutAtTheNextPollAndOnlyOnce)
{
    FileWatcher watcher(INTERVAL_MS, SETTLE_MS);
    const int a = watcher.add(dir + "a.txt");
    watcher.add(dir + "b.txt");
    EXPECT_TRUE(pollFor(watcher, 50).empty()) << "nothing changed";

    temp.write("a.txt", "second");
    const std::vector<int> ready = watcher.notified() ? watcher.poll() : pollFor(watcher, 200);
    ASSERT_EQ(ready, std::vector<int>{ a }) << (watcher.notified() ? "told by the system, no wait" : "polled");
    watcher.handled(a);
    EXPECT_TRUE(pollFor(watcher, 50).empty());

    // A safe save writes beside the file and renames it into place.
    temp.write("a.txt.new", "third");
    ASSERT_EQ(std::rename((dir + "a.txt.new").c_str(), (dir + "a.txt").c_str()), 0);
    EXPECT_EQ(pollFor(watcher, 200), std::vector<int>{ a });
    watcher.handled(a);

    // An editor that renames the old file away before writing the new one:
    // the moment without a file is no deletion.
    ASSERT_EQ(std::rename((dir + "a.txt").c_str(), (dir + "a.txt~").c_str()), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(INTERVAL_MS + 5));
    EXPECT_TRUE(watcher.poll().empty());
    temp.write("a.txt", "fourth");
    EXPECT_EQ(pollFor(watcher, 200), std::vector<int>{ a });
    watcher.handled(a);

    // A rewrite of the same size within one tick of a coarse clock: the
    // stamp and size say nothing, the file's change time does.
    struct stat before;
    ASSERT_EQ(stat((dir + "a.txt").c_str(), &before), 0);
    temp.write("a.txt", "fifth!");
    const struct timespec times[2] = { before.st_atim, before.st_mtim };
    ASSERT_EQ(utimensat(AT_FDCWD, (dir + "a.txt").c_str(), times, 0), 0);
    EXPECT_EQ(pollFor(watcher, 200), std::vector<int>{ a }) << "a rewrite with the old stamp";
    watcher.handled(a);

    std::remove((dir + "a.txt").c_str());
    EXPECT_EQ(pollFor(watcher, 200), std::vector<int>{ a }) << "a deleted file";
}

TEST_F(FileWatcherTest, AFolderReplacedUnderItsFilesIsWatchedThroughNoticesAgain)
{
    // The program's pace: notices at once, the poll of every file only
    // every half second.
    FileWatcher watcher(50, 40);
    if (!watcher.notified())
        GTEST_SKIP() << "without notices there is only the poll";
    ASSERT_EQ(mkdir((dir + "sub").c_str(), 0755), 0);
    temp.write("sub/c.txt", "first");
    const int c = watcher.add(dir + "sub/c.txt");

    // As `mv sub sub.old && cp -a sub.old sub` does: the same bytes and
    // stamp, in another file of another folder.
    struct stat old;
    ASSERT_EQ(stat((dir + "sub/c.txt").c_str(), &old), 0);
    ASSERT_EQ(std::rename((dir + "sub").c_str(), (dir + "sub.old").c_str()), 0);
    ASSERT_EQ(mkdir((dir + "sub").c_str(), 0755), 0);
    temp.write("sub/c.txt", "first");
    const struct timespec times[2] = { old.st_atim, old.st_mtim };
    ASSERT_EQ(utimensat(AT_FDCWD, (dir + "sub/c.txt").c_str(), times, 0), 0);
    EXPECT_EQ(pollFor(watcher, 200), std::vector<int>{ c }) << "the copy is another file";
    watcher.handled(c);

    // Told at once by the new folder's notices, not at the next poll.
    temp.write("sub/c.txt", "second");
    EXPECT_EQ(watcher.poll(), std::vector<int>{ c });
}

TEST_F(FileWatcherTest, AFileStillBeingWrittenWaitsForItsWriter)
{
    FileWatcher watcher(INTERVAL_MS, SETTLE_MS);
    if (!watcher.notified())
        GTEST_SKIP() << "without notices an open writer cannot be told from a finished one";
    const int a = watcher.add(dir + "a.txt");
    {
        std::ofstream out(dir + "a.txt", std::ios::binary);
        out << "half" << std::flush;
        // Many polls, far past the settle time: the half is never taken.
        EXPECT_TRUE(pollFor(watcher, 200).empty());
        out << " and the rest";
    }
    EXPECT_EQ(watcher.poll(), std::vector<int>{ a });
}

TEST_F(FileWatcherTest, ASetWrittenTogetherIsHandedOutInOnePoll)
{
    // The program's pace: a settle time shorter than the interval, so that
    // a poll that falls amid the set's writes takes it whole at the next.
    FileWatcher watcher(50, 40);
    const int a = watcher.add(dir + "a.txt", true);
    const int b = watcher.add(dir + "b.txt", true);
    temp.write("a.txt", "second");
    // The first file of the set alone is not taken, however it was closed.
    EXPECT_TRUE(watcher.poll().empty());
    temp.write("b.txt", "second");
    EXPECT_EQ(pollFor(watcher, 200), (std::vector<int>{ a, b }));
}
