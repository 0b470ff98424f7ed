#pragma once

#include "demosys/sound/SoundResult.h"
#include "demosys/sound/TickSource.h"

#include <memory>
#include <string>

class AudioPositionSource;
class SoundChannel;
class SoundStream;
class SoundSystem;

// The music clock, the single source of demo time: it plays the music and
// answers every frame with the time in milliseconds, the row (rowRate rows per
// second) and the milliseconds since the previous frame. (The name dates from
// the sound library it was first written for; productions know it by it.)
//
// Time is counted by a tick source from an offset set when the music is played
// or positioned. In real time the offset is also slewed a little every frame
// toward the position actually heard, so that picture and music stay together
// over any length without visible jumps.
//
// Use from the program:
//   FMODTimer* timer = new FMODTimer(musicPath, rowRate);   // or FMODTimer(rowRate): no music
//   timer->useFixedStep(60);       // optional, before init(): frame k reads start + k*1000/60
//   timer->init();                 // false: see getMessage()
//   timer->setTime(start); timer->play();
//   every frame: timer->updateSystem(); getTime(); getRow(); updateFrameTime(time);
//                ... draw (effects: timer->getSpectrum(values, n, 0 or 1, window)) ...
//                timer->advanceFrame();   // last thing in the frame; a no-op in real time
//
// Fixed step: the music is never sent to the audio device; the channel is put
// at the clock's time every frame, so the spectrum follows the frame grid and
// two runs give identical spectra.
//
// Silent clock (FMODTimer(rowRate)): for a production without music. It runs
// from init() on, so setTime() alone starts it at the start position; play()
// and pause() work as for music, and the spectrum is all zeros.
class FMODTimer
{
public:
    FMODTimer(const std::string& fileName, unsigned int rowRate);
    explicit FMODTimer(unsigned int rowRate);
    ~FMODTimer();

    FMODTimer(const FMODTimer&) = delete;
    FMODTimer& operator=(const FMODTimer&) = delete;

    // Replaces the real-time tick counter; call before init().
    void setTickSource(std::unique_ptr<TickSource> source);
    void useFixedStep(unsigned int fps);
    bool isFixedStep() const { return ticks->isFixedStep(); }
    // Ends a frame of the frame loop for a fixed step; nothing in real time.
    void advanceFrame() { ticks->advanceFrame(); }
    // What the clock follows in real time: init() picks the music's channel
    // unless one was set before (a silent clock follows nothing). Not owned.
    void setAudioPositionSource(AudioPositionSource* source) { positionSource = source; }

    bool init();
    void updateSystem();
    unsigned int getTime();
    unsigned int getRow();
    unsigned int updateFrameTime(unsigned int time);
    void setTime(unsigned int ms);
    void setRow(unsigned int row);
    unsigned int getRowTime();
    void play();
    void pause();
    void updateSDLTime(unsigned int ms);
    unsigned int getFMODTime();
    bool isPaused() const { return paused; }
    unsigned int getEndTime() const { return endTime; }
    unsigned int getEndRow() const { return endRow; }
    std::string getMessage() const { return message; }
    // Null for a silent clock or when init() failed.
    SoundChannel* getSoundChannel() const { return channel; }
    // The channel's spectrum; n zeros when there is no music.
    SoundResult getSpectrum(float* values, int n, int channelOffset, int windowType);
    // True when everything was released; false with getMessage() set when the
    // music would not stop (it is released all the same).
    bool dispose();

    bool isSilent() const { return silent; }

    // Real-time drift following: the offset moves by error/SLEW_DIVISOR per
    // frame, at most SLEW_MAX_US microseconds.
    static constexpr int SLEW_DIVISOR = 16;
    static constexpr int SLEW_MAX_US = 1000;

private:
    unsigned int now() { return ticks->getTicks(); }
    void followAudio();

    SoundStream* sound = nullptr;
    std::unique_ptr<SoundSystem> system;
    SoundChannel* channel = nullptr;
    std::string message;
    std::string fileName;
    unsigned int rowRate;
    bool paused = true;
    unsigned int startTicks = 0;
    unsigned int pauseTicks = 0;
    unsigned int lastTime = 0;
    unsigned int endTime = 0;
    unsigned int endRow = 0;

    bool silent;
    std::unique_ptr<TickSource> ticks;
    AudioPositionSource* positionSource = nullptr;
    // Slew not yet applied to startTicks, in microseconds (|carry| < 1000).
    long long slewCarryUs = 0;
    // The clock's reading at the previous follow, so that following never
    // turns the clock back.
    unsigned int followedTime = 0;
    bool followed = false;
};
