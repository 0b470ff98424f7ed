#include "demosys/scene/MRVObjectFile.h"

std::string MRVObjectFile::checkComponentSizes(int positionSize, int normalSize, int texCoordSize)
{
    if (positionSize < 2 || positionSize > 4)
        return "position size " + std::to_string(positionSize) + " is not 2, 3 or 4";
    if (normalSize != 0 && normalSize != 3)
        return "normal size " + std::to_string(normalSize) + " is not 0 or 3";
    if (texCoordSize < 0 || texCoordSize > 4)
        return "texture coordinate size " + std::to_string(texCoordSize) + " is not 0 to 4";
    return "";
}

std::string MRVObjectFile::checkIndices(const std::vector<int>& indices, int vertexCount)
{
    for (size_t i = 0; i < indices.size(); ++i)
    {
        if (indices[i] < 0 || indices[i] >= vertexCount)
            return "triangle " + std::to_string(i / 3) + " uses vertex " + std::to_string(indices[i]) +
                   " of " + std::to_string(vertexCount) + " vertices";
    }
    return "";
}
