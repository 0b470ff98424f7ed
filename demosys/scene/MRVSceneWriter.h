#pragma once

#include "demosys/scene/MRVObjectFile.h"

#include <string>
#include <vector>

// Encodes meshes as a 3D object file (format in MRVObjectFile.h). The writer
// refuses what the reader would call corrupt, so what it writes always
// loads: array lengths that disagree with the counts, component sizes
// outside the allowed ranges, indices outside the mesh, names and texture
// names holding a zero byte.
class MRVSceneWriter
{
public:
    MRVSceneWriter() = delete;

    // The file's bytes; false with the reason when a mesh cannot be written.
    static bool encode(const MRVObjectFile& file, std::vector<unsigned char>& bytes, std::string& error);
    // Writes to a temporary file beside path and renames it over path, so a
    // failed write leaves an earlier file intact.
    static bool writeFile(const MRVObjectFile& file, const std::string& path, std::string& error);

    // "" when the mesh can be written, else why not.
    static std::string check(const MRVObjectFile::Mesh& mesh);
};
