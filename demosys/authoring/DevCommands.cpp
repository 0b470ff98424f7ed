#include "demosys/authoring/DevCommands.h"

#include "demosys/authoring/DevKeys.h"
#include "demosys/authoring/FlyCamera.h"
#include "demosys/authoring/LiveAuthoring.h"
#include "demosys/authoring/LoopRegion.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/runtime/MRVTime.h"
#include "demosys/sound/FMODTimer.h"
#include "demosys/timeline/Animation.h"
#include "demosys/timeline/AnimationEdit.h"
#include "demosys/timeline/CameraTakeover.h"
#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackSystem.h"
#include "demosys/timeline/TimelineEdit.h"
#include "demosys/timeline/TimelineSyntax.h"
#include "mrvutils/File.h"
#include "mrvutils/StringUtils.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <iostream>

namespace {

// "OBJECT.TRACK", split at the first dot as track file names are.
bool splitTrack(const std::string& name, std::string& object, std::string& track)
{
    const size_t dot = name.find('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size())
        return false;
    object = name.substr(0, dot);
    track = name.substr(dot + 1);
    return true;
}

} // namespace

std::string DevCommands::moment(unsigned int ms) const
{
    return DevKeys::moment(ms, show.rowRate, show.rowsPerBeat, show.beatsPerBar);
}

void DevCommands::say(const std::string& line)
{
    std::cout << line << std::endl;
    lastLine = line;
}

void DevCommands::sayDone(const std::string& command, const std::string& file, int line,
                          std::chrono::steady_clock::time_point started, const std::string& note)
{
    // From the command to the show that plays it: the next frame draws it.
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    say("Done: " + command + " ('" + file + "' line " + std::to_string(line) + ") in " +
        std::to_string(static_cast<long>(ms + 0.5)) + " ms" + note);
}

bool DevCommands::refuse(const std::string& command, const std::string& why)
{
    say("Not done: " + command + ": " + why);
    return false;
}

bool DevCommands::run(const std::string& line)
{
    std::vector<TimelineToken> tokens;
    std::string expected;
    const std::string command = StringUtils::trim(line);
    if (!TimelineSyntax::splitLine(command, tokens, expected))
        return refuse(command, "expected " + expected);
    if (tokens.empty())
        return true;
    std::vector<std::string> words;
    for (const TimelineToken& token : tokens)
        words.push_back(token.text);
    const std::string& verb = words[0];

    auto timeAt = [this](const std::string& text, unsigned int& ms, std::string& why) {
        unsigned int row = 0;
        if (!TimelineSyntax::parseTime(text, show.rowRate, show.beat(), row, why))
            return false;
        // Rows and bars and beats name the first millisecond of a row;
        // minutes:seconds:milliseconds name their own.
        ms = text.find(':') == std::string::npos ? TimelineSyntax::rowStart(row, show.rowRate) : MRVTime(text).getTicks();
        return true;
    };

    if (verb == "seek" && words.size() == 2)
    {
        unsigned int ms = 0;
        std::string why;
        if (!timeAt(words[1], ms, why))
            return refuse(command, "expected " + why);
        if (ms > show.stopMs)
            return refuse(command, "the show stops at " + moment(show.stopMs));
        show.timer->setTime(ms);
        say("Seek to " + moment(ms));
        return true;
    }
    if (verb == "loop" && words.size() == 3)
    {
        unsigned int from = 0, to = 0;
        std::string why;
        if (!timeAt(words[1], from, why) || !timeAt(words[2], to, why))
            return refuse(command, "expected " + why);
        if (!show.loop->set(from, to, why))
            return refuse(command, why);
        say("Loop on from " + moment(from) + " to " + moment(to));
        return true;
    }
    if ((verb == "undo" || verb == "redo") && words.size() == 1)
        return restore(verb == "undo");
    if (verb == "camera")
        return camera(command, words);
    if (verb == "key" || verb == "unkey" || verb == "move" || verb == "on" || verb == "off" || verb == "span" ||
        verb == "target")
        return edit(command, words);
    return refuse(command,
                  "expected key, unkey, move, on, off, span, target, seek, loop, camera, undo or redo with their values");
}

bool DevCommands::edit(const std::string& command, const std::vector<std::string>& words)
{
    const auto started = std::chrono::steady_clock::now();
    std::string text;
    if (!show.authoring || !show.authoring->readTimeline(text))
        return refuse(command, "no timeline is linked to this demoscript");
    const std::string& file = show.authoring->getTimelineFile();
    TimelineEdit edit(file, text);
    const std::string& verb = words[0];
    std::string object, track;
    // What the show offers is checked before the text is touched, so that
    // a refusal names the misspelt word rather than a line.
    if ((verb == "key" || verb == "unkey" || verb == "move") && words.size() > 1 && splitTrack(words[1], object, track))
    {
        const TrackGroup* group = MRVDemosys::tracks ? MRVDemosys::tracks->getTrackGroupByName(object) : nullptr;
        if (!group)
            return refuse(command, "no effect object '" + object + "' in the demoscript");
        if (!group->getInterpolateTrackByName(track))
            return refuse(command, "object '" + object + "' reads no track '" + track + "'");
    }
    if ((verb == "key" && words.size() == 5) || (verb == "move" && (words.size() == 4 || words.size() == 5)))
    {
        unsigned int row = 0;
        std::string why;
        if (TimelineSyntax::parseTime(words[verb == "key" ? 2 : 3], show.rowRate, show.beat(), row, why) &&
            static_cast<unsigned long long>(row) * 1000u / static_cast<unsigned int>(show.rowRate) > show.stopMs)
            return refuse(command, "row " + std::to_string(row) + " is past the stop time " + moment(show.stopMs));
    }
    bool ok = false;
    if (verb == "key" && words.size() == 5 && splitTrack(words[1], object, track))
        ok = edit.setKey(object, track, words[2], words[3], words[4]);
    else if (verb == "unkey" && words.size() == 3 && splitTrack(words[1], object, track))
        ok = edit.removeKey(object, track, words[2]);
    else if (verb == "move" && (words.size() == 4 || words.size() == 5) && splitTrack(words[1], object, track))
        ok = edit.moveKey(object, track, words[2], words[3], words.size() == 5 ? words[4] : std::string());
    else if (verb == "on" && (words.size() == 4 || words.size() == 5))
        ok = edit.addInterval(words[1], words[2], words[3], words.size() == 5 ? words[4] : std::string());
    else if (verb == "off" && words.size() == 3)
        ok = edit.removeInterval(words[1], words[2]);
    else if (verb == "span" && words.size() == 5)
        ok = edit.setIntervalSpan(words[1], words[2], words[3], words[4]);
    else if (verb == "target" && words.size() == 4)
        ok = edit.setIntervalTarget(words[1], words[2], words[3]);
    else
        return refuse(command, verb == "key" ? "expected 'key OBJECT.TRACK TIME CURVE VALUE'"
                             : verb == "unkey" ? "expected 'unkey OBJECT.TRACK TIME'"
                             : verb == "move" ? "expected 'move OBJECT.TRACK FROM TO [VALUE]'"
                             : verb == "span" ? "expected 'span OBJECT TIME FROM TO'"
                             : verb == "on" ? "expected 'on OBJECT FROM TO [TARGET]'"
                             : verb == "off" ? "expected 'off OBJECT TIME'"
                                             : "expected 'target OBJECT TIME TARGET'");
    if (!ok)
        return refuse(command, edit.getErrorMessage());

    std::string error, note;
    if (!show.authoring->editTimeline(edit.getText(), error, note))
        return refuse(command, StringUtils::trim(error));
    done.push_back({ command, std::string(), text, edit.getText() });
    undone.clear();
    sayDone(command, file, edit.getLine(), started, note);
    return true;
}

bool DevCommands::restore(bool undo)
{
    std::vector<Edit>& from = undo ? done : undone;
    std::vector<Edit>& to = undo ? undone : done;
    const char* verb = undo ? "undo" : "redo";
    if (from.empty())
        return refuse(verb, undo ? "nothing to undo" : "nothing to redo");
    const Edit& step = from.back();
    const std::string& wanted = undo ? step.before : step.after;
    std::string text;
    // An edit saved meanwhile from a text editor is the author's newer
    // word; it is not overwritten with an older text.
    const bool read = step.file.empty() ? show.authoring->readTimeline(text) : File::read(step.file, text);
    if (!read || text != (undo ? step.after : step.before))
        return refuse(verb, step.file.empty() ? "the timeline was changed since; edit it where it was changed"
                                              : "'" + step.file + "' was changed since; edit it where it was changed");
    std::string error, note;
    const bool ok = step.file.empty() ? show.authoring->editTimeline(wanted, error, note)
                                      : show.authoring->editAnimation(step.file, wanted, error);
    if (!ok)
        return refuse(verb, StringUtils::trim(error));
    say((undo ? "Undone: " : "Redone: ") + step.command + note);
    to.push_back(step);
    from.pop_back();
    return true;
}

bool DevCommands::camera(const std::string& command, const std::vector<std::string>& words)
{
    FlyCamera* fly = show.fly;
    if (!fly)
        return refuse(command, "this show has no fly camera");
    const std::string what = words.size() > 1 ? words[1] : std::string();
    if (what == "fly" && words.size() == 2)
    {
        fly->start();
        say("Camera flying from " + fly->describe());
        return true;
    }
    if (what == "set" && words.size() == 7)
    {
        float numbers[5];
        for (int i = 0; i < 5; ++i)
        {
            std::string expected;
            if (!TimelineSyntax::parseValue(words[static_cast<size_t>(i + 2)], numbers[i], expected) ||
                !std::isfinite(numbers[i]))
                return refuse(command, "expected 'camera set X Y Z PITCH HEADING' with finite numbers, found '" +
                                           words[static_cast<size_t>(i + 2)] + "'");
        }
        fly->set(numbers[0], numbers[1], numbers[2], numbers[3], numbers[4]);
        say("Camera flying from " + fly->describe());
        return true;
    }
    if (what == "off" && words.size() == 2)
    {
        fly->stop();
        say("Camera back on its path");
        return true;
    }
    if (what == "commit" && (words.size() == 2 || (words.size() == 3 && words[2] == "new")))
        return commit(command, words.size() == 3);
    return refuse(command, "expected 'camera fly', 'camera set X Y Z PITCH HEADING', 'camera off' or "
                           "'camera commit [new]'");
}

bool DevCommands::commit(const std::string& command, bool insert)
{
    const auto started = std::chrono::steady_clock::now();
    const CameraTakeover& takeover = MRVDemosys::cameraTakeover;
    if (!takeover.flying)
        return refuse(command, "the camera is not flying; 'camera fly' or 'camera set' first");
    // The path flown in the frame just drawn, or in the one being drawn.
    if (!takeover.path || takeover.frame + 1 < MRVDemosys::frames)
        return refuse(command, "no scene flies a camera path now");
    std::string file;
    if (!show.authoring || !show.authoring->animationFile(takeover.path, file))
        return refuse(command, "the camera path flown now is not a file of this show");
    std::string text;
    if (!File::read(file, text))
        return refuse(command, "cannot read '" + file + "'");

    // Where the path is: its keyframes sit at whole segments of the
    // progress (a Catmull-Rom path runs from its second keyframe to the
    // one before its last).
    const Animation& path = *takeover.path;
    const bool catmull = path.getInterpolationType() == Animation::CATMULL_ROM;
    const int first = catmull ? 1 : 0;
    const int segments = std::max(1, path.countKeyFrames() - (catmull ? 3 : 1));
    const double along = std::min(1.0, std::max(0.0, takeover.progress)) * segments;
    const int index = insert ? first + std::min(segments - 1, static_cast<int>(std::floor(along))) + 1
                             : first + static_cast<int>(std::floor(along + 0.5));

    AnimationEdit edit(file, text);
    AnimationEdit::Pose pose;
    pose.position = takeover.position;
    pose.pitch = takeover.pitch;
    pose.heading = takeover.heading;
    if (!(insert ? edit.insertKeyframe(index, pose) : edit.setKeyframe(index, pose)))
        return refuse(command, edit.getErrorMessage());
    std::string error;
    if (!show.authoring->editAnimation(file, edit.getText(), error))
        return refuse(command, StringUtils::trim(error));
    done.push_back({ command, file, text, edit.getText() });
    undone.clear();
    sayDone(command, file, edit.getLine(), started,
            "; keyframe " + std::to_string(index + 1) + " of " + std::to_string(path.countKeyFrames()) +
                (insert ? ", new" : ""));
    return true;
}
