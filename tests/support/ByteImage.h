#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A little-endian file image built in memory, for tests that write the
// engine's binary files byte by byte: well-formed ones, and ones cut or
// broken at a chosen place.
class ByteImage
{
public:
    ByteImage& i32(int32_t v);
    // A 32-bit pattern as it stands, e.g. the bits of a float.
    ByteImage& bits(uint32_t u);
    ByteImage& f32(float v);
    // The text and its terminating zero.
    ByteImage& name(const std::string& s);
    // Marks the end of a complete record, for tests that cut inside one.
    ByteImage& end();

    std::string data;
    std::vector<size_t> recordEnds;
};
