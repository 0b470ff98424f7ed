#pragma once

#include "demosys/sound/SoundOutput.h"

#include <cstdint>

// The default SDL audio device, 32-bit float stereo; SDL converts to whatever
// the hardware takes.
class DeviceOutput : public SoundOutput
{
public:
    ~DeviceOutput() override;

    bool open(int sampleRate, RenderFunction render, void* user) override;
    void close() override;
    void lock() override;
    void unlock() override;
    // A chunk starts to sound after the device buffer in front of it.
    int64_t getLeadFrames(int chunkFrames) const override { return chunkFrames + bufferFrames; }
    int64_t getAdvanceLimit(int chunkFrames) const override { return chunkFrames; }
    bool isLost() override;
    bool isSilent() const override { return false; }

    // Small enough to keep the latency under a 60 Hz frame.
    static constexpr int BUFFER_FRAMES = 512;

private:
    static void callback(void* user, uint8_t* stream, int bytes);

    uint32_t device = 0;
    int bufferFrames = BUFFER_FRAMES;
    bool audioStarted = false;
    RenderFunction render = nullptr;
    void* renderUser = nullptr;
};
