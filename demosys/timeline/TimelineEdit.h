#pragma once

#include "demosys/timeline/TimelineSyntax.h"

#include <string>
#include <vector>

struct TimelineLines;

// Edits of a timeline text made as a careful person makes them in a text
// editor: only the lines an edit concerns change, and within a changed line
// the indentation, the columns and the comment stay; every other byte,
// blank lines and comments included, is kept. Each edit is checked by
// parsing the result, so an edit never leaves a text that does not compile.
//
// Times are written as given (rows or minutes:seconds:milliseconds), as
// are curves and values once they read; names are quoted where they must be.
class TimelineEdit
{
public:
    // fileName is only used in messages.
    TimelineEdit(const std::string& fileName, const std::string& text);

    // Each returns false, with the reason in getErrorMessage() and the text
    // unchanged, when the edit cannot be made. getLine() is then the line
    // the edit wrote or removed.

    // Sets the key at `at` (a new line, or the one already on that row);
    // the track, and the object, are added when the text has none.
    bool setKey(const std::string& object, const std::string& track, const std::string& at, const std::string& curve,
                const std::string& value);
    bool removeKey(const std::string& object, const std::string& track, const std::string& at);
    // The key at `from` goes to row `to` with `value` (its own when empty),
    // its curve kept; it lands beside the key it then follows, laid out as
    // that one, and onto no other key.
    bool moveKey(const std::string& object, const std::string& track, const std::string& from, const std::string& to,
                 const std::string& value);
    // "on FROM TO [TARGET]" after the object's last start/stop line.
    bool addInterval(const std::string& object, const std::string& from, const std::string& to,
                     const std::string& target);
    // The interval that starts at `at`: its "on" line, or its "start" line
    // and the "stop" line that ends it.
    bool removeInterval(const std::string& object, const std::string& at);
    // The render target of the interval that starts at `at`, in its "on" or
    // "start" line; "screen" or "" draws to the screen.
    bool setIntervalTarget(const std::string& object, const std::string& at, const std::string& target);
    // The interval that starts at `at` runs from `from` to `to` instead: the
    // times of its "on" line, or of its "start" line and the "stop" line
    // that ends it.
    bool setIntervalSpan(const std::string& object, const std::string& at, const std::string& from,
                         const std::string& to);

    const std::string& getText() const { return text; }
    const std::string& getErrorMessage() const { return errorMessage; }
    int getLine() const { return editedLine; }

private:
    // The text's lines, row rate and beat, as they are before an edit.
    bool parse(TimelineLines& lines);
    // A time at the text's own row rate and beat.
    bool readRow(const std::string& at, unsigned int& row);
    // A new object block at the end of the text, after a blank line.
    void appendObject(std::vector<std::string>& text, const std::string& object,
                      const std::vector<std::string>& statements);
    // Replaces the text by `lines` (each with its own line end) when they
    // parse; otherwise keeps it and says why.
    bool commit(const std::vector<std::string>& lines);
    bool fail(const std::string& message);

    std::string fileName;
    std::string text;
    int rowRate = 0;
    TimelineBeat beat;
    std::string errorMessage;
    int editedLine = 0;
};
