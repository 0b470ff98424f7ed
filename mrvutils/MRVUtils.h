#pragma once

#include <string>

// Number/text conversions with the formatting of the standard streams, so that
// every dump and every value read back agree with each other.
class MRVUtils
{
public:
    static std::string int2string(int value);
    static std::string uint2string(unsigned int value);
    // At most 6 significant digits: 0.5 gives "0.5", 1.0 gives "1".
    static std::string float2string(float value);
    // Leading whitespace skipped, optional sign, trailing text ignored;
    // a text without a number gives 0.
    static int string2Int(const std::string& text);
    static float string2Float(const std::string& text);
};

// The rest of the utility library, so that this header brings all of it.
#include "mrvutils/File.h"
#include "mrvutils/Image.h"
#include "mrvutils/PerlinNoise.h"
#include "mrvutils/StringTokenizer.h"
#include "mrvutils/StringUtils.h"
