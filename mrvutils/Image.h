#pragma once

#include <string>
#include <vector>

// A PNG picture decoded into memory, rows stored bottom-up (the first row in
// memory is the bottom row of the picture) so the block goes to OpenGL as it
// is. Palettes expand to RGB (RGBA with transparency), grey of 1, 2 or 4 bits
// to 8 bits, 16-bit channels reduce to 8: bpp is 8, 16, 24 or 32.
//
// Decoding works from a copy of the file held in memory; a truncated or
// corrupt file fails the decode (exists() false), never reads outside it.
class Image
{
public:
    // The in-memory source of one decode.
    struct file_buffer_t
    {
        char name[256];
        const unsigned char* data;
        int length;
        int position;
    };

    explicit Image(const std::string& path);
    explicit Image(const char* path);
    // An empty image that only remembers its name; fill it with putData().
    Image(const std::string& name, int);
    ~Image();

    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    bool Load(const std::string& path);
    bool putData(const unsigned char* bytes, int length);

    bool exists() const { return loaded; }
    int getWidth() const { return width; }
    int getHeight() const { return height; }
    int getBpp() const { return bpp; }
    int getPixelSize() const { return pixelSize; }
    unsigned char* getData() { return data; }
    const unsigned char* getData() const { return data; }
    const std::string& getFileName() const { return fileName; }
    // Bytes as floats byte/256, computed on first use and cached.
    float* getFloatData();

private:
    bool LoadPNG(file_buffer_t* buffer);
    void freePixels();

    int width = 0;
    int height = 0;
    int bpp = 0;
    int pixelSize = 0;
    bool loaded = false;
    unsigned char* data = nullptr;
    float* floatData = nullptr;
    std::string fileName;
};
