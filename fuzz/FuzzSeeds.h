#pragma once

// The seed corpus of every fuzz target: valid files made by the project's
// own writers where it has one (TrackSystemIO, TimelinePrinter,
// Animation::print, ParameterGroup::toString, MRVSceneWriter, the PNG encoder
// of the tests) and hand-written texts in the documented formats where it
// has none. The seed program writes them for libFuzzer; the regression test
// checks that every seed is still accepted, so a format change that leaves
// the corpus behind is noticed.

#include "fuzz/FuzzTargets.h"
#include "tests/support/PngWriter.h"

#include "demosys/scene/MRVSceneWriter.h"
#include "demosys/timeline/TrackKeyFrameInterpolate.h"
#include "demosys/timeline/TrackStartStopKeyFrame.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace mrvfuzz
{

struct Seed
{
    std::string name;
    Bytes bytes;
};

inline Bytes bytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// --- demoscript -------------------------------------------------------------

inline std::vector<Seed> demoScriptSeeds()
{
    std::vector<Seed> seeds;
    seeds.push_back({ "header-only", bytesOf("{MRVDS1}\n") });
    seeds.push_back({ "full", bytesOf("// A small production.\n"
                                      "{MRVDS1}\n"
                                      "paths { definition = @/; shaders = shaders/; }\n"
                                      "system { rowrate = 20; stop = 90000; }\n"
                                      "screen { width = 1280; height = 720; }\n"
                                      "sound { play = 1; }\n"
                                      "shaders { blend = blend; glow = glow; }\n"
                                      "timeline { not read at all }\n"
                                      "blend1 * BlendEffect {\n"
                                      "    shader = shaders[blend];   // a reference\n"
                                      "    mode = multiply;\n"
                                      "    opacity = 0.75;\n"
                                      "    count = -3;\n"
                                      "    visible = false;\n"
                                      "}\n"
                                      "fade1 * FadeEffect { speed = 0.01; texture = free text here; }\n"
                                      "empty { }\n") });
    seeds.push_back({ "crlf-no-paths-block", bytesOf("{MRVDS1}\r\nsystem {\r\n rowrate = 30;\r\n}\r\n"
                                                              "sound { play = 0 }\r\n") });

    // Blocks as the parameter groups print themselves.
    ParameterGroup paths("paths");
    paths.addParameter("definition", kDefinitionMarker);
    ParameterGroup system("system");
    system.addParameter("rowrate", "25");
    system.addParameter("start", "0:10:0");
    ParameterGroup blend("blend2 * BlendEffect");
    blend.addParameter("mode", "screen");
    blend.addParameter("opacity", "0.5");
    seeds.push_back({ "printed-groups", bytesOf("{MRVDS1}\n" + paths.toString() + system.toString() +
                                                blend.toString()) });
    return seeds;
}

// --- effect definitions -----------------------------------------------------

inline std::vector<Seed> effectDefinitionSeeds()
{
    std::vector<Seed> seeds;
    const char* const* files = scriptDefinitions();
    for (int i = 0; files[i]; i += 2)
        seeds.push_back({ files[i], bytesOf(files[i + 1]) });
    seeds.push_back({ "methods-only", bytesOf("methods {\n    flash(color, duration);\n    stop();\n"
                                              "    many(a, b, c, d, e, f, g, h, i, j, k, l);\n}\n") });
    seeds.push_back({ "tight", bytesOf("parameters{shader[type=string][default=a][values=a,b,c];"
                                       "visible[type=bool][default=false][values=<string>]}methods{}") });
    return seeds;
}

// --- track files ------------------------------------------------------------

// The two files of object kTrackObject as TrackSystemIO saves them, packed
// as runTrackFile reads them; a null track leaves its file out.
inline Bytes savedTrackFiles(const TrackStartStop* startStop, const TrackInterpolate* track)
{
    emptyScratchDir("seed-tracks");
    TrackSystemIO io(scratchDir() + "seed-tracks");
    io.saveStartStopTrack(kTrackObject, startStop);
    io.saveInterpolateTrack(kTrackObject, track);
    std::string startStopBytes;
    std::string trackBytes;
    readWhole(io.startStopFileName(kTrackObject), startStopBytes);
    readWhole(io.interpolateFileName(kTrackObject, kTrackName), trackBytes);
    const Bytes a(startStopBytes.begin(), startStopBytes.end());
    const Bytes b(trackBytes.begin(), trackBytes.end());
    return packTrackFiles(startStop ? &a : nullptr, track ? &b : nullptr);
}

inline TrackStartStopKeyFrame* startKeyframe(unsigned int row, const std::string& target)
{
    TrackStartStopKeyFrame* keyframe = new TrackStartStopKeyFrame(row, TrackKeyFrame::START);
    if (!target.empty())
        keyframe->targetName = target;
    return keyframe;
}

inline std::vector<Seed> trackFileSeeds()
{
    std::vector<Seed> seeds;

    TrackStartStop intervals(3);
    intervals.addKeyframe(startKeyframe(16, "blurbuffer"));
    intervals.addKeyframe(new TrackStartStopKeyFrame(32, TrackKeyFrame::STOP));
    intervals.addKeyframe(startKeyframe(100, ""));
    intervals.addKeyframe(new TrackStartStopKeyFrame(150, TrackKeyFrame::STOP));
    intervals.addKeyframe(startKeyframe(400, "glow"));
    TrackInterpolate curves(kTrackName);
    for (int curve = 0; curve <= 5; ++curve)
        curves.addKeyframe(new TrackKeyFrameInterpolate(static_cast<unsigned>(curve * 10), curve, curve * 0.5f - 1.0f));
    seeds.push_back({ "both", savedTrackFiles(&intervals, &curves) });

    TrackStartStop empty(-1);
    seeds.push_back({ "empty-start-stop", savedTrackFiles(&empty, nullptr) });

    TrackInterpolate extremes(kTrackName);
    extremes.addKeyframe(new TrackKeyFrameInterpolate(0, 3, std::numeric_limits<float>::infinity()));
    extremes.addKeyframe(new TrackKeyFrameInterpolate(1, 4, std::numeric_limits<float>::denorm_min()));
    extremes.addKeyframe(new TrackKeyFrameInterpolate(4294967295u, -7, std::nanf("")));
    seeds.push_back({ "extreme-values", savedTrackFiles(nullptr, &extremes) });

    TrackStartStop lone(2147483647);
    lone.addKeyframe(startKeyframe(4294967295u, "a target with spaces"));
    TrackInterpolate none(kTrackName);
    seeds.push_back({ "lone-start", savedTrackFiles(&lone, &none) });
    return seeds;
}

// --- animations -------------------------------------------------------------

inline Bytes printedAnimation(int keyframes, float scale)
{
    Animation animation;
    for (int k = 0; k < keyframes; ++k)
        animation.addKeyframe(new Keyframe(Vector<float, 3>(k * scale, -k * 0.5f, 1e-3f * k), k * 15.0f - 90.0f,
                                           k * -7.25f));
    CoutCapture capture;
    animation.print();
    return bytesOf(capture.text());
}

inline std::vector<Seed> animationSeeds()
{
    std::vector<Seed> seeds;
    seeds.push_back({ "none", printedAnimation(0, 1.0f) });
    seeds.push_back({ "one", printedAnimation(1, 1.0f) });
    seeds.push_back({ "catmull", printedAnimation(5, 2.5f) });
    seeds.push_back({ "large", printedAnimation(12, 3.0e30f) });
    seeds.push_back({ "hand-written", bytesOf("  MRVANI1\r\n\r\nkeyframes\t2 extra\r\n"
                                              "pos +1.5 -2E3 .5 ignored\r\nrot 90 -45\r\n"
                                              "p 0 0 0\nr 0 0\nafter the last keyframe\n") });
    return seeds;
}

// --- PNG ----------------------------------------------------------------------

inline std::vector<unsigned> pattern(size_t count, unsigned limit)
{
    std::vector<unsigned> samples(count);
    for (size_t i = 0; i < count; ++i)
        samples[i] = static_cast<unsigned>((i * 37 + 11) % limit);
    return samples;
}

inline std::vector<Seed> pngSeeds()
{
    using pngtest::ColorType;
    std::vector<Seed> seeds;
    struct Kind
    {
        const char* name;
        ColorType type;
        int depth;
        int width;
        int height;
        bool interlaced;
    };
    const Kind kinds[] = {
        { "grey1", ColorType::Grey, 1, 9, 3, false },
        { "grey2", ColorType::Grey, 2, 5, 2, false },
        { "grey4", ColorType::Grey, 4, 3, 3, false },
        { "grey8", ColorType::Grey, 8, 4, 4, false },
        { "grey16", ColorType::Grey, 16, 2, 3, false },
        { "grey-alpha8", ColorType::GreyAlpha, 8, 3, 2, false },
        { "rgb8", ColorType::RGB, 8, 4, 3, false },
        { "rgb16", ColorType::RGB, 16, 2, 2, false },
        { "rgba8-interlaced", ColorType::RGBA, 8, 9, 9, true },
        { "palette4", ColorType::Palette, 4, 5, 3, false },
        { "palette8-alpha", ColorType::Palette, 8, 4, 4, false },
    };
    for (const Kind& kind : kinds)
    {
        const size_t count = static_cast<size_t>(kind.width) * kind.height * pngtest::channelsOf(kind.type);
        const unsigned limit = kind.type == ColorType::Palette ? 6u : (1u << kind.depth);
        pngtest::Picture picture = pngtest::makePicture(kind.width, kind.height, kind.type,
                                                        pattern(count, limit), kind.depth);
        picture.interlaced = kind.interlaced;
        if (kind.type == ColorType::Palette)
        {
            picture.palette = { 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0, 255, 255, 255 };
            if (kind.depth == 8)
                picture.paletteAlpha = { 0, 128, 255 };
        }
        seeds.push_back({ kind.name, pngtest::encodePng(picture) });
    }
    return seeds;
}

// --- mrvtrack timelines -------------------------------------------------------

inline std::vector<Seed> timelineSeeds()
{
    std::vector<Seed> seeds;
    seeds.push_back({ "readme-example", bytesOf("# Two effects of the production; '#' starts a comment.\n"
                                                "rowrate 20\n"
                                                "\n"
                                                "object blur1\n"
                                                "priority 2\n"
                                                "on 16 32 blurbuffer\n"
                                                "on 0:05:000 0:07:500\n"
                                                "start 400\n"
                                                "track alpha\n"
                                                "  0         linear   0\n"
                                                "  10        cos-out  1\n"
                                                "  0:01:000  step     0.5\n"
                                                "  30        ramp     -2.75\n"
                                                "track \"zoom factor\"\n"
                                                "\n"
                                                "object fade\n"
                                                "track level\n"
                                                "  0 cos-in 0.25\n") });
    seeds.push_back({ "stops-and-values", bytesOf("rowrate 1000\r\nobject \"a\\x01b\\\"\"\r\nstop 5\r\nstart 1 screen\r\n"
                                                  "start 4294967295\r\npriority -2147483648\r\n"
                                                  "track t.x\r\n1 4 nan:7fc00001\r\n2 -9 -inf\r\n3 step 1e-45\r\n") });

    // What mrvtrack dump prints for a system it has read.
    TrackSystem system;
    TrackGroup* group = new TrackGroup("glow");
    TrackStartStop* startStop = new TrackStartStop(7);
    startStop->addKeyframe(startKeyframe(8, "fbo one"));
    startStop->addKeyframe(new TrackStartStopKeyFrame(9, TrackKeyFrame::STOP));
    group->setStartStopTrack(startStop);
    TrackInterpolate* track = new TrackInterpolate("level");
    track->addKeyframe(new TrackKeyFrameInterpolate(0, 1, 0.1f));
    track->addKeyframe(new TrackKeyFrameInterpolate(100, 2, 3.0e38f));
    group->addInterpolateTrack(track);
    system.addTrackGroup(group);
    std::vector<std::string> warnings;
    seeds.push_back({ "printed", bytesOf(TimelinePrinter::print(system, warnings)) });
    return seeds;
}

// --- 3D objects ---------------------------------------------------------------

inline MRVObjectFile::Mesh objectMesh(const std::string& name, int positionSize, int normalSize, int texCoordSize,
                                      int vertexCount, const std::vector<int>& indices)
{
    MRVObjectFile::Mesh mesh;
    mesh.name = name;
    mesh.positionSize = positionSize;
    mesh.normalSize = normalSize;
    mesh.texCoordSize = texCoordSize;
    mesh.vertexCount = vertexCount;
    for (int i = 0; i < vertexCount * mesh.floatsPerVertex(); ++i)
        mesh.vertices.push_back(static_cast<float>(i % 7) * 0.25f - 0.5f);
    mesh.indices = indices;
    mesh.triangleCount = static_cast<int>(indices.size() / 3);
    mesh.translation = Vector<float, 3>(1.0f, -2.0f, 3.5f);
    mesh.bboxMin = Vector<float, 3>(-1.0f, -1.0f, 0.0f);
    mesh.bboxMax = Vector<float, 3>(1.0f, 1.0f, 0.25f);
    return mesh;
}

inline Bytes encodedObject(const MRVObjectFile& file)
{
    Bytes bytes;
    std::string error;
    MRVSceneWriter::encode(file, bytes, error);
    return bytes;
}

inline std::vector<Seed> sceneLoaderSeeds()
{
    std::vector<Seed> seeds;
    MRVObjectFile empty;
    seeds.push_back({ "no-meshes", encodedObject(empty) });

    MRVObjectFile textured;
    MRVObjectFile::Mesh deck = objectMesh("deck", 3, 3, 2, 4, { 0, 1, 2, 2, 3, 0 });
    deck.materialCount = 1;
    deck.material.colour2 = Vector<float, 3>(0.5f, 1.0f, 0.0f);
    deck.material.diffuseTextureFlag = 1;
    deck.material.diffuseTexture = "deck.png";
    deck.material.normalTextureFlag = 1;
    deck.material.normalTexture = "deck_normal.png";
    textured.meshes.push_back(deck);
    seeds.push_back({ "textured-quad", encodedObject(textured) });

    MRVObjectFile mixed;
    MRVObjectFile::Mesh flat = objectMesh("flat", 2, 0, 0, 3, { 0, 1, 2 });
    flat.materialCount = 7;
    flat.material.normalTextureFlag = 1;
    flat.material.normalTexture = "bumps.png";
    mixed.meshes.push_back(flat);
    mixed.meshes.push_back(objectMesh("wide", 4, 0, 4, 3, { 2, 1, 0 }));
    mixed.meshes.push_back(objectMesh("points", 3, 3, 1, 2, {}));
    mixed.meshes.push_back(objectMesh("", 3, 0, 0, 0, {}));
    seeds.push_back({ "mixed-layouts", encodedObject(mixed) });
    return seeds;
}

// --- the targets --------------------------------------------------------------

struct Target
{
    // Also the folder name of its corpus and kept findings, in lower case.
    const char* name;
    Outcome (*run)(const uint8_t* data, size_t size);
    std::vector<Seed> (*seeds)();
    // Needs the effect classes and definitions of a ScriptWorld.
    bool needsScriptWorld;
};

inline const std::vector<Target>& targets()
{
    static const std::vector<Target> all = {
        { "demoscript", runDemoScript, demoScriptSeeds, true },
        { "effectdefinition", runEffectDefinition, effectDefinitionSeeds, true },
        { "trackfile", runTrackFile, trackFileSeeds, false },
        { "animation", runAnimation, animationSeeds, false },
        { "png", runPng, pngSeeds, false },
        { "timeline", runTimeline, timelineSeeds, false },
        { "sceneloader", runSceneLoader, sceneLoaderSeeds, false },
    };
    return all;
}

} // namespace mrvfuzz
