#pragma once

#include "demosys/sound/SoundResult.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class SoundChannel;
class SoundOutput;
class SoundStream;

// The sound layer's root: a fixed set of channels, the streams it created, and
// the output they are mixed into. Streams decode while they play, on the
// output's thread; everything else is called from the main thread.
//
// The output opens the first time a channel is unpaused, at the rate of that
// channel's stream (SDL converts for the hardware), so that music that is only
// positioned, never unpaused, touches no audio device. When no audio device can
// be opened, or the device goes away during the show, the music goes on on a
// silent output at real-time speed, and one line says so.
class SoundSystem
{
public:
    static constexpr unsigned int VERSION = 0x00010000;
    // init() flags.
    static constexpr unsigned int INIT_DEFAULT = 0;
    static constexpr unsigned int INIT_SILENT_OUTPUT = 0x1;  // never try the device
    static constexpr int MAX_CHANNELS = 256;

    SoundSystem();
    ~SoundSystem();

    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    unsigned int getVersion() const { return VERSION; }
    SoundResult init(int maxChannels, unsigned int flags = INIT_DEFAULT);
    // Puts output in place of the device (tests drive it by hand). Before the
    // first channel is unpaused.
    void useOutput(std::unique_ptr<SoundOutput> output);

    // Opens path for streaming; *stream is null on failure.
    SoundResult createStream(const std::string& path, SoundStream** stream);
    SoundResult releaseStream(SoundStream* stream);
    // Starts stream at its beginning on a free channel (silent while paused).
    // A stream already playing elsewhere is taken off that channel first.
    SoundResult playSound(SoundStream* stream, bool paused, SoundChannel** channel);
    // Per-frame housekeeping: moves to the silent output if the device was lost.
    SoundResult update();

    bool isOutputOpen() const { return outputOpen; }
    bool isSilentOutput() const;
    const std::string& getErrorMessage() const { return error; }

    // For the channels.
    SoundResult openOutput(int sampleRate, const SoundChannel* asking);
    void lockOutput();
    void unlockOutput();
    const SoundOutput* getOutput() const { return outputOpen ? output.get() : nullptr; }

    // Largest piece the mixer renders a channel in.
    static constexpr int MIX_FRAMES = 4096;

private:
    static void renderOutput(void* self, float* out, int frames, uint64_t stamp);
    void mix(float* out, int frames, uint64_t stamp);
    SoundResult openFallback(int sampleRate, const std::string& reason);

    bool initialised = false;
    unsigned int flags = INIT_DEFAULT;
    std::vector<std::unique_ptr<SoundChannel>> channels;
    std::vector<std::unique_ptr<SoundStream>> streams;
    std::unique_ptr<SoundOutput> output;
    bool outputInjected = false;
    bool outputOpen = false;
    std::vector<float> scratch;
    std::string error;
};
