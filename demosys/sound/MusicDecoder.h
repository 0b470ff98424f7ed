#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// A music file decoded on demand into interleaved stereo floats (left, right).
// Only a cursor and a small block live in memory, however long the piece is.
// A decoder is used by one thread at a time; the sound layer opens one for
// playback and another for spectrum analysis.
class MusicDecoder
{
public:
    // Rate at which tracker modules are rendered; sampled files keep their own.
    static constexpr int MODULE_RATE = 48000;

    virtual ~MusicDecoder() = default;

    // Picks the decoder by content: the formats of libsndfile first (WAV, FLAC,
    // Ogg Vorbis, Opus, MP3 and the rest), then tracker modules. Null, with the
    // reasons of both in error, when neither reads the file.
    static std::unique_ptr<MusicDecoder> open(const std::string& path, std::string& error);

    int getSampleRate() const { return sampleRate; }
    // Taken from the file's header (modules: from a dry run of the song), so it
    // can be off for broken files; reading simply stops at the real end.
    uint64_t getLengthFrames() const { return lengthFrames; }

    // Puts the cursor on frame, exactly; at or past the length the next read
    // returns 0. False when the decoder could not get there.
    virtual bool seek(uint64_t frame) = 0;
    // Up to frames stereo frames into out (room for 2 * frames floats); fewer
    // only at the end of the music.
    virtual size_t read(float* out, size_t frames) = 0;

protected:
    int sampleRate = 0;
    uint64_t lengthFrames = 0;
};
