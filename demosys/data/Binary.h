#pragma once

#include <string>
#include <vector>

// The raw bytes of one data file, read by effects as tables, mostly as
// intensities byte/256 (so 255 maps just below 1.0, never to it).
class Binary
{
public:
    explicit Binary(const std::vector<unsigned char>& bytes);
    ~Binary();

    Binary(const Binary&) = delete;
    Binary& operator=(const Binary&) = delete;

    int size() const { return static_cast<int>(bytes.size()); }
    // The byte at pos as 0..255; 0 outside the blob.
    int getData(int pos) const;
    const unsigned char* getBytes() const { return bytes.data(); }
    // Every byte as byte/256, computed once; owned by the blob.
    float* getFloatData();
    // A new array of count values from first, owned by the caller; positions
    // outside the blob give 0.
    float* getFloatData(int first, int count) const;
    std::string getString(int first, int count) const;
    std::string toString() const;

private:
    std::vector<unsigned char> bytes;
    float* floatData = nullptr;
};
