#pragma once

#include "demosys/scene/MRVObjectFile.h"

#include <iosfwd>
#include <string>

// The listing of `mrvobj dump`: per mesh its name, material colour, texture
// names, translation, box and counts.
class ObjectFilePrinter
{
public:
    ObjectFilePrinter() = delete;

    static void print(const std::string& path, const MRVObjectFile& file, std::ostream& out);
};
