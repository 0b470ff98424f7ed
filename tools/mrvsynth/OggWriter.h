#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Encodes interleaved stereo into Ogg Vorbis through libsndfile. The
// encoder gives each file a random stream serial number; it is replaced by
// a fixed one (with every page checksum redone), so that the same samples
// always give the same bytes.
class OggWriter
{
public:
    static constexpr uint32_t SERIAL = 0x6B656C76u;  // "kelv"

    // quality 0 (smallest) to 1 (best). In memory first, then FILE.tmp,
    // renamed over path: a failed run leaves an older file intact.
    static bool write(const std::string& path, const std::vector<float>& interleaved, int rate, double quality,
                      std::string& error);
    static bool encode(const std::vector<float>& interleaved, int rate, double quality,
                       std::vector<unsigned char>& bytes, std::string& error);

    // Sets the serial number of every page; false when bytes are not a
    // whole sequence of Ogg pages.
    static bool pinSerial(std::vector<unsigned char>& bytes, uint32_t serial);
    // The checksum of one page as Ogg defines it: CRC-32, polynomial
    // 0x04C11DB7, no reflection, computed with the checksum field zeroed.
    static uint32_t pageChecksum(const unsigned char* page, size_t size);
};
