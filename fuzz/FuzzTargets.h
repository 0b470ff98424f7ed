#pragma once

// What each fuzz target does with one input. The libFuzzer entry points in
// this folder call these, and so does the regression test of the normal
// build, which replays every kept finding and every seed without libFuzzer;
// that is why the harnesses live in a header the test can include.
//
// A harness feeds the bytes to one reader, then works the result the way the
// engine or the tool would, so that a bad value the reader let through shows
// up where it would be used. Where a reader and a writer promise to
// round-trip, the harness checks the promise and reports a broken one in
// Outcome::broken; the fuzzer turns that into a crash.

#include "demosys/data/DataEffectPool.h"
#include "demosys/runtime/Effect.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/scene/MRVObject.h"
#include "demosys/scene/MRVObjectFile.h"
#include "demosys/scene/MRVScene.h"
#include "demosys/scene/MRVSceneLoader.h"
#include "demosys/scene/MRVSceneReader.h"
#include "demosys/scene/MRVSceneWriter.h"
#include "demosys/script/DemoScriptParser.h"
#include "demosys/script/EffectDefinition.h"
#include "demosys/script/EffectDefinitionParser.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"
#include "demosys/timeline/Animation.h"
#include "demosys/timeline/AnimationEdit.h"
#include "demosys/timeline/AnimationParser.h"
#include "demosys/timeline/Keyframe.h"
#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackInterpolate.h"
#include "demosys/timeline/TrackStartStop.h"
#include "demosys/timeline/TrackSystem.h"
#include "demosys/timeline/TrackSystemIO.h"
#include "mrvutils/Image.h"
#include "demosys/timeline/TimelineEdit.h"
#include "demosys/timeline/TimelineParser.h"
#include "demosys/timeline/TimelinePrinter.h"
#include "demosys/timeline/TrackDirectoryReader.h"

#include <GL/glew.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace mrvfuzz
{

struct Outcome
{
    // The reader took the input as valid.
    bool accepted = false;
    // A promise of the reader (or its writer) that this input broke; empty
    // when none was.
    std::string broken;
};

using Bytes = std::vector<unsigned char>;

// Every reader here takes a file name, so each input goes through a private
// directory that lives as long as the process.
inline void removeScratch();

inline const std::string& scratchDir()
{
    // Never destroyed: the exit handler that removes the directory runs
    // after the destructors of statics made later than it was registered.
    static const std::string* dir = [] {
        // Memory first: on ext4, rewriting a file that already has blocks
        // flushes it on close, which slows a run a hundredfold.
        const char* base = std::getenv("TMPDIR");
        std::error_code ignored;
        if (!base || !*base)
            base = std::filesystem::is_directory("/dev/shm", ignored) && access("/dev/shm", W_OK) == 0 ? "/dev/shm"
                                                                                                     : "/tmp";
        std::string pattern = std::string(base) + "/mrvfuzz-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        const char* made = mkdtemp(buffer.data());
        if (!made)
        {
            std::perror("mrvfuzz: mkdtemp");
            std::abort();
        }
        std::atexit(removeScratch);
        return new std::string(std::string(made) + "/");
    }();
    return *dir;
}

inline void removeScratch()
{
    std::error_code ignored;
    std::filesystem::remove_all(scratchDir(), ignored);
}

inline std::string writeScratch(const std::string& name, const void* data, size_t size)
{
    const std::string path = scratchDir() + name;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

inline std::string writeScratch(const std::string& name, const std::string& text)
{
    return writeScratch(name, text.data(), text.size());
}

inline bool readWhole(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

inline void emptyScratchDir(const std::string& name)
{
    std::error_code ignored;
    std::filesystem::remove_all(scratchDir() + name, ignored);
    std::filesystem::create_directories(scratchDir() + name, ignored);
}

// What the code under test writes to std::cout, for the writers that only
// print.
class CoutCapture
{
public:
    CoutCapture() : saved(std::cout.rdbuf(sink.rdbuf())) {}
    ~CoutCapture() { std::cout.rdbuf(saved); }
    std::string text() const { return sink.str(); }

private:
    std::ostringstream sink;
    std::streambuf* saved;
};

// --- demoscript -------------------------------------------------------------

// The effect classes and definition files a demoscript is checked against.
// Scripts name the definition directory "@/"; the harness puts the real
// path there, which keeps inputs and seeds independent of where they run.
const char* const kDefinitionMarker = "@/";

inline const char* const* scriptDefinitions()
{
    // name, text: every declared type, an option list and a method.
    static const char* const files[] = {
        "BlendEffect",
        "parameters {\n"
        "    shader [type=string] [default=default] [values=<string>];\n"
        "    mode [type=string] [default=add] [values=add, multiply, screen];\n"
        "    opacity [type=float] [default=1.0] [values=<string>];\n"
        "    count [type=int] [default=4] [values=<string>];\n"
        "    visible [type=bool] [default=true] [values=<string>];\n"
        "}\n"
        "methods {\n"
        "    flash(color, duration);\n"
        "}\n",
        "FadeEffect",
        "parameters {\n    speed [type=float] [default=0.5] [values=<string>];\n"
        "    texture [type=string] [default=none] [values=<string>];\n}\n",
        "system",
        "parameters {\n    rowrate [type=int] [default=20] [values=<string>];\n"
        "    stop [type=int] [default=1800000] [values=<string>];\n}\n",
        "screen",
        "parameters {\n    width [type=int] [default=640] [values=<string>];\n"
        "    height [type=int] [default=360] [values=<string>];\n}\n",
        "sound",
        "parameters {\n    play [type=int] [default=1] [values=<string>];\n}\n",
        nullptr,
    };
    return files;
}

// Registers the effect classes and writes the definitions for as long as it
// lives; the template pool that was installed before comes back afterwards.
class ScriptWorld
{
public:
    ScriptWorld()
        : previous(MRVDemosys::effectTemplatePool), pool(new DataEffectPool())
    {
        const char* const* files = scriptDefinitions();
        for (int i = 0; files[i]; i += 2)
        {
            const std::string name = files[i];
            writeScratch("definitions/" + name + ".def", files[i + 1]);
            if (name != "system" && name != "screen" && name != "sound")
                pool->addEffect(name, new Effect());
        }
        MRVDemosys::effectTemplatePool = pool;
    }
    ~ScriptWorld()
    {
        MRVDemosys::effectTemplatePool = previous;
        CoutCapture quiet;
        delete pool;
    }

    ScriptWorld(const ScriptWorld&) = delete;
    ScriptWorld& operator=(const ScriptWorld&) = delete;

    static std::string definitionDir() { return scratchDir() + "definitions/"; }

private:
    DataEffectPool* previous;
    DataEffectPool* pool;
};

inline std::string replaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Parses the script as the resource loader does, then reads every group the
// way effects read their parameters. Needs a ScriptWorld.
inline Outcome runDemoScript(const uint8_t* data, size_t size)
{
    Outcome outcome;
    const std::string script = replaceAll(std::string(reinterpret_cast<const char*>(data), size),
                                          kDefinitionMarker, ScriptWorld::definitionDir());
    const std::string path = writeScratch("demoscript.txt", script);
    for (bool defaults : {true, false})
    {
        DemoScriptParser parser(path);
        parser.parseDefaults(defaults);
        parser.parse();
        std::unique_ptr<Parameters> system(parser.getParameterGroup("system_parameters"));
        std::unique_ptr<Parameters> effects(parser.getParameterGroup("effect_parameters"));
        if (defaults)
            outcome.accepted = parser.isValid();
        if (!parser.isValid())
            continue;
        for (const Parameters* set : {system.get(), effects.get()})
        {
            if (!set)
                continue;
            for (const auto& group : set->getGroups())
                for (const auto& entry : group.second->getEntries())
                    group.second->getParameter(entry.first);
            set->toString();
        }
    }
    return outcome;
}

// --- effect definitions -----------------------------------------------------

// Parses the definition, then checks a demoscript against it: the effect's
// defaults are validated entry by entry, so whatever odd declaration the
// parser let through meets the code that reads declarations. Needs a
// ScriptWorld.
inline Outcome runEffectDefinition(const uint8_t* data, size_t size)
{
    Outcome outcome;
    const std::string path = writeScratch("fuzzdefs/BlendEffect.def", data, size);
    {
        EffectDefinitionParser parser(path);
        std::unique_ptr<EffectDefinition> definition(parser.parse());
        outcome.accepted = parser.isValid() && definition;
        if (!outcome.accepted)
            return outcome;
        definition->toString();
        delete definition->getDefaults();
        for (Parameters* set : {definition->getParameters(), definition->getMethods()})
            if (set)
                for (const auto& group : set->getGroups())
                    definition->hasParameter(group.first), definition->getMethod(group.first);
    }

    // The other definitions the script needs sit beside the fuzzed one.
    const char* const* files = scriptDefinitions();
    for (int i = 0; files[i]; i += 2)
        if (std::string(files[i]) != "BlendEffect")
            writeScratch(std::string("fuzzdefs/") + files[i] + ".def", files[i + 1]);
    const std::string script = "{MRVDS1}\n"
                               "paths { definition = " + scratchDir() + "fuzzdefs/; }\n"
                               "shaders { blend = blend; }\n"
                               "blend1 * BlendEffect { shader = shaders[blend]; }\n";
    const std::string scriptPath = writeScratch("fuzzdefs/demoscript.txt", script);
    DemoScriptParser parser(scriptPath);
    parser.parseDefaults(true);
    parser.parse();
    std::unique_ptr<Parameters> system(parser.getParameterGroup("system_parameters"));
    std::unique_ptr<Parameters> effects(parser.getParameterGroup("effect_parameters"));
    if (effects)
        effects->toString();
    return outcome;
}

// --- track files ------------------------------------------------------------

// One input holds both files of object "fuzz": a flag byte (bit 0: the
// start/stop file exists, bit 1: the track "value" exists), the length of the
// start/stop file as two bytes little-endian, the start/stop file, and the
// rest as the interpolated track file.
const char* const kTrackObject = "fuzz";
const char* const kTrackName = "value";

inline Bytes packTrackFiles(const Bytes* startStop, const Bytes* track)
{
    const size_t length = startStop ? startStop->size() : 0;
    Bytes packed = { static_cast<unsigned char>((startStop ? 1 : 0) | (track ? 2 : 0)),
                     static_cast<unsigned char>(length & 0xff), static_cast<unsigned char>((length >> 8) & 0xff) };
    if (startStop)
        packed.insert(packed.end(), startStop->begin(), startStop->end());
    if (track)
        packed.insert(packed.end(), track->begin(), track->end());
    return packed;
}

// Reads the files as the player does, then as mrvtrack dump does; a dump
// that warns of nothing must compile back to the very same bytes.
inline Outcome runTrackFile(const uint8_t* data, size_t size)
{
    Outcome outcome;
    if (size < 3)
        return outcome;
    const int flags = data[0];
    size_t length = data[1] | (static_cast<size_t>(data[2]) << 8);
    if (length > size - 3)
        length = size - 3;
    const std::string startStopBytes(reinterpret_cast<const char*>(data + 3), length);
    const std::string trackBytes(reinterpret_cast<const char*>(data + 3 + length), size - 3 - length);

    emptyScratchDir("tracks");
    const std::string dir = scratchDir() + "tracks";
    const std::string object = kTrackObject;
    const std::string name = kTrackName;
    if (flags & 1)
        writeScratch("tracks/" + object + ".track", startStopBytes);
    if (flags & 2)
        writeScratch("tracks/" + object + "." + name + ".track", trackBytes);

    {
        TrackSystemIO io(dir);
        Effect effect;
        effect.addTrackName(name);
        std::unique_ptr<TrackSystem> system(io.load({ object }, { &effect }));
        outcome.accepted = io.getDamagedFiles().empty();
        TrackGroup* group = system->getTrackGroupByName(object);
        TrackStartStop* startStop = group ? group->getStartStopTrack() : nullptr;
        TrackInterpolate* track = effect.getTrack(name);
        if (startStop)
        {
            startStop->validateKeyframes();
            int visited = 0;
            for (const auto& entry : startStop->getKeyframes())
            {
                if (++visited > 64)
                    break;
                for (unsigned int row : { entry.first - 1, entry.first, entry.first + 1 })
                {
                    group->isActive(row * 50u, row);
                    group->getLocalTime(row, row * 50u);
                    startStop->getRenderTarget(row);
                    startStop->getStartRow(row);
                }
            }
        }
        if (track)
        {
            int visited = 0;
            for (const auto& entry : track->getKeyframes())
            {
                if (++visited > 64)
                    break;
                const unsigned int time = entry.first * 50u;
                for (unsigned int t : { time, time + 25u, time - 1u })
                {
                    track->getValue(t);
                    track->getValue(t, 1u);
                    track->getValue(t, 1000u);
                }
            }
            track->getValue(0u);
            track->getValue(UINT_MAX);
        }
        // The group goes before the effect that points at it.
        effect.setTrackGroup(nullptr);
    }

    TrackDirectoryReader reader(dir);
    std::unique_ptr<TrackSystem> dumped(reader.read());
    if (!dumped)
        return outcome;
    std::vector<std::string> warnings = reader.getWarnings();
    const std::string timeline = TimelinePrinter::print(*dumped, warnings);
    if (!warnings.empty())
        return outcome;

    TimelineParser parser("dump");
    std::unique_ptr<TrackSystem> compiled(parser.parse(timeline));
    if (!compiled)
    {
        outcome.broken = "a dump without warnings does not compile: " + parser.getErrorMessage();
        return outcome;
    }
    emptyScratchDir("tracks-out");
    TrackSystemIO out(scratchDir() + "tracks-out");
    if (!out.save(compiled.get()))
    {
        outcome.broken = "a dump without warnings does not save: " + out.getErrorMessage();
        return outcome;
    }
    const std::string files[] = { object + ".track", object + "." + name + ".track" };
    const std::string contents[] = { startStopBytes, trackBytes };
    for (int i = 0; i < 2; ++i)
    {
        std::string written;
        const bool had = flags & (1 << i);
        const bool has = readWhole(scratchDir() + "tracks-out/" + files[i], written);
        if (had != has || (had && written != contents[i]))
            outcome.broken = "'" + files[i] + "' does not compile back to its bytes from the dump:\n" + timeline;
    }
    return outcome;
}

// --- animations -------------------------------------------------------------

// Parses the animation, flies it both ways over progress values in and out
// of range, and reads back what Animation::print() writes of it.
inline Outcome runAnimation(const uint8_t* data, size_t size)
{
    Outcome outcome;
    const std::string path = writeScratch("animation.ani", data, size);
    AnimationParser parser(path);
    std::unique_ptr<Animation> animation(parser.parse());
    outcome.accepted = parser.isValid() && animation;
    if (!outcome.accepted)
        return outcome;

    for (int type : { Animation::LINEAR, Animation::CATMULL_ROM })
    {
        animation->setInterpolationType(type);
        for (double progress : { 0.0, 0.25, 0.5, 0.999, 1.0, -0.5, 2.0 })
            animation->next(progress);
    }

    std::string printed;
    {
        CoutCapture capture;
        animation->print();
        printed = capture.text();
    }
    const std::string again = writeScratch("animation-printed.ani", printed);
    AnimationParser reparser(again);
    std::unique_ptr<Animation> reread(reparser.parse());
    if (!reread || reread->countKeyFrames() != animation->countKeyFrames())
    {
        outcome.broken = "a printed animation does not read back: " + reparser.getErrorMessage();
        return outcome;
    }

    // The editor's commits: a keyframe posed anew, or one inserted, leaves a
    // path that reads back with that pose there and every other keyframe
    // as it was.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int count = animation->countKeyFrames();
    AnimationEdit::Pose pose;
    pose.position = Vector<float, 3>(1.5f, -2.25f, 1000.125f);
    pose.pitch = -33.5f;
    pose.heading = 271.75f;
    for (const bool insert : { false, true })
    {
        const int index = count / 2;
        if (!insert && count == 0)
            continue;
        AnimationEdit edit("animation.ani", text);
        if (!(insert ? edit.insertKeyframe(index, pose) : edit.setKeyframe(index, pose)))
        {
            outcome.broken = "a path that reads cannot be edited: " + edit.getErrorMessage();
            return outcome;
        }
        AnimationParser editedParser("animation.ani");
        std::unique_ptr<Animation> edited(editedParser.parse(edit.getText()));
        if (!edited || edited->countKeyFrames() != count + (insert ? 1 : 0))
        {
            outcome.broken = "an edited path does not read back: " + editedParser.getErrorMessage();
            return outcome;
        }
        for (int k = 0; k < edited->countKeyFrames(); ++k)
        {
            const Keyframe* now = edited->getKeyFrame(k);
            const bool posed = k == index;
            const Keyframe* was = animation->getKeyFrame(insert && k > index ? k - 1 : k);
            const Vector<float, 3> position = posed ? pose.position : was->getPosition();
            const float pitch = posed ? pose.pitch : was->getPitch();
            const float heading = posed ? pose.heading : was->getHeading();
            if (now->getPosition().x() != position.x() || now->getPosition().y() != position.y() ||
                now->getPosition().z() != position.z() || now->getPitch() != pitch || now->getHeading() != heading)
            {
                outcome.broken = "an edit changed keyframe " + std::to_string(k + 1) + " beyond what it set";
                return outcome;
            }
        }
    }
    return outcome;
}

// --- PNG ----------------------------------------------------------------------

// Decodes from memory as the texture loader does, then reads every byte of
// the pixel block the image claims to hold.
inline Outcome runPng(const uint8_t* data, size_t size)
{
    Outcome outcome;
    if (size > static_cast<size_t>(INT_MAX))
        return outcome;
    Image image("fuzz.png", 0);
    outcome.accepted = image.putData(data, static_cast<int>(size));
    if (!outcome.accepted)
        return outcome;
    const size_t bytes = static_cast<size_t>(image.getWidth()) * image.getHeight() * image.getPixelSize();
    if (!image.getData() || bytes == 0 || image.getPixelSize() * 8 != image.getBpp())
    {
        outcome.broken = "a decoded image without pixels or with an odd pixel size";
        return outcome;
    }
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i)
        sum += image.getData()[i];
    if (bytes <= (1u << 20))
    {
        const float* floats = image.getFloatData();
        sum += static_cast<unsigned>(floats[bytes - 1] * 256.0f);
    }
    // Keeps the reads from being optimised away.
    volatile unsigned keep = sum;
    (void)keep;
    return outcome;
}

// --- mrvtrack timelines -------------------------------------------------------

// The files of a directory by name, with their bytes.
inline std::map<std::string, std::string> directoryFiles(const std::string& dir)
{
    std::map<std::string, std::string> files;
    std::error_code failure;
    for (std::filesystem::directory_iterator it(dir, failure), end; !failure && it != end; it.increment(failure))
        readWhole(it->path().string(), files[it->path().filename().string()]);
    return files;
}

// Compiles the timeline; what compiles must print as a timeline that
// compiles to the same tracks, and the track files written from it must dump
// without a warning to a timeline that compiles to the same files again.
inline Outcome runTimeline(const uint8_t* data, size_t size)
{
    Outcome outcome;
    TimelineParser parser("fuzz.txt");
    std::unique_ptr<TrackSystem> system(parser.parse(std::string(reinterpret_cast<const char*>(data), size)));
    outcome.accepted = system != nullptr;
    if (!system)
        return outcome;

    std::vector<std::string> warnings;
    const std::string printed = TimelinePrinter::print(*system, warnings);
    if (!warnings.empty())
    {
        outcome.broken = "a compiled timeline prints with warnings: " + warnings.front();
        return outcome;
    }
    TimelineParser reparser("printed.txt");
    std::unique_ptr<TrackSystem> reread(reparser.parse(printed));
    if (!reread)
    {
        outcome.broken = "a printed timeline does not compile: " + reparser.getErrorMessage() + printed;
        return outcome;
    }
    if (TimelinePrinter::print(*reread, warnings) != printed)
    {
        outcome.broken = "a printed timeline compiles to other tracks:\n" + printed;
        return outcome;
    }

    // The editor's key edits on the author's own text: a key set on a row
    // of its own and taken away again gives back every byte (a last line
    // without a line end may have gained one, so that the key could follow).
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const auto& group : system->getTrackGroups())
    {
        if (group.second->getInterpolateTrackCount() == 0)
            continue;
        const TrackInterpolate* track = group.second->getInterpolateTrack(0);
        unsigned int last = 0;
        for (const auto& key : track->getKeyframes())
            last = std::max(last, key.first);
        if (last >= 4294967294u)
            break;
        const std::string row = std::to_string(last + 1);
        TimelineEdit edit("fuzz.txt", text);
        if (!edit.setKey(group.first, track->getName(), row, "linear", "0.5"))
            outcome.broken = "no key can be added to a timeline that compiles: " + edit.getErrorMessage();
        else if (!edit.removeKey(group.first, track->getName(), row) ||
                 (edit.getText() != text && edit.getText() != text + "\n" && edit.getText() != text + "\r\n"))
            outcome.broken = "a key added and removed does not give back the text: " + edit.getErrorMessage() + "\n" +
                             edit.getText();
        if (!outcome.broken.empty())
            return outcome;
        break;
    }

    emptyScratchDir("timeline");
    TrackSystemIO io(scratchDir() + "timeline");
    // Names too long for a file system fail the save; that is the compile's
    // error to report, not a broken round trip.
    if (!io.save(system.get()))
        return outcome;
    TrackDirectoryReader reader(scratchDir() + "timeline");
    std::unique_ptr<TrackSystem> dumped(reader.read());
    warnings = reader.getWarnings();
    const std::string dump = dumped ? TimelinePrinter::print(*dumped, warnings) : std::string();
    if (!dumped || !warnings.empty())
    {
        outcome.broken = "compiled track files do not dump cleanly:\n" + printed + "---\n" + dump +
                         (warnings.empty() ? std::string() : "--- " + warnings.front());
        return outcome;
    }
    TimelineParser dumpParser("dump.txt");
    std::unique_ptr<TrackSystem> recompiled(dumpParser.parse(dump));
    emptyScratchDir("timeline-again");
    TrackSystemIO again(scratchDir() + "timeline-again");
    if (!recompiled || !again.save(recompiled.get()) ||
        directoryFiles(scratchDir() + "timeline") != directoryFiles(scratchDir() + "timeline-again"))
        outcome.broken = "the dump of compiled track files compiles to other files:\n" + printed + "---\n" + dump +
                         dumpParser.getErrorMessage();
    return outcome;
}

// --- 3D objects ---------------------------------------------------------------

// Reads the file as mrvobj does and loads it as the player does (vertex
// buffers uploaded, the scene drawn once), so needs a current GL context.
// Both must agree, down to the message; what the reader accepts the writer
// must encode, and that encoding must read back to itself.
inline Outcome runSceneLoader(const uint8_t* data, size_t size)
{
    Outcome outcome;
    const std::string path = writeScratch("object.o3d", data, size);
    MRVObjectFile file;
    std::string readError;
    const bool read = MRVSceneReader::readFile(path, file, readError);

    {
        MRVSceneLoader loader(path);
        MRVScene* loaded = loader.loadScene();
        std::unique_ptr<MRVScene> scene(loader.isValid() ? loaded : nullptr);
        outcome.accepted = loader.isValid();
        if (read != outcome.accepted || (!read && readError != loader.getErrorMessage()))
        {
            outcome.broken = "mrvobj and the player disagree: '" + readError + "' against '" +
                             loader.getErrorMessage() + "'";
            return outcome;
        }
        if (scene)
        {
            while (glGetError() != GL_NO_ERROR)
            {
            }
            scene->draw();
            glFinish();
            for (const MRVObjectFile::Mesh& mesh : file.meshes)
                if (!scene->getObjectByName(mesh.name))
                    outcome.broken = "object '" + mesh.name + "' is not found by its name";
            const GLenum error = glGetError();
            if (error != GL_NO_ERROR)
                outcome.broken = "drawing a loaded scene raised GL error " + std::to_string(error);
        }
    }
    if (!read || !outcome.broken.empty())
        return outcome;

    Bytes encoded;
    std::string error;
    if (!MRVSceneWriter::encode(file, encoded, error))
    {
        outcome.broken = "a file the reader accepts cannot be written: " + error;
        return outcome;
    }
    const std::string again = writeScratch("object-written.o3d", encoded.data(), encoded.size());
    MRVObjectFile reread;
    Bytes reencoded;
    if (!MRVSceneReader::readFile(again, reread, error) || !MRVSceneWriter::encode(reread, reencoded, error) ||
        reencoded != encoded)
        outcome.broken = "a written object file does not read back to itself: " + error;
    return outcome;
}

} // namespace mrvfuzz
