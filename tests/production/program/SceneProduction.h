#pragma once

// A small production for the scene effects: the effect test production with
// the generated models beside the script, camera paths that hold one pose,
// and music the test writes, so that the spectrum the effects read is known.
#include "demosys/scene/MRVSceneWriter.h"
#include "tests/production/program/EffectsProduction.h"
#include "tests/support/MusicFixtures.h"
#include "tools/mrvmodels/ModelCatalog.h"

#include <sndfile.h>

#include <cmath>
#include <functional>
#include <sstream>

namespace effecttest
{

// A camera path that holds one pose from start to end.
inline std::string pose(float x, float y, float z, float pitch = 0.0f, float heading = 0.0f)
{
    std::ostringstream text;
    text << "MRVANI1\nkeyframes 4\n";
    for (int k = 0; k < 4; ++k)
        text << "pos " << x << " " << y << " " << z << "\nrot " << pitch << " " << heading << "\n";
    return text.str();
}

class SceneProduction : public EffectsProduction
{
protected:
    static constexpr int RATE = 44100;

    // Every model of the generator as NAME.o3d beside the script.
    void models() const
    {
        for (const ModelCatalog::Entry& entry : ModelCatalog::entries())
        {
            std::string error;
            ASSERT_TRUE(MRVSceneWriter::writeFile(entry.build(), dir + "/" + ModelCatalog::fileName(entry), error))
                << error;
        }
    }

    // misc/FILE: pose(...).
    void path(const std::string& file, float x, float y, float z, float pitch = 0.0f, float heading = 0.0f) const
    {
        writeText(dir + "/misc/" + file, pose(x, y, z, pitch, heading));
    }

    // music.wav beside the script: stereo, 44.1 kHz, sample(channel, frame).
    void music(double seconds, const std::function<float(int, int64_t)>& sample) const
    {
        ASSERT_TRUE(MusicFixtures::writeSound(dir + "/music.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, RATE, 2,
                                              static_cast<int64_t>(seconds * RATE), sample));
    }

    // A sine on band `band` of a 64-band spectrum, both channels, from
    // `from` seconds on (silence before).
    static std::function<float(int, int64_t)> toneFrom(double from, int band, double amplitude)
    {
        const double frequency = MusicFixtures::bandFrequency(band, 64, RATE);
        return [=](int, int64_t frame) {
            if (frame < static_cast<int64_t>(from * RATE))
                return 0.0f;
            return static_cast<float>(amplitude * std::sin(2.0 * M_PI * frequency * frame / RATE));
        };
    }

    // As play(), with music.wav playing (on the fixed step the program
    // never sends it to a device).
    ProgramRun playMusic(int frames, const std::string& window = "128x72", int fps = 20)
    {
        return run(frames, window, fps, "sound { file = music.wav; play = 1; }\n");
    }
};

} // namespace effecttest
