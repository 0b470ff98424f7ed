#pragma once

#include "demosys/sound/SoundOutput.h"

#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <vector>

// Stands in for an audio device when there is none (a server, CI): a thread
// that renders the music at the pace of the performance counter and throws it
// away, so that positions advance exactly as they would if heard.
class SilentOutput : public SoundOutput
{
public:
    ~SilentOutput() override;

    bool open(int sampleRate, RenderFunction render, void* user) override;
    void close() override;
    void lock() override;
    void unlock() override;
    // What has been rendered has been "heard" at once.
    int64_t getLeadFrames(int) const override { return 0; }
    int64_t getAdvanceLimit(int) const override { return sampleRate / 20; }
    bool isSilent() const override { return true; }

    static constexpr int CHUNK_FRAMES = 1024;
    static constexpr int PERIOD_MS = 4;

private:
    static int threadMain(void* self);
    void run();

    SDL_Thread* thread = nullptr;
    SDL_mutex* mutex = nullptr;
    std::atomic<bool> running{false};
    RenderFunction render = nullptr;
    void* renderUser = nullptr;
    std::vector<float> buffer;
};
