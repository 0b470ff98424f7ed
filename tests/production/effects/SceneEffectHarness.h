#pragma once

// The effect harness with what the scene effects need besides: the object
// and animation pools, scenes from the model generator loaded the way the
// player loads them, straight camera paths, and a music clock on a sound
// file the test writes, so that the spectrum the effect reads is known.
#include "demosys/data/Binary.h"
#include "demosys/data/DataAnimationPool.h"
#include "demosys/data/DataObjectPool.h"
#include "demosys/sound/FMODTimer.h"
#include "demosys/scene/MRVScene.h"
#include "demosys/scene/MRVSceneLoader.h"
#include "demosys/scene/MRVSceneWriter.h"
#include "demosys/timeline/Animation.h"
#include "demosys/timeline/Keyframe.h"
#include "tests/production/effects/EffectTestHarness.h"
#include "tests/support/MusicFixtures.h"

#include <sndfile.h>

#include <cmath>
#include <functional>

namespace effecttest
{

class SceneEffectHarness : public EffectHarness
{
protected:
    static constexpr int RATE = 44100;

    void SetUp() override
    {
        EffectHarness::SetUp();
        MRVDemosys::objectPool = new DataObjectPool();
        MRVDemosys::animationPool = new DataAnimationPool();
        MRVDemosys::camera.reset();
    }

    void TearDown() override
    {
        if (timer)
            timer->dispose();
        timer.reset();
        delete MRVDemosys::objectPool;
        delete MRVDemosys::animationPool;
        EffectHarness::TearDown();
    }

    // The file written and loaded back by the scene loader, as the objects
    // stage does, into the object pool.
    MRVScene* addScene(const std::string& name, const MRVObjectFile& objects)
    {
        const std::string path = MusicFixtures::tempPath("scene_" + name + ".o3d");
        std::string error;
        EXPECT_TRUE(MRVSceneWriter::writeFile(objects, path, error)) << error;
        MRVSceneLoader loader(path);
        MRVScene* scene = loader.loadScene();
        EXPECT_TRUE(loader.isValid()) << loader.getErrorMessage();
        if (scene)
            MRVDemosys::objectPool->addObject(name, scene);
        return scene;
    }

    // A camera path that holds one pose all the way (four equal keyframes,
    // as the Catmull-Rom evaluation needs).
    Animation* addPath(const std::string& name, const Vector<float, 3>& position, float pitch = 0.0f,
                       float heading = 0.0f)
    {
        auto* path = new Animation();
        for (int k = 0; k < 4; ++k)
            path->addKeyframe(new Keyframe(position, pitch, heading));
        MRVDemosys::animationPool->addAnimation(name, path);
        return path;
    }

    Binary* addBlob(const std::string& name, const std::vector<unsigned char>& bytes)
    {
        auto* blob = new Binary(bytes);
        MRVDemosys::binaryPool->addData(name, blob);
        return blob;
    }

    // A stereo sound of `seconds` at 44.1 kHz, sample(channel, frame), as the
    // music clock at `time` (fixed step, so the spectrum follows the clock).
    FMODTimer* playMusic(const std::string& file, double seconds,
                         const std::function<float(int channel, int64_t frame)>& sample, unsigned int time)
    {
        const std::string path = MusicFixtures::tempPath(file);
        EXPECT_TRUE(MusicFixtures::writeSound(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, RATE, 2,
                                              static_cast<int64_t>(seconds * RATE), sample));
        timer.reset(new FMODTimer(path, 20));
        timer->useFixedStep(50);
        EXPECT_TRUE(timer->init()) << timer->getMessage();
        timer->setTime(time);
        timer->play();
        timer->updateSystem();
        MRVDemosys::timer = timer.get();
        return timer.get();
    }

    // A sine on band `band` of a 64-band spectrum in the channels asked for.
    static std::function<float(int, int64_t)> tone(int band, double amplitude, bool left = true, bool right = true)
    {
        const double frequency = MusicFixtures::bandFrequency(band, 64, RATE);
        return [=](int channel, int64_t frame) {
            if ((channel == 0 && !left) || (channel == 1 && !right))
                return 0.0f;
            return static_cast<float>(amplitude * std::sin(2.0 * M_PI * frequency * frame / RATE));
        };
    }

    static float silence(int, int64_t) { return 0.0f; }

    // The spectrum the effect reads at the clock's present position.
    std::vector<float> spectrum(int channel, int window)
    {
        std::vector<float> values(64);
        timer->getSpectrum(values.data(), 64, channel, window);
        return values;
    }

    std::unique_ptr<FMODTimer> timer;
};

} // namespace effecttest
