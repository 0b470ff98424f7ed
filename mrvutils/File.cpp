#include "mrvutils/File.h"

#include "mrvutils/ReadLog.h"

#include <cstdio>
#include <cstring>
#include <limits>

File::File(const char* fileName_, int mode_)
    : File(std::string(fileName_ ? fileName_ : ""), mode_)
{
}

File::File(const std::string& fileName_, int mode_)
    : fileName(fileName_), mode(mode_)
{
    fileExists = open();
}

File::~File()
{
    if (stream)
        std::fclose(stream);
}

bool File::open()
{
    const char* flags = "rb";
    switch (mode)
    {
    case READ: flags = "rb"; break;
    case APPEND: flags = "ab"; break;
    default: flags = "wb"; break;
    }

    stream = std::fopen(fileName.c_str(), flags);
    data.clear();
    size = 0;
    if (!stream)
        return false;
    if (mode != READ)
        return true;

    if (std::fseek(stream, 0, SEEK_END) != 0)
        return false;
    const long length = std::ftell(stream);
    // A directory opens on some systems but has no length; files beyond the
    // int range cannot be addressed by the cursor and are refused.
    if (length < 0 || length > std::numeric_limits<int>::max() || std::fseek(stream, 0, SEEK_SET) != 0)
    {
        std::fclose(stream);
        stream = nullptr;
        return false;
    }
    data.resize(static_cast<size_t>(length));
    const size_t got = length > 0 ? std::fread(data.data(), 1, data.size(), stream) : 0;
    data.resize(got);
    size = static_cast<int>(got);
    ReadLog::record(fileName);
    return true;
}

std::string File::getAsString() const
{
    return std::string(data.begin(), data.end());
}

std::vector<unsigned char> File::getUnsigned() const
{
    return data;
}

bool File::take(int count)
{
    if (overrun || count > size - readPosition)
    {
        overrun = true;
        readPosition = size;
        return false;
    }
    return true;
}

char File::readChar()
{
    if (!take(1))
        return 0;
    return static_cast<char>(data[readPosition++]);
}

int File::readInt()
{
    if (!take(4))
        return 0;
    const unsigned char* p = &data[readPosition];
    readPosition += 4;
    const unsigned int u = static_cast<unsigned int>(p[0]) | (static_cast<unsigned int>(p[1]) << 8) |
                           (static_cast<unsigned int>(p[2]) << 16) | (static_cast<unsigned int>(p[3]) << 24);
    int value;
    std::memcpy(&value, &u, sizeof value);
    return value;
}

float File::readFloat()
{
    const int bits = readInt();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::string File::readString()
{
    if (!take(1))
        return std::string();
    const int start = readPosition;
    int end = start;
    while (end < size && data[end] != 0)
        ++end;
    if (end == size)
    {
        // No terminator before the end: the string is cut short.
        overrun = true;
        readPosition = size;
        return std::string();
    }
    readPosition = end + 1;
    if (end == start)
        return "Object";
    return std::string(reinterpret_cast<const char*>(&data[start]), end - start);
}

void File::put(int value)
{
    unsigned int u;
    std::memcpy(&u, &value, sizeof u);
    put(u);
}

void File::put(unsigned int value)
{
    data.push_back(static_cast<unsigned char>(value & 0xff));
    data.push_back(static_cast<unsigned char>((value >> 8) & 0xff));
    data.push_back(static_cast<unsigned char>((value >> 16) & 0xff));
    data.push_back(static_cast<unsigned char>((value >> 24) & 0xff));
}

void File::put(float value)
{
    unsigned int u;
    std::memcpy(&u, &value, sizeof u);
    put(u);
}

void File::put(unsigned char value)
{
    data.push_back(value);
}

void File::put(const std::string& value)
{
    data.insert(data.end(), value.begin(), value.end());
}

bool File::read(const std::string& path, std::string& text)
{
    const File in(path, READ);
    if (!in.exists())
        return false;
    text = in.getAsString();
    return true;
}

bool File::replace(const std::string& path, const std::string& bytes)
{
    const std::string temporary = path + ".tmp";
    File out(temporary, WRITE_TRUNCATE);
    out.put(bytes);
    if (out.exists() && out.write() && std::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}

bool File::write()
{
    if (!stream)
        return false;
    const size_t written = data.empty() ? 0 : std::fwrite(data.data(), 1, data.size(), stream);
    const bool closed = std::fclose(stream) == 0;
    stream = nullptr;
    return written == data.size() && closed;
}
