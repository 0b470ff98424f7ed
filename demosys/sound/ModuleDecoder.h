#pragma once

#include "demosys/sound/MusicDecoder.h"

#include <memory>
#include <string>
#include <vector>

struct openmpt_module;

// Tracker modules (MOD, XM, S3M, IT and the rest libopenmpt reads), rendered
// in stereo at MODULE_RATE. The song is played once, without its loop.
class ModuleDecoder : public MusicDecoder
{
public:
    static std::unique_ptr<ModuleDecoder> open(const std::string& path, std::string& error);
    ~ModuleDecoder() override;

    ModuleDecoder(const ModuleDecoder&) = delete;
    ModuleDecoder& operator=(const ModuleDecoder&) = delete;

    bool seek(uint64_t frame) override;
    size_t read(float* out, size_t frames) override;

private:
    explicit ModuleDecoder(openmpt_module* module);

    static constexpr size_t DISCARD_FRAMES = 1024;
    // Longer than libopenmpt's volume ramp when voices start after a seek.
    static constexpr double RAMP_SECONDS = 0.02;

    openmpt_module* module;
    bool atEnd = false;
    std::vector<float> discard;
};
