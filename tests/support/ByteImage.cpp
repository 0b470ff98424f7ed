#include "tests/support/ByteImage.h"

#include <cstring>

ByteImage& ByteImage::i32(int32_t v)
{
    uint32_t u;
    std::memcpy(&u, &v, 4);
    return bits(u);
}

ByteImage& ByteImage::bits(uint32_t u)
{
    for (int i = 0; i < 4; ++i)
        data.push_back(static_cast<char>((u >> (8 * i)) & 0xff));
    return *this;
}

ByteImage& ByteImage::f32(float v)
{
    uint32_t u;
    std::memcpy(&u, &v, 4);
    return bits(u);
}

ByteImage& ByteImage::name(const std::string& s)
{
    data += s;
    data.push_back('\0');
    return *this;
}

ByteImage& ByteImage::end()
{
    recordEnds.push_back(data.size());
    return *this;
}
