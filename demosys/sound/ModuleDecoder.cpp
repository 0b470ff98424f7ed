#include "demosys/sound/ModuleDecoder.h"

#include <libopenmpt/libopenmpt.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace
{
size_t readFile(void* stream, void* dst, size_t bytes)
{
    return std::fread(dst, 1, bytes, static_cast<std::FILE*>(stream));
}

int seekFile(void* stream, int64_t offset, int whence)
{
    int origin = whence == OPENMPT_STREAM_SEEK_CUR ? SEEK_CUR : whence == OPENMPT_STREAM_SEEK_END ? SEEK_END : SEEK_SET;
    return std::fseek(static_cast<std::FILE*>(stream), static_cast<long>(offset), origin) == 0 ? 0 : -1;
}

int64_t tellFile(void* stream)
{
    return std::ftell(static_cast<std::FILE*>(stream));
}
}

std::unique_ptr<ModuleDecoder> ModuleDecoder::open(const std::string& path, std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
    {
        error = "cannot open the file";
        return nullptr;
    }
    openmpt_stream_callbacks callbacks = {};
    callbacks.read = readFile;
    callbacks.seek = seekFile;
    callbacks.tell = tellFile;
    // Notes struck before a seek target keep sounding after the seek, as they
    // would have when playing through.
    const openmpt_module_initial_ctl ctls[] = {{"seek.sync_samples", "1"}, {nullptr, nullptr}};
    int code = 0;
    const char* text = nullptr;
    openmpt_module* module = openmpt_module_create2(callbacks, file, openmpt_log_func_silent, nullptr,
                                                    openmpt_error_func_store, nullptr, &code, &text, ctls);
    std::fclose(file);
    if (!module)
    {
        error = text ? text : "not a module libopenmpt reads";
        openmpt_free_string(text);
        return nullptr;
    }
    openmpt_free_string(text);
    return std::unique_ptr<ModuleDecoder>(new ModuleDecoder(module));
}

ModuleDecoder::ModuleDecoder(openmpt_module* m)
    : module(m), discard(DISCARD_FRAMES * 2)
{
    openmpt_module_set_repeat_count(module, 0);
    sampleRate = MODULE_RATE;
    double seconds = openmpt_module_get_duration_seconds(module);
    lengthFrames = seconds > 0.0 ? static_cast<uint64_t>(std::llround(seconds * MODULE_RATE)) : 0;
}

ModuleDecoder::~ModuleDecoder()
{
    openmpt_module_destroy(module);
}

bool ModuleDecoder::seek(uint64_t frame)
{
    if (frame >= lengthFrames)
    {
        atEnd = true;
        return true;
    }
    atEnd = false;
    // libopenmpt lands on the start of a row, the first one at or after the
    // time asked for, and ramps the voices in from there. Ask earlier until it
    // lands at least a ramp's length before the target, then render the rest
    // of the way and throw it away: the seek is sample-exact.
    const double target = static_cast<double>(frame) / MODULE_RATE;
    const double wanted = std::max(0.0, target - RAMP_SECONDS);
    double ask = wanted;
    double back = 0.05;
    double landed = openmpt_module_set_position_seconds(module, ask);
    while (landed > wanted && ask > 0.0)
    {
        ask = std::max(0.0, ask - back);
        back *= 2.0;
        landed = openmpt_module_set_position_seconds(module, ask);
    }
    uint64_t at = landed > 0.0 ? static_cast<uint64_t>(std::llround(landed * MODULE_RATE)) : 0;
    uint64_t skip = at < frame ? frame - at : 0;
    while (skip > 0)
    {
        size_t want = static_cast<size_t>(std::min<uint64_t>(skip, DISCARD_FRAMES));
        size_t got = openmpt_module_read_interleaved_float_stereo(module, MODULE_RATE, want, discard.data());
        if (got == 0)
        {
            atEnd = true;
            break;
        }
        skip -= got;
    }
    return true;
}

size_t ModuleDecoder::read(float* out, size_t frames)
{
    if (atEnd)
        return 0;
    size_t done = 0;
    while (done < frames)
    {
        size_t got = openmpt_module_read_interleaved_float_stereo(module, MODULE_RATE, frames - done, out + done * 2);
        if (got == 0)
        {
            atEnd = true;
            break;
        }
        done += got;
    }
    return done;
}
