#pragma once

// The utility library in one include.
#include "mrvutils/DatatypeConversion.h"
#include "mrvutils/File.h"
#include "mrvutils/Image.h"
#include "mrvutils/PerlinNoise.h"
#include "mrvutils/StringTokenizer.h"
#include "mrvutils/StringUtils.h"
