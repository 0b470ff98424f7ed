#include "tools/mrvsynth/OggWriter.h"

#include <sndfile.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace
{
const size_t PAGE_HEADER = 27;
const size_t SERIAL_OFFSET = 14;
const size_t CHECKSUM_OFFSET = 22;
const size_t SEGMENT_COUNT_OFFSET = 26;
const sf_count_t WRITE_BLOCK = 65536;

// A growing byte vector that libsndfile writes into as if it were a file.
struct MemoryFile
{
    std::vector<unsigned char>* bytes;
    sf_count_t position = 0;
};

sf_count_t memoryLength(void* user)
{
    return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->bytes->size());
}

sf_count_t memorySeek(sf_count_t offset, int whence, void* user)
{
    MemoryFile* file = static_cast<MemoryFile*>(user);
    const sf_count_t base = whence == SEEK_SET ? 0
                            : whence == SEEK_CUR ? file->position
                                                 : static_cast<sf_count_t>(file->bytes->size());
    if (base + offset < 0)
        return -1;
    file->position = base + offset;
    return file->position;
}

sf_count_t memoryRead(void* out, sf_count_t count, void* user)
{
    MemoryFile* file = static_cast<MemoryFile*>(user);
    const sf_count_t size = static_cast<sf_count_t>(file->bytes->size());
    const sf_count_t available = file->position < size ? size - file->position : 0;
    const sf_count_t taken = count < available ? count : available;
    if (taken > 0)
        std::memcpy(out, file->bytes->data() + file->position, static_cast<size_t>(taken));
    file->position += taken;
    return taken;
}

sf_count_t memoryWrite(const void* in, sf_count_t count, void* user)
{
    MemoryFile* file = static_cast<MemoryFile*>(user);
    const size_t end = static_cast<size_t>(file->position + count);
    if (file->bytes->size() < end)
        file->bytes->resize(end);
    std::memcpy(file->bytes->data() + file->position, in, static_cast<size_t>(count));
    file->position += count;
    return count;
}

sf_count_t memoryTell(void* user)
{
    return static_cast<MemoryFile*>(user)->position;
}
}

bool OggWriter::encode(const std::vector<float>& interleaved, int rate, double quality,
                       std::vector<unsigned char>& bytes, std::string& error)
{
    bytes.clear();
    MemoryFile file{&bytes};
    SF_VIRTUAL_IO io = {memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
    SF_INFO info = {};
    info.samplerate = rate;
    info.channels = 2;
    info.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    SNDFILE* sound = sf_open_virtual(&io, SFM_WRITE, &info, &file);
    if (!sound)
    {
        error = std::string("cannot start the Vorbis encoder: ") + sf_strerror(nullptr);
        return false;
    }
    sf_command(sound, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality);
    const sf_count_t frames = static_cast<sf_count_t>(interleaved.size() / 2);
    for (sf_count_t done = 0; done < frames;)
    {
        const sf_count_t count = frames - done < WRITE_BLOCK ? frames - done : WRITE_BLOCK;
        if (sf_writef_float(sound, interleaved.data() + 2 * done, count) != count)
        {
            error = std::string("the Vorbis encoder failed: ") + sf_strerror(sound);
            sf_close(sound);
            return false;
        }
        done += count;
    }
    if (sf_close(sound) != 0)
    {
        error = "the Vorbis encoder failed to finish the stream";
        return false;
    }
    if (!pinSerial(bytes, SERIAL))
    {
        error = "the Vorbis encoder wrote something other than Ogg pages";
        return false;
    }
    return true;
}

bool OggWriter::write(const std::string& path, const std::vector<float>& interleaved, int rate, double quality,
                      std::string& error)
{
    std::vector<unsigned char> bytes;
    if (!encode(interleaved, rate, quality, bytes, error))
        return false;
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush())
        {
            error = "cannot write '" + temporary + "'";
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0)
    {
        error = "cannot rename '" + temporary + "' to '" + path + "'";
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

bool OggWriter::pinSerial(std::vector<unsigned char>& bytes, uint32_t serial)
{
    size_t position = 0;
    while (position < bytes.size())
    {
        if (bytes.size() - position < PAGE_HEADER || std::memcmp(bytes.data() + position, "OggS", 4) != 0)
            return false;
        const size_t segments = bytes[position + SEGMENT_COUNT_OFFSET];
        if (bytes.size() - position < PAGE_HEADER + segments)
            return false;
        size_t size = PAGE_HEADER + segments;
        for (size_t s = 0; s < segments; ++s)
            size += bytes[position + PAGE_HEADER + s];
        if (bytes.size() - position < size)
            return false;
        unsigned char* page = bytes.data() + position;
        for (int b = 0; b < 4; ++b)
            page[SERIAL_OFFSET + b] = static_cast<unsigned char>(serial >> (8 * b));
        const uint32_t checksum = pageChecksum(page, size);
        for (int b = 0; b < 4; ++b)
            page[CHECKSUM_OFFSET + b] = static_cast<unsigned char>(checksum >> (8 * b));
        position += size;
    }
    return true;
}

uint32_t OggWriter::pageChecksum(const unsigned char* page, size_t size)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> entries{};
        for (uint32_t i = 0; i < 256; ++i)
        {
            uint32_t r = i << 24;
            for (int bit = 0; bit < 8; ++bit)
                r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
            entries[i] = r;
        }
        return entries;
    }();
    uint32_t crc = 0;
    for (size_t i = 0; i < size; ++i)
    {
        const bool zeroed = i >= CHECKSUM_OFFSET && i < CHECKSUM_OFFSET + 4;
        const uint32_t byte = zeroed ? 0u : page[i];
        crc = (crc << 8) ^ table[((crc >> 24) ^ byte) & 0xFF];
    }
    return crc;
}
