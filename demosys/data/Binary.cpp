#include "demosys/data/Binary.h"

#include "mrvutils/MRVUtils.h"

Binary::Binary(const std::vector<unsigned char>& bytes_)
    : bytes(bytes_)
{
}

Binary::~Binary()
{
    delete[] floatData;
}

int Binary::getData(int pos) const
{
    if (pos < 0 || pos >= size())
        return 0;
    return bytes[static_cast<size_t>(pos)];
}

float* Binary::getFloatData()
{
    if (!floatData)
    {
        floatData = new float[bytes.size() ? bytes.size() : 1];
        for (size_t i = 0; i < bytes.size(); ++i)
            floatData[i] = static_cast<float>(bytes[i]) * 0.00390625f;
    }
    return floatData;
}

float* Binary::getFloatData(int first, int count) const
{
    if (count < 0)
        count = 0;
    float* values = new float[count ? count : 1];
    for (int k = 0; k < count; ++k)
        values[k] = static_cast<float>(getData(first + k)) * 0.00390625f;
    return values;
}

std::string Binary::getString(int, int) const
{
    // Blobs are tables, not text; no production reads them as strings.
    return std::string();
}

std::string Binary::toString() const
{
    return "Binary { size = " + MRVUtils::int2string(size()) + " }\n";
}
