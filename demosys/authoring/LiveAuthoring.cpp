#include "demosys/authoring/LiveAuthoring.h"

#include "demosys/authoring/AnimationReload.h"
#include "demosys/authoring/PictureReload.h"
#include "demosys/authoring/ShaderReload.h"
#include "demosys/authoring/TrackReload.h"
#include "demosys/data/DataAnimationPool.h"
#include "demosys/data/DataShaderPool.h"
#include "demosys/data/DataTexturePool.h"
#include "demosys/gl/Texture.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"
#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackInterpolate.h"
#include "demosys/timeline/TrackSystem.h"
#include "demosys/timeline/TrackSystemIO.h"
#include "mrvutils/File.h"
#include "mrvutils/StringTokenizer.h"
#include "mrvutils/StringUtils.h"
#include "demosys/timeline/TimelineParser.h"

#include <sys/stat.h>

#include <chrono>
#include <iostream>
#include <memory>

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
    const ParameterGroup* paths = block("paths");
    return paths && paths->exist(key) ? paths->getParameter(key) : std::string();
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

} // namespace

LiveAuthoring::LiveAuthoring(const std::string& timelineFile_)
    : watcher(POLL_MS, SETTLE_MS), timelineFile(timelineFile_)
{
}

void LiveAuthoring::watch(const std::string& path, const Watched& what)
{
    // The track files come as a set from one compile: read once, together.
    watcher.add(path, what.kind == Kind::TRACK);
    watched.push_back(what);
}

void LiveAuthoring::watchProduction()
{
    watch(timelineFile, { Kind::TIMELINE, "", "", "" });

    trackDirectory = pathOf("tracks");
    if (MRVDemosys::tracks && !trackDirectory.empty())
    {
        TrackSystemIO io(trackDirectory);
        for (const auto& entry : MRVDemosys::tracks->getTrackGroups())
        {
            trackFiles.push_back(watcher.size());
            watch(io.startStopFileName(entry.first), { Kind::TRACK, entry.first, "", "" });
            for (int i = 0; i < entry.second->getInterpolateTrackCount(); ++i)
            {
                trackFiles.push_back(watcher.size());
                watch(io.interpolateFileName(entry.first, entry.second->getInterpolateTrack(i)->getName()),
                      { Kind::TRACK, entry.first, "", "" });
            }
        }
    }

    if (const ParameterGroup* animations = block("animation"))
        for (const auto& entry : animations->getEntries())
            if (MRVDemosys::animationPool && MRVDemosys::animationPool->exist(entry.first))
                watch(pathOf("misc") + entry.second, { Kind::ANIMATION, entry.first, "", "" });

    if (const ParameterGroup* shaders = block("shaders"))
        for (const auto& entry : shaders->getEntries())
        {
            const std::string stem = pathOf("shaders") + entry.second;
            const Watched shader{ Kind::SHADER, entry.first, stem + ".vert", stem + ".frag" };
            watch(shader.vertex, shader);
            watch(shader.fragment, shader);
        }

    // A file named by several aliases was loaded once, under the first.
    if (const ParameterGroup* graphics = block("graphics"))
        for (const auto& entry : graphics->getEntries())
        {
            const std::string file = StringUtils::trim(StringTokenizer(entry.second, ",").getTokens().front());
            if (MRVDemosys::texturePool && MRVDemosys::texturePool->exist(entry.first))
                watch(pathOf("gfx") + file, { Kind::PICTURE, entry.first, "", "" });
        }
}

void LiveAuthoring::betweenFrames()
{
    const std::vector<int>& ready = watcher.poll();
    if (ready.empty())
        return;
    bool tracksDone = false;
    for (int index : ready)
    {
        const Watched& what = watched[static_cast<size_t>(index)];
        // Several track files changed at once (another tool wrote them all)
        // are read again together, once.
        if (what.kind == Kind::TRACK && tracksDone)
        {
            watcher.handled(index);
            continue;
        }
        const auto started = std::chrono::steady_clock::now();
        std::string error;
        const bool ok = apply(index, error);
        if (!watcher.unchangedSincePoll(index))
            continue;  // written again while it was read: taken at a later poll
        watcher.handled(index);
        if (what.kind == Kind::TRACK)
        {
            tracksDone = true;
            for (int other : ready)
                if (watched[static_cast<size_t>(other)].kind == Kind::TRACK)
                    watcher.handled(other);
        }
        report(index, ok,
               std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count(),
               error);
    }
}

bool LiveAuthoring::apply(int index, std::string& error)
{
    const Watched& what = watched[static_cast<size_t>(index)];
    const std::string& file = watcher.path(index);
    if (!exists(file))
    {
        error = "the file is missing";
        return false;
    }
    switch (what.kind)
    {
    case Kind::TIMELINE:
        return compileTimeline(file, error);
    case Kind::TRACK:
        return reloadTracks(error);
    case Kind::ANIMATION:
        return AnimationReload::reload(*MRVDemosys::animationPool->getAnimation(what.name), file, error);
    case Kind::SHADER:
    {
        Shader* shader = MRVDemosys::shaderPool ? MRVDemosys::shaderPool->getShader(what.name) : nullptr;
        if (!shader)
        {
            error = "no shader '" + what.name + "' is loaded";
            return false;
        }
        return ShaderReload::reload(*shader, what.vertex, what.fragment, error);
    }
    case Kind::PICTURE:
        return PictureReload::reload(*MRVDemosys::texturePool->getTexture(what.name), file, error);
    }
    return false;
}

bool LiveAuthoring::compileTimeline(const std::string& file, std::string& error)
{
    if (trackDirectory.empty() || !MRVDemosys::tracks)
    {
        error = "the demoscript names no track directory";
        return false;
    }
    File input(file, File::READ);
    if (!input.exists())
    {
        error = "the file cannot be read";
        return false;
    }
    TimelineParser parser(file);
    std::unique_ptr<TrackSystem> compiled(parser.parse(input.getAsString()));
    if (!compiled)
    {
        error = parser.getErrorMessage();
        return false;
    }
    TrackSystemIO io(trackDirectory);
    if (!io.save(compiled.get()))
    {
        error = io.getErrorMessage();
        return false;
    }
    // The files just written are this version already; their watch must
    // not read them a second time.
    for (int index : trackFiles)
        watcher.refresh(index);
    return reloadTracks(error);
}

bool LiveAuthoring::reloadTracks(std::string& error)
{
    return TrackReload::reloadAll(trackDirectory, *MRVDemosys::tracks, error);
}

void LiveAuthoring::report(int index, bool ok, double ms, const std::string& error) const
{
    const std::string& file = watcher.path(index);
    if (ok)
        std::cout << "Reloaded '" << file << "' in " << static_cast<long>(ms + 0.5) << " ms" << std::endl;
    else
        std::cout << "Reload of '" << file << "' failed: " << oneLine(error) << "; keeping the last good version"
                  << std::endl;
}
