#pragma once

#include "demosys/authoring/FileWatcher.h"

#include <functional>
#include <string>
#include <vector>

// What an author edits shows while the show runs (--dev): the timeline text,
// the track files, the animation files, the shaders and the pictures of the
// loaded production are watched, and a finished change is applied between
// two frames with the clock left where it is. Every reload prints one line,
//   Reloaded 'PATH' in N ms
//   Reload of 'PATH' failed: MESSAGE; keeping the last good version
// (a shader pair: Reloaded shader 'NAME' ('VERT', 'FRAG') in N ms), and a
// failed one changes nothing that is drawn.
//
// The timeline is parsed by the engine's timeline parser, checked against
// the loaded production (objects, render targets, row rate, track names),
// and only then compiled into the track folder, all or nothing: the folder
// holds exactly the timeline afterwards, and the running tracks are read
// again from it, so a restart plays what the author saw.
class Animation;

class LiveAuthoring
{
public:
    // An empty timeline: the track files are watched, no timeline is
    // compiled.
    explicit LiveAuthoring(const std::string& timelineFile);

    // Lists the files of the loaded production; call once loading succeeded.
    void watchProduction();
    int watchedFiles() const { return watcher.size(); }

    // Applies the changes that are finished; call between two frames.
    void betweenFrames();
    // Every shader of the production read again through the same path as a
    // watched change, with the same lines (the R key).
    void reloadShaders();

    // An edit of the timeline made in the program: the new text is checked
    // and compiled as a saved file is, written over the timeline file, and
    // the running tracks read again. False, with nothing written, when it
    // does not compile or fit the show.
    bool editTimeline(const std::string& text, std::string& error, std::string& note);
    // The file a camera path of the animation pool was read from; false for
    // a path this show does not watch.
    bool animationFile(const Animation* path, std::string& file) const;
    // An edit of that file made in the program: the new text is read as a
    // saved file is, written over the file and flown from the next pose on.
    // False, with nothing written, when it does not read.
    bool editAnimation(const std::string& file, const std::string& text, std::string& error);

    // The timeline text as it is on disk; false without one.
    bool readTimeline(std::string& text) const;
    const std::string& getTimelineFile() const { return timelineFile; }

private:
    enum class Kind { TIMELINE, TRACK, ANIMATION, SHADER, PICTURE };
    // Files that are read together: a shader's two sources, every track
    // file; any other file is a unit of its own.
    struct Unit
    {
        Kind kind;
        std::string name;          // pool name of the animation, shader or texture
        std::vector<int> files;    // watcher indices
    };

    int addUnit(Kind kind, const std::string& name);
    void watch(int unit, const std::string& path);
    // Whether a file of the unit other than `index` changed and is not
    // settled yet: the unit waits for it.
    bool partnerPending(const Unit& unit, int index, const std::vector<int>& ready) const;
    bool apply(const Unit& unit, int index, std::string& error, std::string& note);
    bool compileTimeline(const std::string& file, std::string& error, std::string& note);
    // beforeWrite runs once the text is known good, before any track file
    // is written; false from it stops the compile.
    bool compileText(const std::string& file, const std::string& text,
                     const std::function<bool(std::string&)>& beforeWrite, std::string& error, std::string& note);
    bool reloadTracks(bool afterCompile, std::string& error, std::string& note);
    // Atomically, and taken as shown by the watch.
    bool writeTimeline(const std::string& text);
    std::string label(const Unit& unit, int index) const;
    void report(const std::string& what, bool ok, double ms, const std::string& error, const std::string& note) const;

    FileWatcher watcher;
    std::vector<Unit> units;
    std::vector<int> unitOf;  // parallel to the watcher's files
    int trackUnit = -1;
    std::string timelineFile;
    std::string trackDirectory;
};
