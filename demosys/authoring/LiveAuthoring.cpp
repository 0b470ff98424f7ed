#include "demosys/authoring/LiveAuthoring.h"

#include "demosys/timeline/Animation.h"

#include "demosys/authoring/AnimationReload.h"
#include "demosys/authoring/PictureReload.h"
#include "demosys/authoring/ShaderReload.h"
#include "demosys/authoring/TrackReload.h"
#include "demosys/data/DataAnimationPool.h"
#include "demosys/data/DataEffectPool.h"
#include "demosys/data/DataFBOPool.h"
#include "demosys/data/DataShaderPool.h"
#include "demosys/data/DataTexturePool.h"
#include "demosys/gl/Texture.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"
#include "demosys/timeline/Animation.h"
#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackInterpolate.h"
#include "demosys/timeline/TrackSystem.h"
#include "demosys/timeline/TimelineCheck.h"
#include "demosys/timeline/TimelineParser.h"
#include "demosys/timeline/TrackFolderWriter.h"
#include "demosys/timeline/TrackSystemIO.h"
#include "mrvutils/File.h"
#include "mrvutils/StringTokenizer.h"
#include "mrvutils/StringUtils.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <set>

namespace {

// Where no writer's close is told, a few polls a second keep the cost
// unmeasurable; a write younger than the settle time is taken as still going
// on.
const unsigned int POLL_MS = 50;
const unsigned int SETTLE_MS = 40;

const ParameterGroup* block(const char* name)
{
    return MRVDemosys::parameters ? MRVDemosys::parameters->getGroup(name) : nullptr;
}

std::string pathOf(const char* key)
{
    return MRVDemosys::getScriptValue("paths", key);
}

bool exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// Compiler logs and parser messages span lines; the reload line is one.
std::string oneLine(const std::string& text)
{
    std::string line = StringUtils::trim(text);
    for (char& c : line)
        if (c == '\n' || c == '\r')
            c = ' ';
    return line;
}

// What the loaded show offers a timeline, read from its pools.
ProductionNames runningProduction()
{
    ProductionNames names;
    if (MRVDemosys::effectPool)
        for (const auto& entry : MRVDemosys::effectPool->getEffectMap())
            names.objects.insert(entry.first);
    if (MRVDemosys::fboPool)
        for (const auto& entry : MRVDemosys::fboPool->getFBOMap())
            names.framebuffers.insert(entry.first);
    names.readSystem(block("system"));
    // The rate the show actually counts rows at.
    names.rowRate = MRVDemosys::tracks->getRowRate();
    for (const auto& entry : MRVDemosys::tracks->getTrackGroups())
    {
        std::set<std::string>& reads = names.tracks[entry.first];
        for (int i = 0; i < entry.second->getInterpolateTrackCount(); ++i)
            reads.insert(entry.second->getInterpolateTrack(i)->getName());
    }
    return names;
}

} // namespace

LiveAuthoring::LiveAuthoring(const std::string& timelineFile_)
    : watcher(POLL_MS, SETTLE_MS), timelineFile(timelineFile_)
{
}

int LiveAuthoring::addUnit(Kind kind, const std::string& name)
{
    units.push_back({ kind, name, {} });
    return static_cast<int>(units.size()) - 1;
}

void LiveAuthoring::watch(int unit, const std::string& path)
{
    // The files of a unit come together (a compile's track files, a
    // checkout's shader pair): each waits until it stood still, so that
    // the unit is read once, whole.
    const Kind kind = units[static_cast<size_t>(unit)].kind;
    units[static_cast<size_t>(unit)].files.push_back(watcher.add(path, kind == Kind::TRACK || kind == Kind::SHADER));
    unitOf.push_back(unit);
}

void LiveAuthoring::watchProduction()
{
    if (!timelineFile.empty())
        watch(addUnit(Kind::TIMELINE, ""), timelineFile);

    trackDirectory = pathOf("tracks");
    if (MRVDemosys::tracks && !trackDirectory.empty())
    {
        trackUnit = addUnit(Kind::TRACK, "");
        TrackSystemIO io(trackDirectory);
        for (const auto& entry : MRVDemosys::tracks->getTrackGroups())
        {
            watch(trackUnit, io.startStopFileName(entry.first));
            for (int i = 0; i < entry.second->getInterpolateTrackCount(); ++i)
                watch(trackUnit, io.interpolateFileName(entry.first, entry.second->getInterpolateTrack(i)->getName()));
        }
    }

    if (const ParameterGroup* animations = block("animation"))
        for (const auto& entry : animations->getEntries())
            if (MRVDemosys::animationPool && MRVDemosys::animationPool->exist(entry.first))
                watch(addUnit(Kind::ANIMATION, entry.first), pathOf("misc") + entry.second);

    if (const ParameterGroup* shaders = block("shaders"))
        for (const auto& entry : shaders->getEntries())
        {
            const std::string stem = pathOf("shaders") + entry.second;
            const int unit = addUnit(Kind::SHADER, entry.first);
            watch(unit, stem + ".vert");
            watch(unit, stem + ".frag");
        }

    // A file named by several aliases was loaded once, under the first.
    if (const ParameterGroup* graphics = block("graphics"))
        for (const auto& entry : graphics->getEntries())
        {
            const std::string file = StringUtils::trim(StringTokenizer(entry.second, ",").getTokens().front());
            if (MRVDemosys::texturePool && MRVDemosys::texturePool->exist(entry.first))
                watch(addUnit(Kind::PICTURE, entry.first), pathOf("gfx") + file);
        }
}

bool LiveAuthoring::partnerPending(const Unit& unit, int index, const std::vector<int>& ready) const
{
    for (int file : unit.files)
        if (file != index && std::find(ready.begin(), ready.end(), file) == ready.end() && watcher.changedSinceShown(file))
            return true;
    return false;
}

void LiveAuthoring::betweenFrames()
{
    const std::vector<int>& ready = watcher.poll();
    if (ready.empty())
        return;
    std::vector<bool> done(units.size(), false);
    for (int index : ready)
    {
        const size_t u = static_cast<size_t>(unitOf[static_cast<size_t>(index)]);
        if (done[u])
            continue;
        const Unit& unit = units[u];
        // Half of a pair is not a version of anything; its other half is
        // taken at a later poll, together with it.
        if (partnerPending(unit, index, ready))
            continue;
        const auto started = std::chrono::steady_clock::now();
        std::string error;
        std::string note;
        const bool ok = apply(unit, index, error, note);
        if (!watcher.unchangedSincePoll(index))
            continue;  // written again while it was read: taken at a later poll
        done[u] = true;
        for (int file : unit.files)
            watcher.handled(file);
        report(label(unit, index), ok,
               std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count(), error,
               note);
    }
}

void LiveAuthoring::reloadShaders()
{
    for (const Unit& unit : units)
    {
        if (unit.kind != Kind::SHADER)
            continue;
        const auto started = std::chrono::steady_clock::now();
        std::string error;
        std::string note;
        const bool ok = apply(unit, unit.files.front(), error, note);
        for (int file : unit.files)
            watcher.refresh(file);
        report(label(unit, unit.files.front()), ok,
               std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count(), error,
               note);
    }
}

std::string LiveAuthoring::label(const Unit& unit, int index) const
{
    if (unit.kind == Kind::SHADER)
        return "shader '" + unit.name + "' ('" + watcher.path(unit.files[0]) + "', '" + watcher.path(unit.files[1]) +
               "')";
    return "'" + watcher.path(index) + "'";
}

bool LiveAuthoring::apply(const Unit& unit, int index, std::string& error, std::string& note)
{
    const std::string& file = watcher.path(index);
    if (unit.kind == Kind::SHADER)
    {
        for (int source : unit.files)
            if (!exists(watcher.path(source)))
            {
                error = "'" + watcher.path(source) + "' is missing";
                return false;
            }
    }
    else if (unit.kind != Kind::TRACK && !exists(file))
    {
        error = "the file is missing";
        return false;
    }
    switch (unit.kind)
    {
    case Kind::TIMELINE:
        return compileTimeline(file, error, note);
    case Kind::TRACK:
    {
        // The other files of the set are still taken; the missing one keeps
        // what it was.
        const bool ok = reloadTracks(false, error, note);
        if (ok && !exists(file))
        {
            error = "the file is missing";
            return false;
        }
        return ok;
    }
    case Kind::ANIMATION:
        return AnimationReload::reload(*MRVDemosys::animationPool->getAnimation(unit.name), file, error);
    case Kind::SHADER:
    {
        Shader* shader = MRVDemosys::shaderPool ? MRVDemosys::shaderPool->getShader(unit.name) : nullptr;
        if (!shader)
        {
            error = "no shader '" + unit.name + "' is loaded";
            return false;
        }
        return ShaderReload::reload(*shader, watcher.path(unit.files[0]), watcher.path(unit.files[1]), error);
    }
    case Kind::PICTURE:
        return PictureReload::reload(*MRVDemosys::texturePool->getTexture(unit.name), file, error);
    }
    return false;
}

bool LiveAuthoring::compileTimeline(const std::string& file, std::string& error, std::string& note)
{
    std::string text;
    if (!File::read(file, text))
    {
        error = "the file cannot be read";
        return false;
    }
    return compileText(file, text, nullptr, error, note);
}

bool LiveAuthoring::compileText(const std::string& file, const std::string& text,
                                const std::function<bool(std::string&)>& beforeWrite, std::string& error,
                                std::string& note)
{
    if (trackDirectory.empty() || !MRVDemosys::tracks)
    {
        error = "the demoscript names no track directory";
        return false;
    }
    TimelineParser parser(file);
    std::unique_ptr<TrackSystem> compiled(parser.parse(text));
    if (!compiled)
    {
        error = parser.getErrorMessage();
        return false;
    }
    std::vector<std::string> warnings;
    if (!TimelineCheck::check(file, parser.getLines(), parser.getRowRate(), parser.getBeat(), runningProduction(), error,
                              warnings))
        return false;
    for (const std::string& warning : warnings)
        std::cout << warning << std::endl;
    if (beforeWrite && !beforeWrite(error))
        return false;

    TrackFolderWriter writer(trackDirectory);
    if (!writer.write(*compiled))
    {
        error = writer.getErrorMessage();
        return false;
    }
    // The files just written are this version already; their watch must
    // not read them a second time.
    if (trackUnit >= 0)
        for (int index : units[static_cast<size_t>(trackUnit)].files)
            watcher.refresh(index);
    if (!writer.getRemoved().empty())
        note = "; removed " + std::to_string(writer.getRemoved().size()) + " track files it no longer names";
    return reloadTracks(true, error, note);
}

bool LiveAuthoring::reloadTracks(bool afterCompile, std::string& error, std::string& note)
{
    std::vector<std::string> missing;
    const bool ok = TrackReload::reloadAll(trackDirectory, *MRVDemosys::tracks,
                                           afterCompile ? TrackReload::Missing::EMPTY : TrackReload::Missing::KEEP,
                                           error, missing);
    for (const std::string& file : missing)
        note += "; '" + file + "' is missing, its last good version stays";

    return ok;
}

bool LiveAuthoring::editTimeline(const std::string& text, std::string& error, std::string& note)
{
    if (timelineFile.empty())
    {
        error = "no timeline is linked to this demoscript";
        return false;
    }
    // The text goes to disk only once it is known to compile and to fit
    // the show, and before the tracks: the text is the source of truth.
    std::string before;
    const bool hadText = readTimeline(before);
    bool saved = false;
    auto save = [this, &text, &saved](std::string& why) {
        saved = writeTimeline(text);
        if (!saved)
            why = "cannot write '" + timelineFile + "'";
        return saved;
    };
    if (compileText(timelineFile, text, save, error, note))
        return true;
    // Tracks that could not be written leave the show as it was; so must
    // the text be.
    if (saved && hadText)
        writeTimeline(before);
    return false;
}

bool LiveAuthoring::writeTimeline(const std::string& text)
{
    if (!File::replace(timelineFile, text))
        return false;
    for (const Unit& unit : units)
        if (unit.kind == Kind::TIMELINE)
            watcher.refresh(unit.files.front());
    return true;
}

bool LiveAuthoring::animationFile(const Animation* path, std::string& file) const
{
    for (const Unit& unit : units)
        if (unit.kind == Kind::ANIMATION && path && MRVDemosys::animationPool->getAnimation(unit.name) == path)
        {
            file = watcher.path(unit.files.front());
            return true;
        }
    return false;
}

bool LiveAuthoring::editAnimation(const std::string& file, const std::string& text, std::string& error)
{
    for (const Unit& unit : units)
    {
        if (unit.kind != Kind::ANIMATION || watcher.path(unit.files.front()) != file)
            continue;
        Animation* path = MRVDemosys::animationPool->getAnimation(unit.name);
        // Read into a spare first: a text that does not read changes
        // neither the file nor the path being flown.
        Animation spare;
        spare.setInterpolationType(path->getInterpolationType());
        if (!AnimationReload::reload(spare, file, text, error))
            return false;
        if (!File::replace(file, text))
        {
            error = "cannot write '" + file + "'";
            return false;
        }
        watcher.refresh(unit.files.front());
        path->replaceKeyframes(spare);
        return true;
    }
    error = "'" + file + "' is no camera path this show watches";
    return false;
}

bool LiveAuthoring::readTimeline(std::string& text) const
{
    return !timelineFile.empty() && File::read(timelineFile, text);
}

void LiveAuthoring::report(const std::string& what, bool ok, double ms, const std::string& error,
                           const std::string& note) const
{
    if (ok)
        std::cout << "Reloaded " << what << " in " << static_cast<long>(ms + 0.5) << " ms" << note << std::endl;
    else
        std::cout << "Reload of " << what << " failed: " << oneLine(error) << "; keeping the last good version"
                  << std::endl;
}
