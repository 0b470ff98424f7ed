#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "demosys/authoring/DevShow.h"


// The editor's commands, one line of text each, so that a script or a test
// drives the same code a mouse does (--dev --headless reads them from
// standard input):
//
//   key OBJECT.TRACK TIME CURVE VALUE   set a key (added, or the one on that row)
//   unkey OBJECT.TRACK TIME             delete the key on that row
//   move OBJECT.TRACK FROM TO [VALUE]   move the key on row FROM to TO (and give it VALUE)
//   on OBJECT FROM TO [TARGET]          add an interval (the screen without a target)
//   off OBJECT TIME                     delete the interval that starts at TIME
//   span OBJECT TIME FROM TO            the interval that starts at TIME runs from FROM to TO
//   target OBJECT TIME TARGET           draw that interval into TARGET ("screen" for the screen)
//   seek TIME                           move the clock
//   loop FROM TO                        loop from FROM to TO
//   camera fly                          the fly camera takes over, from the camera's pose now
//   camera set X Y Z PITCH HEADING      the fly camera takes over at that pose
//   camera off                          the scenes fly their paths again
//   camera commit [new]                 the fly camera's pose into the camera path playing
//                                       now: its keyframe nearest to where the path is, or
//                                       with "new" a keyframe inserted there
//   undo, redo                          step through the edits made here
//
// Times as in the timeline text (rows or minutes:seconds:milliseconds);
// names may be quoted as there. An edit changes the timeline text as a
// careful person would (only the lines it concerns) and then goes through
// the same check, compile and reload as a saved file; a commit changes the
// camera path file's lines of that keyframe alone. Each command prints one
// line: what it did, or why not.
class DevCommands
{
public:
    // The show is the session's; it outlives the commands.
    explicit DevCommands(const DevShow& show) : show(show) {}

    // Runs one command line and prints its line; false when it was refused.
    bool run(const std::string& line);
    // The line the last command printed, for the editor's console.
    const std::string& getLastLine() const { return lastLine; }

private:
    struct Edit
    {
        std::string command;
        std::string file;  // empty: the timeline
        std::string before;
        std::string after;
    };

    bool edit(const std::string& command, const std::vector<std::string>& words);
    bool camera(const std::string& command, const std::vector<std::string>& words);
    bool commit(const std::string& command, bool insert);
    bool restore(bool undo);
    bool refuse(const std::string& command, const std::string& why);
    void say(const std::string& line);
    // "Done: COMMAND ('FILE' line N) in N ms" and the note.
    void sayDone(const std::string& command, const std::string& file, int line,
                 std::chrono::steady_clock::time_point started, const std::string& note);
    std::string moment(unsigned int ms) const;

    const DevShow& show;
    std::vector<Edit> done;
    std::vector<Edit> undone;
    std::string lastLine;
};
