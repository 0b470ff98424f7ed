#include "demosys/sound/MusicDecoder.h"

#include "demosys/sound/ModuleDecoder.h"
#include "demosys/sound/SndfileDecoder.h"

std::unique_ptr<MusicDecoder> MusicDecoder::open(const std::string& path, std::string& error)
{
    std::string sampledError;
    if (std::unique_ptr<MusicDecoder> sampled = SndfileDecoder::open(path, sampledError))
        return sampled;
    std::string moduleError;
    if (std::unique_ptr<MusicDecoder> module = ModuleDecoder::open(path, moduleError))
        return module;
    error = "'" + path + "' is neither a sound file (" + sampledError + ") nor a tracker module (" + moduleError + ")";
    return nullptr;
}
