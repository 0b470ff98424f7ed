#include "demosys/sound/SoundStream.h"

#include "demosys/sound/SoundSystem.h"

SoundStream::SoundStream(SoundSystem* o, const std::string& p, std::unique_ptr<MusicDecoder> play,
                         std::unique_ptr<MusicDecoder> analysis)
    : owner(o), path(p), playback(std::move(play)), analyzer(std::move(analysis))
{
}

unsigned int SoundStream::getLengthMs() const
{
    int rate = getSampleRate();
    return rate > 0 ? static_cast<unsigned int>(getLengthFrames() * 1000u / static_cast<uint64_t>(rate)) : 0u;
}

SoundResult SoundStream::getLength(unsigned int* ms) const
{
    if (!ms)
        return SOUND_ERR_INVALID_PARAM;
    *ms = getLengthMs();
    return SOUND_OK;
}

SoundResult SoundStream::release()
{
    return owner->releaseStream(this);
}
