#include "mrvutils/MRVUtils.h"

#include <sstream>

std::string MRVUtils::int2string(int value)
{
    return std::to_string(value);
}

std::string MRVUtils::uint2string(unsigned int value)
{
    return std::to_string(value);
}

std::string MRVUtils::float2string(float value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

int MRVUtils::string2Int(const std::string& text)
{
    std::istringstream in(text);
    // On failure extraction stores 0, or the nearest limit when out of range.
    int value = 0;
    in >> value;
    return value;
}

float MRVUtils::string2Float(const std::string& text)
{
    std::istringstream in(text);
    float value = 0.0f;
    in >> value;
    return value;
}
