#pragma once

#include "demosys/scene/MRVObjectFile.h"

#include <memory>
#include <string>

class File;

// Decodes a 3D object file (format in MRVObjectFile.h) one mesh record at a
// time, checking every count and size against the bytes left before it
// reads, so that a damaged file ends in a message instead of a read past
// its end or indices outside the vertex data.
//
// Messages: "Object '" + path + "' not found" for a missing file, and
// "Object '" + path + "' is corrupt: " + what was wrong. A diffuse texture
// name holding ',' (which the graphics block reads as the start of texture
// options) is refused with a message naming the file, the mesh and the
// picture, so that the player and mrvobj refuse it alike.
class MRVSceneReader
{
public:
    explicit MRVSceneReader(const std::string& path);
    ~MRVSceneReader();

    MRVSceneReader(const MRVSceneReader&) = delete;
    MRVSceneReader& operator=(const MRVSceneReader&) = delete;

    bool exists() const;
    // Reads the leading mesh count; false when the file is missing or corrupt.
    bool readMeshCount(int& meshCount);
    // Reads the next mesh record (index is only used in messages); false
    // when it is corrupt.
    bool readMesh(int index, MRVObjectFile::Mesh& mesh);
    const std::string& getErrorMessage() const { return errorMessage; }

    // The whole file; false with the message when missing or corrupt.
    static bool readFile(const std::string& path, MRVObjectFile& file, std::string& error);

private:
    bool corrupt(const std::string& what);
    // False (and the message) when the last reads ran past the end.
    bool ended(const std::string& where, int index, const std::string& name);
    bool readMaterial(int index, MRVObjectFile::Mesh& mesh);
    static std::string meshLabel(int index, const std::string& name);

    std::string path;
    std::unique_ptr<File> file;
    std::string errorMessage;
};
