#include "demosys/timeline/TimelineParser.h"

#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackInterpolate.h"
#include "demosys/timeline/TrackKeyFrameInterpolate.h"
#include "demosys/timeline/TrackStartStop.h"
#include "demosys/timeline/TrackStartStopKeyFrame.h"
#include "demosys/timeline/TrackSystem.h"

namespace
{
const char* const SCREEN = TrackStartStopKeyFrame::SCREEN;

std::string rowText(unsigned int row)
{
    return "row " + std::to_string(row);
}
}

TimelineParser::TimelineParser(const std::string& fileName_)
    : fileName(fileName_)
{
}

TimelineParser::~TimelineParser() = default;

bool TimelineParser::errorAt(int atLine, const std::string& expected)
{
    if (valid)
        errorMessage = fileName + ":" + std::to_string(atLine) + ": expected " + expected + "\n";
    valid = false;
    return false;
}

bool TimelineParser::error(const std::string& expected)
{
    return errorAt(line, expected);
}

TrackSystem* TimelineParser::parse(const std::string& text)
{
    system.reset(new TrackSystem());
    size_t begin = 0;
    std::vector<TimelineToken> tokens;
    while (valid && begin <= text.size())
    {
        size_t end = text.find('\n', begin);
        if (end == std::string::npos)
            end = text.size();
        ++line;
        std::string expected;
        if (!TimelineSyntax::splitLine(text.substr(begin, end - begin), tokens, expected))
            error(expected);
        else if (!tokens.empty() && statement(tokens) && object)
            lines.objectEnds[object->getName()] = line;
        begin = end + 1;
    }
    if (valid)
        finishObject();
    if (!valid)
    {
        system.reset();
        return nullptr;
    }
    return system.release();
}

bool TimelineParser::statement(const std::vector<TimelineToken>& tokens)
{
    const TimelineToken& first = tokens[0];
    if (!first.quoted)
    {
        const std::string& keyword = first.text;
        if (keyword == "rowrate")
            return rowRateStatement(tokens);
        if (keyword == "beat")
            return beatStatement(tokens);
        if (keyword == "object")
            return objectStatement(tokens);
        if (keyword == "priority")
            return priorityStatement(tokens);
        if (keyword == "on")
            return intervalStatement(tokens);
        if (keyword == "start")
            return startStatement(tokens);
        if (keyword == "stop")
            return stopStatement(tokens);
        if (keyword == "track")
            return trackStatement(tokens);
        if (!keyword.empty() && keyword[0] >= '0' && keyword[0] <= '9')
            return keyframeStatement(tokens);
    }
    return error("a statement (rowrate, beat, object, priority, on, start, stop, track) or a keyframe "
                 "'TIME CURVE VALUE', found '" + first.text + "'");
}

bool TimelineParser::expectEnd(const std::vector<TimelineToken>& tokens, size_t count, const std::string& form)
{
    if (tokens.size() < count)
        return error("'" + form + "'");
    if (tokens.size() > count)
        return error("the end of the line after '" + form + "', found '" + tokens[count].text + "'");
    return true;
}

bool TimelineParser::readTime(const TimelineToken& token, unsigned int& row)
{
    std::string expected;
    if (token.quoted || !TimelineSyntax::parseTime(token.text, rowRate, beat, row, expected))
        return error(token.quoted ? "a row or a time, found a quoted name" : expected);
    return true;
}

bool TimelineParser::readName(const TimelineToken& token, NameKind kind, std::string& name)
{
    const std::string what = kind == OBJECT_NAME  ? "an object name"
                             : kind == TRACK_NAME ? "a track name"
                                                  : "a target name";
    name = token.text;
    if (name.empty())
        return error(what + ", found an empty name");
    if (name.find('\0') != std::string::npos)
        return error(what + " without a zero byte");
    if (kind != TARGET_NAME && name.find('/') != std::string::npos)
        return error(what + " without '/', found '" + name + "'");
    if (kind == OBJECT_NAME && name.find('.') != std::string::npos)
        return error(what + " without '.', found '" + name + "' (the dot separates object and track in file names)");
    return true;
}

bool TimelineParser::rowRateStatement(const std::vector<TimelineToken>& tokens)
{
    if (!expectEnd(tokens, 2, "rowrate ROWS_PER_SECOND"))
        return false;
    if (lines.rowRate)
        return error("one rowrate line; the first is on line " + std::to_string(lines.rowRate));
    if (!lines.objects.empty())
        return error("rowrate before the first object");
    int rate = 0;
    if (tokens[1].quoted || !TimelineSyntax::parseInt(tokens[1].text, rate) || rate < 1 ||
        rate > TimelineSyntax::MAX_ROW_RATE)
        return error("a row rate from 1 to 1000 rows per second, found '" + tokens[1].text + "'");
    rowRate = rate;
    lines.rowRate = line;
    return true;
}

bool TimelineParser::beatStatement(const std::vector<TimelineToken>& tokens)
{
    if (!expectEnd(tokens, tokens.size() >= 3 ? 3 : 2, "beat ROWS_PER_BEAT [BEATS_PER_BAR]"))
        return false;
    if (lines.beat)
        return error("one beat line; the first is on line " + std::to_string(lines.beat));
    if (!lines.objects.empty())
        return error("beat before the first object");
    int rows = 0, beats = 4;
    if (tokens[1].quoted || !TimelineSyntax::parseInt(tokens[1].text, rows) || rows < 1 || rows > 100000)
        return error("rows per beat from 1 to 100000, found '" + tokens[1].text + "'");
    if (tokens.size() == 3 &&
        (tokens[2].quoted || !TimelineSyntax::parseInt(tokens[2].text, beats) || beats < 1 || beats > 64))
        return error("beats per bar from 1 to 64, found '" + tokens[2].text + "'");
    beat.rowsPerBeat = rows;
    beat.beatsPerBar = beats;
    lines.beat = line;
    return true;
}

bool TimelineParser::objectStatement(const std::vector<TimelineToken>& tokens)
{
    if (!expectEnd(tokens, 2, "object NAME"))
        return false;
    if (!finishObject())
        return false;
    std::string name;
    if (!readName(tokens[1], OBJECT_NAME, name))
        return false;
    const auto seen = lines.objects.find(name);
    if (seen != lines.objects.end())
        return error("each object once; '" + name + "' is already defined on line " + std::to_string(seen->second));
    lines.objects[name] = line;
    object = new TrackGroup(name);
    system->addTrackGroup(object);
    return true;
}

bool TimelineParser::needObject(const std::string& keyword)
{
    if (!object)
        return error("'object NAME' before '" + keyword + "'");
    return true;
}

TrackStartStop* TimelineParser::startStopTrack()
{
    if (!object->getStartStopTrack())
        object->setStartStopTrack(new TrackStartStop(0));
    return object->getStartStopTrack();
}

bool TimelineParser::priorityStatement(const std::vector<TimelineToken>& tokens)
{
    if (!needObject("priority") || !expectEnd(tokens, 2, "priority NUMBER"))
        return false;
    track = nullptr;
    if (priorityLine)
        return error("one priority per object; this object's is on line " + std::to_string(priorityLine));
    int priority = 0;
    if (tokens[1].quoted || !TimelineSyntax::parseInt(tokens[1].text, priority))
        return error("a priority from -2147483648 to 2147483647, found '" + tokens[1].text + "'");
    startStopTrack()->setPriority(priority);
    startStopTrack()->setAuthoredPriority(priority);
    priorityLine = line;
    lines.startStopEnds[object->getName()] = line;
    return true;
}

bool TimelineParser::addStartStop(unsigned int row, int type, const std::string& target)
{
    std::map<unsigned int, int>& startStopLines = lines.startStops[object->getName()];
    const auto seen = startStopLines.find(row);
    if (seen != startStopLines.end())
        return error("each row once among an object's start and stop keyframes; " + rowText(row) +
                     " is already used on line " + std::to_string(seen->second));
    TrackStartStopKeyFrame* keyframe = new TrackStartStopKeyFrame(row, type);
    keyframe->targetName = target;
    if (target != SCREEN)
        lines.targets.push_back({ object->getName(), target, line });
    startStopTrack()->addKeyframe(keyframe);
    startStopLines[row] = line;
    lines.startStopEnds[object->getName()] = line;
    return true;
}

bool TimelineParser::intervalStatement(const std::vector<TimelineToken>& tokens)
{
    if (!needObject("on"))
        return false;
    track = nullptr;
    if (tokens.size() < 3)
        return error("'on FROM TO [TARGET]'");
    if (tokens.size() > 4)
        return error("the end of the line after 'on FROM TO TARGET', found '" + tokens[4].text + "'");
    unsigned int from = 0;
    unsigned int to = 0;
    std::string target = SCREEN;
    if (!readTime(tokens[1], from) || !readTime(tokens[2], to))
        return false;
    if (tokens.size() == 4 && !readName(tokens[3], TARGET_NAME, target))
        return false;
    if (to <= from)
        return error("the stop after the start in 'on FROM TO', found " + rowText(from) + " to " + rowText(to));
    return addStartStop(from, TrackKeyFrame::START, target) && addStartStop(to, TrackKeyFrame::STOP, SCREEN);
}

bool TimelineParser::startStatement(const std::vector<TimelineToken>& tokens)
{
    if (!needObject("start"))
        return false;
    track = nullptr;
    if (tokens.size() < 2)
        return error("'start AT [TARGET]'");
    if (tokens.size() > 3)
        return error("the end of the line after 'start AT TARGET', found '" + tokens[3].text + "'");
    unsigned int at = 0;
    std::string target = SCREEN;
    if (!readTime(tokens[1], at))
        return false;
    if (tokens.size() == 3 && !readName(tokens[2], TARGET_NAME, target))
        return false;
    return addStartStop(at, TrackKeyFrame::START, target);
}

bool TimelineParser::stopStatement(const std::vector<TimelineToken>& tokens)
{
    if (!needObject("stop") || !expectEnd(tokens, 2, "stop AT"))
        return false;
    track = nullptr;
    unsigned int at = 0;
    return readTime(tokens[1], at) && addStartStop(at, TrackKeyFrame::STOP, SCREEN);
}

bool TimelineParser::trackStatement(const std::vector<TimelineToken>& tokens)
{
    if (!needObject("track") || !expectEnd(tokens, 2, "track NAME"))
        return false;
    std::string name;
    if (!readName(tokens[1], TRACK_NAME, name))
        return false;
    std::map<std::string, int>& trackLines = lines.tracks[object->getName()];
    const auto seen = trackLines.find(name);
    if (seen != trackLines.end())
        return error("each track once per object; '" + name + "' is already defined on line " +
                     std::to_string(seen->second));
    trackLines[name] = line;
    track = new TrackInterpolate(name);
    object->addInterpolateTrack(track);
    return true;
}

bool TimelineParser::keyframeStatement(const std::vector<TimelineToken>& tokens)
{
    if (!track)
        return error("'track NAME' before the keyframe '" + tokens[0].text + " ...'");
    if (!expectEnd(tokens, 3, "TIME CURVE VALUE"))
        return false;
    unsigned int row = 0;
    int curve = 0;
    float value = 0.0f;
    if (!readTime(tokens[0], row))
        return false;
    if (tokens[1].quoted || !TimelineSyntax::parseCurve(tokens[1].text, curve))
        return error(std::string("a curve (") + TimelineSyntax::curveList() + "), found '" + tokens[1].text + "'");
    std::string expected;
    if (tokens[2].quoted || !TimelineSyntax::parseValue(tokens[2].text, value, expected))
        return error(expected);
    std::map<unsigned int, int>& keyframeLines = lines.keyframes[object->getName()][track->getName()];
    const auto seen = keyframeLines.find(row);
    if (seen != keyframeLines.end())
        return error("each row once per track; " + rowText(row) + " of track '" + track->getName() +
                     "' is already used on line " + std::to_string(seen->second));
    keyframeLines[row] = line;
    track->addKeyframe(new TrackKeyFrameInterpolate(row, curve, value));
    return true;
}

bool TimelineParser::finishObject()
{
    if (object && object->getStartStopTrack())
    {
        std::map<unsigned int, int>& startStopLines = lines.startStops[object->getName()];
        // The player refuses to load a start/stop track out of order, so it
        // is caught here, at the line that breaks the order.
        bool expectStart = true;
        unsigned int previous = 0;
        for (const auto& entry : object->getStartStopTrack()->getKeyframes())
        {
            const bool isStart = entry.second->isStart();
            const int at = startStopLines[entry.first];
            if (expectStart && !isStart)
            {
                if (entry.first == object->getStartStopTrack()->getKeyframes().begin()->first)
                    return errorAt(at, "a start before the stop at " + rowText(entry.first) + " of object '" +
                                           object->getName() + "'; its first keyframe is this stop");
                return errorAt(at, "a start between the stop at " + rowText(previous) + " and the stop at " +
                                       rowText(entry.first) + " of object '" + object->getName() + "'");
            }
            if (!expectStart && isStart)
                return errorAt(at, "a stop between the start at " + rowText(previous) + " (line " +
                                       std::to_string(startStopLines[previous]) + ") and the start at " +
                                       rowText(entry.first) + " of object '" + object->getName() + "'");
            expectStart = !expectStart;
            previous = entry.first;
        }
    }
    object = nullptr;
    track = nullptr;
    priorityLine = 0;
    return true;
}
