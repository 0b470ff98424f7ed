#pragma once

#include "demosys/sound/AudioPositionSource.h"
#include "demosys/sound/SoundResult.h"

#include <cstdint>

class SoundStream;
class SoundSystem;

// A voice of the SoundSystem that plays one stream. Operations come from the
// main thread; render() comes from the output's thread with the output locked,
// and every field it shares with the main thread is only touched under that lock.
//
// Positions are in frames of the stream's rate, or in milliseconds: a
// millisecond position is set to the first frame at or after it, so that
// reading it back gives the same millisecond.
class SoundChannel : public AudioPositionSource
{
public:
    explicit SoundChannel(SoundSystem* system);

    SoundChannel(const SoundChannel&) = delete;
    SoundChannel& operator=(const SoundChannel&) = delete;

    // Unpausing opens the output on the first time.
    SoundResult setPaused(bool paused);
    SoundResult getPaused(bool* paused);
    // Sample-exact; positions past the end are allowed and play nothing.
    SoundResult setPosition(unsigned int ms);
    SoundResult setPositionFrames(uint64_t frame);
    // The audible position: what the listener hears now, not what was mixed.
    SoundResult getPosition(unsigned int* ms);
    SoundResult getPositionFrames(uint64_t* frame);
    // True from playSound until stop() or the end of the music, paused or not.
    SoundResult isPlaying(bool* playing);
    SoundResult stop();
    // The n-band magnitude spectrum at the audible position; see SpectrumAnalyzer.
    SoundResult getSpectrum(float* values, int n, int channelOffset, int windowType);

    bool readHeardPosition(double& ms) override;

    SoundStream* getStream() const { return stream; }

    // For the SoundSystem. start/detach under the output lock.
    void start(SoundStream* stream, bool paused);
    void detach();
    bool isAudible() const { return stream && !paused && !ended; }
    // Adds up to frames frames of the stream into mix, using scratch (room for
    // frames stereo frames). Output thread, output locked.
    void render(float* mix, float* scratch, int frames, uint64_t stamp);

private:
    uint64_t heardFrame() const;

    SoundSystem* system;
    SoundStream* stream = nullptr;
    bool paused = true;
    bool ended = false;
    // The next frame to render; the decoder is moved there first when seekPending.
    uint64_t cursor = 0;
    bool seekPending = false;
    // Where playback last (re)started: the audible position never reads earlier.
    uint64_t floorFrame = 0;
    // The last request rendered since then, to tell how far the listener is.
    bool rendered = false;
    uint64_t chunkEnd = 0;
    int chunkFrames = 0;
    uint64_t chunkStamp = 0;
};
