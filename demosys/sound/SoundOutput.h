#pragma once

#include <cstdint>
#include <string>

// Where the mixed music goes: an audio device, or a silent stand-in that takes
// the music at the same real-time pace. An output asks for sound on a thread of
// its own, with the output locked; whoever touches state the render function
// reads takes the same lock.
class SoundOutput
{
public:
    // Fills frames interleaved stereo frames. stamp is SDL's performance
    // counter when the output asked, the same for every call of one request.
    using RenderFunction = void (*)(void* user, float* out, int frames, uint64_t stamp);

    virtual ~SoundOutput() = default;

    // Starts asking for sound at sampleRate; false with getErrorMessage() set
    // when it cannot.
    virtual bool open(int sampleRate, RenderFunction render, void* user) = 0;
    // Stops asking; render is not called after this returns.
    virtual void close() = 0;
    virtual void lock() = 0;
    virtual void unlock() = 0;

    // The audible position, in frames behind the end of what was rendered, at
    // the moment a request of chunkFrames frames was rendered.
    virtual int64_t getLeadFrames(int chunkFrames) const = 0;
    // How far the audible position may move on from there before the next
    // request is due (an output that stalls must not be run ahead of).
    virtual int64_t getAdvanceLimit(int chunkFrames) const = 0;

    // True once the device went away and stopped asking.
    virtual bool isLost() { return false; }
    virtual bool isSilent() const = 0;

    int getSampleRate() const { return sampleRate; }
    const std::string& getErrorMessage() const { return error; }

protected:
    int sampleRate = 0;
    std::string error;
};
