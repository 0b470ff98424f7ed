#pragma once

#include "demosys/sound/MusicDecoder.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Magnitude spectrum of the music at a position, from a decoder of its own, so
// that the result depends only on the music data and the position asked for,
// never on when the audio device happened to ask for sound.
//
// Band k is centred on k * rate / (2n) Hz, band 0 being the lowest. Magnitudes
// are linear and compensated for the window's gain: a full-scale sine centred
// on band k reads about 1.0 there, silence reads 0. Decoded frames are kept in a
// ring, so the usual case (position moving forward a frame at a time, left and
// right asked for in turn) decodes only the new frames. Main thread only;
// after the first call for a band count and window, a call allocates nothing.
class SpectrumAnalyzer
{
public:
    static constexpr int MIN_BANDS = 64;
    static constexpr int MAX_BANDS = 8192;
    enum Window
    {
        WINDOW_RECTANGLE = 0,
        WINDOW_TRIANGLE = 1,
        WINDOW_HAMMING = 2,
        WINDOW_HANNING = 3,
        WINDOW_BLACKMAN = 4,
        WINDOW_BLACKMAN_HARRIS = 5,
        WINDOW_COUNT = 6
    };

    explicit SpectrumAnalyzer(std::unique_ptr<MusicDecoder> decoder);
    ~SpectrumAnalyzer();

    SpectrumAnalyzer(const SpectrumAnalyzer&) = delete;
    SpectrumAnalyzer& operator=(const SpectrumAnalyzer&) = delete;

    // n a power of two from MIN_BANDS to MAX_BANDS, channel 0 (left) or 1
    // (right), window one of Window.
    static bool isValidRequest(int n, int channelOffset, int windowType);

    // n magnitudes of one channel from the FFT of the 2n frames that end just
    // before endFrame; frames before the start or past the end of the music are
    // silence. False (values untouched) for an invalid request or when the
    // decoder cannot reach the position; see getErrorMessage().
    bool analyse(uint64_t endFrame, float* values, int n, int channelOffset, int windowType);

    const std::string& getErrorMessage() const { return error; }

private:
    struct Fft;
    struct WindowTable
    {
        std::vector<float> weights;
        float bandScale = 0.0f;  // 2 / sum of weights: a sine's energy is split over +-f
        float dcScale = 0.0f;    // 1 / sum of weights
    };

    bool bring(uint64_t endFrame, uint64_t count);
    void decodeUntil(uint64_t endFrame);
    const WindowTable& windowFor(int sizeIndex, int fftSize, int windowType);

    // Twice the largest band count: the longest window, and the ring's size.
    static constexpr uint64_t RING_FRAMES = 2 * MAX_BANDS;

    std::unique_ptr<MusicDecoder> decoder;
    std::vector<float> ring;   // interleaved stereo, frame f at (f % RING_FRAMES)
    uint64_t ringEnd = 0;      // one past the newest decoded frame
    uint64_t ringCount = 0;    // decoded frames kept before ringEnd
    bool decoderAtRingEnd = true;  // false after a failed seek
    std::unique_ptr<Fft> fft;
    std::vector<WindowTable> windows;
    std::string error;
};
