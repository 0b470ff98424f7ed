#pragma once

#include "demosys/authoring/FileWatcher.h"
#include "demosys/runtime/FrameBoundary.h"

#include <string>
#include <vector>

// What an author edits shows while the show runs (--dev): the timeline text,
// the track files, the animation files, the shaders and the pictures of the
// loaded production are watched, and a finished change is applied between
// two frames with the clock left where it is. Every reload prints one line,
//   Reloaded 'PATH' in N ms
//   Reload of 'PATH' failed: MESSAGE; keeping the last good version
// and a failed one changes nothing that is drawn.
//
// The timeline is compiled by the same parser as `mrvtrack compile`, its
// track files are written through the safe save, and the running tracks are
// read again from them, so a restart plays what the author saw.
class LiveAuthoring : public FrameBoundary
{
public:
    explicit LiveAuthoring(const std::string& timelineFile);

    // Lists the files of the loaded production; call once loading succeeded.
    void watchProduction();
    void betweenFrames() override;

    int watchedFiles() const { return watcher.size(); }

private:
    enum class Kind { TIMELINE, TRACK, ANIMATION, SHADER, PICTURE };
    struct Watched
    {
        Kind kind;
        std::string name;      // pool name of the animation, shader or texture
        std::string vertex;    // shaders: the pair's two files
        std::string fragment;
    };

    void watch(const std::string& path, const Watched& what);
    bool apply(int index, std::string& error);
    bool compileTimeline(const std::string& file, std::string& error);
    bool reloadTracks(std::string& error);
    void report(int index, bool ok, double ms, const std::string& error) const;

    FileWatcher watcher;
    std::vector<Watched> watched;  // parallel to the watcher's files
    std::vector<int> trackFiles;
    std::string timelineFile;
    std::string trackDirectory;
};
