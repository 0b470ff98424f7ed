#include "demosys/timeline/TrackSystemIO.h"

#include "demosys/data/DataFBOPool.h"
#include "demosys/runtime/Effect.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackInterpolate.h"
#include "demosys/timeline/TrackKeyFrameInterpolate.h"
#include "demosys/timeline/TrackStartStop.h"
#include "demosys/timeline/TrackStartStopKeyFrame.h"
#include "demosys/timeline/TrackSystem.h"
#include "mrvutils/File.h"

#include <cstdio>
#include <cstring>
#include <iostream>

namespace {

// One 4-byte field of a track file, little-endian whatever the machine.
void putWord(std::string& bytes, unsigned int value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes += static_cast<char>((value >> shift) & 0xffu);
}

const int INT_SIZE = 4;
const int STOP_RECORD_SIZE = 8;
const int VALUE_RECORD_SIZE = 12;

// Reads bytes up to a zero byte; false when the file ends first. Unlike
// File::readString this keeps the empty name distinguishable.
bool readName(File& file, std::string& name)
{
    name.clear();
    while (file.bytesLeft() > 0)
    {
        const char c = file.readChar();
        if (c == '\0')
            return true;
        name.push_back(c);
    }
    return false;
}

std::string keptText(int kept, int count)
{
    return "kept " + std::to_string(kept) + " of " + std::to_string(count) +
           " keyframes, the rest is treated as absent";
}
}

TrackSystemIO::TrackSystemIO(const std::string& directory_)
    : directory(directory_)
{
}

std::string TrackSystemIO::startStopFileName(const std::string& object) const
{
    return directory + "/" + object + ".track";
}

std::string TrackSystemIO::interpolateFileName(const std::string& object, const std::string& track) const
{
    return directory + "/" + object + "." + track + ".track";
}

void TrackSystemIO::reportDamage(const std::string& path, const std::string& detail)
{
    lastDamage = "'" + path + "' is truncated or corrupt: " + detail;
    if (!quiet)
        std::cout << "Track file " << lastDamage << "." << std::endl;
    damagedFiles.push_back(path);
}

bool TrackSystemIO::readKeyframeCount(File& file, const std::string& path, int& count)
{
    if (file.bytesLeft() < INT_SIZE)
    {
        reportDamage(path, "it ends before its keyframe count");
        return false;
    }
    count = file.readInt();
    if (count < 0)
    {
        reportDamage(path, "its keyframe count " + std::to_string(count) + " is impossible");
        return false;
    }
    return true;
}

TrackSystem* TrackSystemIO::load(const std::vector<std::string>& names, const std::vector<Effect*>& effects)
{
    TrackSystem* system = new TrackSystem();
    for (size_t i = 0; i < names.size(); ++i)
    {
        const std::string& name = names[i];
        Effect* effect = i < effects.size() ? effects[i] : nullptr;
        if (system->getTrackGroupByName(name))
        {
            // A second group of the name would replace, and so delete, the
            // first one while its effect still points at it.
            std::cout << "Track group '" << name << "' is listed twice; keeping the first." << std::endl;
            continue;
        }

        TrackGroup* group = new TrackGroup(name);
        group->setEffect(effect);
        system->addTrackGroup(group);

        TrackStartStop* startStop = loadStartStopTrack(name);
        if (!startStop)
        {
            std::cout << "Track '" << name << "' do not exit. Creating dummy." << std::endl;
            startStop = new TrackStartStop(-1);
        }
        group->setStartStopTrack(startStop);

        if (!effect)
            continue;
        for (int t = 0; t < effect->getTrackCount(); ++t)
        {
            const std::string trackName = effect->getTrackName(t);
            TrackInterpolate* track = loadInterpolateTrack(name, trackName);
            if (!track)
            {
                std::cout << "-> '" << name << "." << trackName << ".track' do not exit. Creating dummy."
                          << std::endl;
                track = new TrackInterpolate(trackName);
            }
            group->addInterpolateTrack(track);
        }
        effect->setTrackGroup(group);
    }
    system->createPrioritySystem();
    system->prioritySanityCheck();
    return system;
}

TrackStartStop* TrackSystemIO::loadStartStopTrack(const std::string& object)
{
    const std::string path = startStopFileName(object);
    File file(path, File::READ);
    if (!file.exists())
        return nullptr;

    if (file.bytesLeft() < INT_SIZE)
    {
        // Without a priority the file says nothing: it stands for a missing one.
        reportDamage(path, "it ends before its priority");
        return new TrackStartStop(-1);
    }
    const int priority = file.readInt();
    if (!quiet)
        std::cout << "Loading '" << object << ".track' (" << priority << ")" << std::endl;
    TrackStartStop* track = new TrackStartStop(priority);

    int count = 0;
    if (!readKeyframeCount(file, path, count))
        return track;

    std::string name;
    for (int i = 0; i < count; ++i)
    {
        // Records vary in length, so the count is checked record by record.
        if (file.bytesLeft() < STOP_RECORD_SIZE)
        {
            reportDamage(path, keptText(i, count));
            break;
        }
        const unsigned int row = static_cast<unsigned int>(file.readInt());
        const int type = file.readInt();
        TrackStartStopKeyFrame* keyframe = new TrackStartStopKeyFrame(row, type);
        name.clear();
        if (type == TrackKeyFrame::START)
        {
            if (!readName(file, name))
            {
                delete keyframe;
                reportDamage(path, keptText(i, count));
                break;
            }
            if (resolveTargets)
            {
                // The empty name reads as "Object", the name-reading rule of
                // every binary format here; it normally names no target.
                const bool screen = name.empty();
                if (name.empty())
                    name = "Object";
                if (!quiet)
                    std::cout << "Raw string = '" << name << "'" << std::endl;
                DataFBOPool* pool = MRVDemosys::fboPool;
                FrameBufferObject* target = pool && pool->exists(name) ? pool->getFBO(name) : nullptr;
                // A misspelt target would otherwise draw to the screen
                // without a word; the show still goes on as it always did.
                if (!target && !screen && name != TrackStartStopKeyFrame::SCREEN &&
                    warnedTargets.insert(object + '\0' + name).second)
                    std::cout << "Track '" << object << "': render target '" << name
                              << "' is not a framebuffer of the demoscript; it draws to the screen" << std::endl;
                if (!target)
                    name = TrackStartStopKeyFrame::SCREEN;
                keyframe->target = target;
            }
            else if (name.empty())
            {
                name = TrackStartStopKeyFrame::SCREEN;
            }
            keyframe->targetName = name;
        }
        track->addKeyframe(keyframe);
        if (verbose)
            std::cout << "keyframe " << row << " : " << type << ", " << name << std::endl;
    }
    return track;
}

TrackInterpolate* TrackSystemIO::loadInterpolateTrack(const std::string& object, const std::string& trackName)
{
    const std::string path = interpolateFileName(object, trackName);
    File file(path, File::READ);
    if (!file.exists())
        return nullptr;

    if (!quiet)
        std::cout << "Loading '" << object << "." << trackName << "'" << std::endl;
    TrackInterpolate* track = new TrackInterpolate(trackName);
    int count = 0;
    if (!readKeyframeCount(file, path, count))
        return track;
    int readable = count;
    if (count > file.bytesLeft() / VALUE_RECORD_SIZE)
    {
        readable = file.bytesLeft() / VALUE_RECORD_SIZE;
        reportDamage(path, keptText(readable, count));
    }
    for (int i = 0; i < readable; ++i)
    {
        const unsigned int row = static_cast<unsigned int>(file.readInt());
        const int interpolation = file.readInt();
        const float value = file.readFloat();
        track->addKeyframe(new TrackKeyFrameInterpolate(row, interpolation, value));
        if (verbose)
            std::cout << "keyframe " << row << " : " << interpolation << ", " << value << std::endl;
    }
    return track;
}

bool TrackSystemIO::fail(const std::string& message)
{
    valid = false;
    errorMessage += message;
    return false;
}

std::string TrackSystemIO::temporaryName(const std::string& path)
{
    return path + ".tmp";
}

bool TrackSystemIO::commit(const std::string& path, const std::string& bytes)
{
    {
        const File current(path, File::READ);
        if (current.exists() && current.getSize() == static_cast<int>(bytes.size()) && current.getAsString() == bytes)
            return true;
    }
    const std::string temporary = temporaryName(path);
    File out(temporary, File::WRITE_TRUNCATE);
    if (!out.exists())
        return fail("Cannot create track file '" + temporary + "'\n");
    out.put(bytes);
    if (!out.write())
    {
        std::remove(temporary.c_str());
        return fail("Cannot write track file '" + temporary + "'\n");
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0)
    {
        std::remove(temporary.c_str());
        return fail("Cannot replace track file '" + path + "'\n");
    }
    return true;
}

std::string TrackSystemIO::startStopBytes(const TrackStartStop& track)
{
    std::string bytes;
    putWord(bytes, static_cast<unsigned int>(track.getPriority()));
    putWord(bytes, static_cast<unsigned int>(track.getKeyframeCount()));
    for (const auto& entry : track.getKeyframes())
    {
        const TrackStartStopKeyFrame* keyframe = static_cast<const TrackStartStopKeyFrame*>(entry.second);
        putWord(bytes, keyframe->row);
        putWord(bytes, static_cast<unsigned int>(keyframe->type));
        if (keyframe->type != TrackKeyFrame::START)
            continue;
        // The name is what the file keeps, so a target that is not in the
        // pool at the moment survives a save.
        if (!keyframe->drawsToScreen())
            bytes += keyframe->targetName;
        bytes += '\0';
    }
    return bytes;
}

std::string TrackSystemIO::interpolateBytes(const TrackInterpolate& track)
{
    std::string bytes;
    putWord(bytes, static_cast<unsigned int>(track.getKeyframeCount()));
    for (const auto& entry : track.getKeyframes())
    {
        const TrackKeyFrameInterpolate* keyframe = static_cast<const TrackKeyFrameInterpolate*>(entry.second);
        putWord(bytes, keyframe->row);
        putWord(bytes, static_cast<unsigned int>(keyframe->interpolation));
        unsigned int value;
        std::memcpy(&value, &keyframe->value, sizeof value);
        putWord(bytes, value);
    }
    return bytes;
}

bool TrackSystemIO::saveStartStopTrack(const std::string& object, const TrackStartStop* track)
{
    return !track || commit(startStopFileName(object), startStopBytes(*track));
}

bool TrackSystemIO::saveInterpolateTrack(const std::string& object, const TrackInterpolate* track)
{
    return !track || commit(interpolateFileName(object, track->getName()), interpolateBytes(*track));
}

bool TrackSystemIO::save(const TrackSystem* system)
{
    if (!system)
        return true;
    for (const auto& entry : system->getTrackGroups())
    {
        const TrackGroup* group = entry.second;
        if (!saveStartStopTrack(group->getName(), group->getStartStopTrack()))
            return false;
        for (int i = 0; i < group->getInterpolateTrackCount(); ++i)
        {
            if (!saveInterpolateTrack(group->getName(), group->getInterpolateTrack(i)))
                return false;
        }
    }
    return true;
}
