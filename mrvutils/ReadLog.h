#pragma once

#include <string>
#include <vector>

// The data files a run opened for reading, so that a release can carry
// exactly what a production reads: the files its demoscript names and the
// ones the program opens by a fixed name. Every reader of the production's
// data records the path it opened; nothing is kept until start() is called,
// so a normal run keeps no list.
class ReadLog
{
public:
    static void start();
    static void stop();
    static bool isRecording();

    // Called by a reader after it opened `path`; the path is kept as given,
    // less "./" steps and doubled slashes, once.
    static void record(const std::string& path);

    // Every recorded path, in ascending byte order.
    static std::vector<std::string> files();
};
