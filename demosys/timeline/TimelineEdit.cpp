#include "demosys/timeline/TimelineEdit.h"

#include "demosys/timeline/TimelineParser.h"
#include "demosys/timeline/TimelineSyntax.h"
#include "demosys/timeline/TrackSystem.h"
#include "mrvutils/TextLines.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>

namespace {

// Where each of the first pieces of a line starts and ends; the comment and
// the line end follow the last piece. Quoted pieces count whole.
struct Piece
{
    size_t begin;
    size_t end;
};

// Spaces, tabs and carriage returns separate pieces, as they do for the
// parser, wherever they stand.
bool separates(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::vector<Piece> pieces(const std::string& line)
{
    std::vector<Piece> found;
    size_t at = 0;
    while (at < line.size())
    {
        while (at < line.size() && separates(line[at]))
            ++at;
        if (at >= line.size() || line[at] == '#' || line[at] == '\n')
            break;
        const size_t begin = at;
        if (line[at] == '"')
        {
            ++at;
            while (at < line.size() && line[at] != '"')
                at += line[at] == '\\' ? 2 : 1;
            ++at;
        }
        else
            while (at < line.size() && !separates(line[at]) && line[at] != '#' && line[at] != '\n')
                ++at;
        found.push_back({ begin, at < line.size() ? at : line.size() });
    }
    return found;
}

// The line with its pieces replaced by `words`, keeping the indentation and,
// as far as the new widths allow, the column of every later piece and of
// the comment.
std::string rewrite(const std::string& line, const std::vector<std::string>& words, bool keepComment)
{
    const std::vector<Piece> old = pieces(line);
    const size_t indent = old.empty() ? 0 : old.front().begin;
    std::string out = line.substr(0, indent);
    size_t oldEnd = indent;
    for (size_t i = 0; i < words.size(); ++i)
    {
        if (i > 0)
        {
            // The gap before this word as it was, shortened by what the
            // earlier words grew, but at least one space.
            const size_t wantColumn = i < old.size() ? old[i].begin : oldEnd + 1;
            out += std::string(wantColumn > out.size() ? wantColumn - out.size() : 1, ' ');
        }
        out += words[i];
        oldEnd = i < old.size() ? old[i].end : oldEnd + 1 + words[i].size();
    }
    const size_t lastOld = old.empty() ? indent : old.back().end;
    const std::string rest = line.substr(lastOld < line.size() ? lastOld : line.size());
    // The line's end: its "\n" and the carriage returns just before it.
    size_t endAt = rest.size();
    if (endAt > 0 && rest[endAt - 1] == '\n')
        for (--endAt; endAt > 0 && rest[endAt - 1] == '\r';)
            --endAt;
    const size_t comment = rest.find('#');
    if (keepComment && comment < endAt)
    {
        const size_t commentColumn = lastOld + comment;
        out += std::string(commentColumn > out.size() ? commentColumn - out.size() : 1, ' ');
        out += rest.substr(comment, endAt - comment);
    }
    return out + rest.substr(endAt);
}

std::vector<std::string> wordsOf(const std::string& line)
{
    std::vector<std::string> words;
    for (const Piece& piece : pieces(line))
        words.push_back(line.substr(piece.begin, piece.end - piece.begin));
    return words;
}

// New lines into the text before line `at`, so that no two lines run
// together: after a last line without a line end, that line gets one; a new
// line without one (a copy of such a last line) gets one unless it goes last.
void insertLines(std::vector<std::string>& text, size_t at, std::vector<std::string> lines, const std::string& end)
{
    if (at >= text.size() && !text.empty() && text.back().back() != '\n')
        text.back() += end;
    for (size_t i = 0; i < lines.size(); ++i)
        if ((at < text.size() || i + 1 < lines.size()) && (lines[i].empty() || lines[i].back() != '\n'))
            lines[i] += end;
    text.insert(text.begin() + static_cast<long>(std::min(at, text.size())), lines.begin(), lines.end());
}

// The lines of the interval of an object that starts on a row: its "on" or
// "start" line and, after a "start", the "stop" line that ends it.
struct IntervalLines
{
    size_t start = 0;                // index into the text
    size_t stop = 0;                 // 0: none
    std::vector<std::string> words;  // of the start line
};

bool findInterval(const std::map<unsigned int, int>& keys, const std::vector<std::string>& text, unsigned int row,
                  IntervalLines& found)
{
    const auto start = keys.find(row);
    if (start == keys.end())
        return false;
    found.start = static_cast<size_t>(start->second - 1);
    found.words = wordsOf(text[found.start]);
    if (found.words.empty() || (found.words[0] != "on" && found.words[0] != "start"))
        return false;
    const auto stop = std::next(start);
    if (found.words[0] == "start" && stop != keys.end())
    {
        const std::vector<std::string> stopWords = wordsOf(text[static_cast<size_t>(stop->second - 1)]);
        if (!stopWords.empty() && stopWords[0] == "stop")
            found.stop = static_cast<size_t>(stop->second - 1);
    }
    return true;
}

std::string indentOf(const std::string& line)
{
    const std::vector<Piece> found = pieces(line);
    return line.substr(0, found.empty() ? 0 : found.front().begin);
}

} // namespace

TimelineEdit::TimelineEdit(const std::string& fileName_, const std::string& text_)
    : fileName(fileName_), text(text_)
{
}

bool TimelineEdit::fail(const std::string& message)
{
    errorMessage = message;
    return false;
}

bool TimelineEdit::parse(TimelineLines& lines)
{
    TimelineParser parser(fileName);
    std::unique_ptr<TrackSystem> system(parser.parse(text));
    if (!system)
        return fail("the timeline does not compile as it is: " + parser.getErrorMessage());
    lines = parser.getLines();
    rowRate = parser.getRowRate();
    beat = parser.getBeat();
    return true;
}

void TimelineEdit::appendObject(std::vector<std::string>& text, const std::string& object,
                                const std::vector<std::string>& statements)
{
    const std::string end = TextLines::commonEnd(text);
    if (!text.empty() && text.back().back() != '\n')
        text.back() += end;
    text.push_back(end);
    text.push_back("object " + TimelineSyntax::quote(object) + end);
    for (const std::string& statement : statements)
        text.push_back(statement + end);
    editedLine = static_cast<int>(text.size());
}

bool TimelineEdit::readRow(const std::string& at, unsigned int& row)
{
    std::string expected;
    if (!TimelineSyntax::parseTime(at, rowRate, beat, row, expected))
        return fail("expected " + expected);
    return true;
}

bool TimelineEdit::commit(const std::vector<std::string>& lines)
{
    const std::string edited = TextLines::join(lines);
    TimelineParser parser(fileName);
    std::unique_ptr<TrackSystem> system(parser.parse(edited));
    if (!system)
    {
        // The message points into a text the author never saw.
        std::string message = parser.getErrorMessage();
        while (!message.empty() && message.back() == '\n')
            message.pop_back();
        const size_t colon = message.find(": expected ");
        return fail(colon == std::string::npos ? message : message.substr(colon + 2));
    }
    text = edited;
    return true;
}

bool TimelineEdit::setKey(const std::string& object, const std::string& track, const std::string& at,
                          const std::string& curve, const std::string& value)
{
    TimelineLines lines;
    unsigned int row = 0;
    int curveNumber = 0;
    float number = 0.0f;
    std::string expected;
    if (!parse(lines) || !readRow(at, row))
        return false;
    if (!TimelineSyntax::parseCurve(curve, curveNumber))
        return fail(std::string("expected a curve (") + TimelineSyntax::curveList() + "), found '" + curve + "'");
    if (!TimelineSyntax::parseValue(value, number, expected))
        return fail("expected " + expected);

    std::vector<std::string> text = TextLines::split(this->text);
    const std::string end = TextLines::commonEnd(text);
    const std::vector<std::string> words = { at, curve, value };
    const auto object_ = lines.objects.find(object);
    if (object_ == lines.objects.end())
    {
        appendObject(text, object, { "track " + TimelineSyntax::quote(track), "  " + at + " " + curve + " " + value });
        return commit(text);
    }
    const auto tracks = lines.tracks[object];
    const auto track_ = tracks.find(track);
    if (track_ == tracks.end())
    {
        // After the object's last statement, as its last track.
        const size_t after = static_cast<size_t>(lines.objectEnds[object]);
        std::string indent = "  ";
        for (const auto& other : lines.keyframes)
            for (const auto& otherTrack : other.second)
                if (!otherTrack.second.empty())
                    indent = indentOf(text[static_cast<size_t>(otherTrack.second.begin()->second - 1)]);
        insertLines(text, after,
                    { "track " + TimelineSyntax::quote(track) + end, indent + at + " " + curve + " " + value + end }, end);
        editedLine = static_cast<int>(after) + 2;
        return commit(text);
    }

    std::map<unsigned int, int>& keys = lines.keyframes[object][track];
    const auto same = keys.find(row);
    if (same != keys.end())
    {
        const size_t index = static_cast<size_t>(same->second - 1);
        text[index] = rewrite(text[index], words, true);
        editedLine = same->second;
        return commit(text);
    }
    // Beside the key before it in time, laid out as that key is; or before
    // the first key; or under the track line.
    size_t insertAt = static_cast<size_t>(track_->second);
    std::string model;
    auto after = keys.lower_bound(row);
    if (after != keys.begin())
    {
        --after;
        insertAt = static_cast<size_t>(after->second);
        model = text[insertAt - 1];
    }
    else if (!keys.empty())
    {
        insertAt = static_cast<size_t>(keys.begin()->second - 1);
        model = text[insertAt];
    }
    const std::string line =
        model.empty() ? "  " + at + " " + curve + " " + value + end : rewrite(model, words, false);
    insertLines(text, insertAt, { line }, end);
    editedLine = static_cast<int>(insertAt) + 1;
    return commit(text);
}

bool TimelineEdit::removeKey(const std::string& object, const std::string& track, const std::string& at)
{
    TimelineLines lines;
    unsigned int row = 0;
    if (!parse(lines) || !readRow(at, row))
        return false;
    const auto key = lines.keyframes[object][track].find(row);
    if (key == lines.keyframes[object][track].end())
        return fail("no key of " + object + "." + track + " at row " + std::to_string(row));
    std::vector<std::string> text = TextLines::split(this->text);
    text.erase(text.begin() + (key->second - 1));
    editedLine = key->second;
    return commit(text);
}

bool TimelineEdit::moveKey(const std::string& object, const std::string& track, const std::string& from,
                           const std::string& to, const std::string& value)
{
    TimelineLines lines;
    unsigned int oldRow = 0, newRow = 0;
    if (!parse(lines) || !readRow(from, oldRow) || !readRow(to, newRow))
        return false;
    const std::map<unsigned int, int>& keys = lines.keyframes[object][track];
    const auto key = keys.find(oldRow);
    if (key == keys.end())
        return fail("no key of " + object + "." + track + " at row " + std::to_string(oldRow));
    if (newRow != oldRow && keys.count(newRow))
        return fail("a key of " + object + "." + track + " is already on row " + std::to_string(newRow));
    std::vector<std::string> text = TextLines::split(this->text);
    const size_t oldIndex = static_cast<size_t>(key->second - 1);
    const std::vector<std::string> words = wordsOf(text[oldIndex]);
    if (words.size() < 3)
        return fail("the key at row " + std::to_string(oldRow) + " is not one line");
    // The line itself moves, its layout and comment with it, to where its
    // row now belongs: after the key it follows, or before the first one;
    // between the same neighbours that is where it was.
    const std::string moved = rewrite(text[oldIndex], { to, words[1], value.empty() ? words[2] : value }, true);
    std::map<unsigned int, int> others = keys;
    others.erase(oldRow);
    size_t insertAt = oldIndex;
    auto after = others.lower_bound(newRow);
    if (after != others.begin())
        insertAt = static_cast<size_t>(std::prev(after)->second);
    else if (!others.empty())
        insertAt = static_cast<size_t>(others.begin()->second - 1);
    if (insertAt > oldIndex)
        --insertAt;
    text.erase(text.begin() + static_cast<long>(oldIndex));
    insertLines(text, insertAt, { moved }, TextLines::commonEnd(text));
    editedLine = static_cast<int>(insertAt) + 1;
    return commit(text);
}

bool TimelineEdit::setIntervalSpan(const std::string& object, const std::string& at, const std::string& from,
                                   const std::string& to)
{
    TimelineLines lines;
    unsigned int row = 0, first = 0, last = 0;
    if (!parse(lines) || !readRow(at, row) || !readRow(from, first) || !readRow(to, last))
        return false;
    std::vector<std::string> text = TextLines::split(this->text);
    IntervalLines interval;
    if (!findInterval(lines.startStops[object], text, row, interval))
        return fail("no interval of " + object + " starts at row " + std::to_string(row));
    editedLine = static_cast<int>(interval.start) + 1;
    std::vector<std::string>& words = interval.words;
    words[1] = from;
    if (words[0] == "on")
        words[2] = to;
    else if (interval.stop == 0)
        return fail("the interval of " + object + " at row " + std::to_string(row) + " has no stop line to move");
    else
    {
        std::vector<std::string> stopWords = wordsOf(text[interval.stop]);
        stopWords[1] = to;
        text[interval.stop] = rewrite(text[interval.stop], stopWords, true);
    }
    text[interval.start] = rewrite(text[interval.start], words, true);
    return commit(text);
}

bool TimelineEdit::addInterval(const std::string& object, const std::string& from, const std::string& to,
                               const std::string& target)
{
    TimelineLines lines;
    unsigned int first = 0, last = 0;
    if (!parse(lines) || !readRow(from, first) || !readRow(to, last))
        return false;
    std::vector<std::string> text = TextLines::split(this->text);
    const std::string end = TextLines::commonEnd(text);
    const std::string plain =
        "on " + from + " " + to + (target.empty() || target == "screen" ? "" : " " + TimelineSyntax::quote(target));

    if (!lines.objects.count(object))
    {
        appendObject(text, object, { plain });
        return commit(text);
    }
    const auto last_ = lines.startStopEnds.find(object);
    const size_t after = static_cast<size_t>(last_ != lines.startStopEnds.end() ? last_->second : lines.objects[object]);
    const std::string indent = last_ != lines.startStopEnds.end() ? indentOf(text[after - 1]) : std::string();
    insertLines(text, after, { indent + plain + end }, end);
    editedLine = static_cast<int>(after) + 1;
    return commit(text);
}

bool TimelineEdit::setIntervalTarget(const std::string& object, const std::string& at, const std::string& target)
{
    TimelineLines lines;
    unsigned int row = 0;
    if (!parse(lines) || !readRow(at, row))
        return false;
    std::vector<std::string> text = TextLines::split(this->text);
    IntervalLines interval;
    if (!findInterval(lines.startStops[object], text, row, interval))
        return fail("no interval of " + object + " starts at row " + std::to_string(row));
    // The times stay; the target after them is replaced, or dropped for the screen.
    std::vector<std::string>& words = interval.words;
    words.resize(words[0] == "on" ? 3 : 2);
    if (!target.empty() && target != "screen")
        words.push_back(TimelineSyntax::quote(target));
    text[interval.start] = rewrite(text[interval.start], words, true);
    editedLine = static_cast<int>(interval.start) + 1;
    return commit(text);
}

bool TimelineEdit::removeInterval(const std::string& object, const std::string& at)
{
    TimelineLines lines;
    unsigned int row = 0;
    if (!parse(lines) || !readRow(at, row))
        return false;
    std::vector<std::string> text = TextLines::split(this->text);
    IntervalLines interval;
    if (!findInterval(lines.startStops[object], text, row, interval))
        return fail("no interval of " + object + " starts at row " + std::to_string(row));
    // A "start" line's stop line goes with it; the later line first, so
    // that the earlier one's place holds.
    if (interval.stop > interval.start)
        text.erase(text.begin() + static_cast<long>(interval.stop));
    text.erase(text.begin() + static_cast<long>(interval.start));
    if (interval.stop != 0 && interval.stop < interval.start)
        text.erase(text.begin() + static_cast<long>(interval.stop));
    editedLine = static_cast<int>(interval.start) + 1;
    return commit(text);
}
