#pragma once

#include "demosys/math/Vector.h"

#include <string>
#include <vector>

// The 3D object file: the meshes of one scene with their materials,
// placement, bounding boxes, interleaved vertex data and triangle indices.
// MRVSceneReader decodes it (and MRVSceneLoader builds the scene from it),
// MRVSceneWriter encodes it; this record is what both exchange.
//
// Encoding: little-endian throughout, no alignment or padding.
//   int32    signed 32-bit two's complement
//   float32  IEEE-754 single precision
//   int8     one signed byte
//   string   the bytes of the text, then one zero byte; a lone zero byte
//            reads as the name "Object"
//
// File:
//   int32    meshCount          mesh records that follow (never negative)
//   meshCount x mesh record
//
// Mesh record:
//   string   name               the object's name, by which effects find it
//   int32    materialCount      > 0: one material block follows (whatever the
//                               value); <= 0: none
//   [material block]
//   3 float32 translation       x, y, z (stored, not applied when drawing)
//   3 float32 bboxMin           minimum corner of the bounding box
//   3 float32 bboxMax           maximum corner
//   int32    vertexCount        >= 0
//   int8     positionSize       2, 3 or 4 components
//   int8     normalSize         0 or 3
//   int8     texCoordSize       0 to 4
//   vertexCount x (positionSize + normalSize + texCoordSize) float32
//                               per vertex: position, normal, texture coordinate
//   int32    triangleCount      >= 0
//   triangleCount x 3 int32     zero-based vertex indices, each below vertexCount
//
// Material block:
//   3 float32 colour 1          read and ignored (the ambient colour of the
//                               authoring tool)
//   3 float32 colour 2          red, green, blue: the object's ambient and
//                               diffuse colour
//   3 float32 colour 3          read and ignored (the specular colour)
//   int32    diffuseTextureFlag exactly 1: a diffuse texture name follows
//   [string  diffuseTexture]    the picture's file name, relative to the
//                               demoscript's graphics path
//   int32    normalTextureFlag  exactly 1: a normal texture name follows
//   [string  normalTexture]
//
// A file that ends before its counts say, a negative count, a component size
// outside the ranges above or an index outside its mesh's vertices is
// corrupt. Bytes after the last mesh record are not read.
class MRVObjectFile
{
public:
    struct Material
    {
        Vector<float, 3> colour1;
        Vector<float, 3> colour2;
        Vector<float, 3> colour3;
        int diffuseTextureFlag = 0;
        std::string diffuseTexture;
        int normalTextureFlag = 0;
        std::string normalTexture;

        bool hasDiffuseTexture() const { return diffuseTextureFlag == 1; }
        bool hasNormalTexture() const { return normalTextureFlag == 1; }
    };

    struct Mesh
    {
        std::string name;
        int materialCount = 0;
        Material material;
        Vector<float, 3> translation;
        Vector<float, 3> bboxMin;
        Vector<float, 3> bboxMax;
        int vertexCount = 0;
        int positionSize = 3;
        int normalSize = 0;
        int texCoordSize = 0;
        std::vector<float> vertices;
        int triangleCount = 0;
        std::vector<int> indices;

        bool hasMaterial() const { return materialCount > 0; }
        int floatsPerVertex() const { return positionSize + normalSize + texCoordSize; }
    };

    // "" when the three sizes are allowed, else what is wrong with them.
    static std::string checkComponentSizes(int positionSize, int normalSize, int texCoordSize);
    // "" when every index lies below vertexCount, else the first one that
    // does not.
    static std::string checkIndices(const std::vector<int>& indices, int vertexCount);

    std::vector<Mesh> meshes;
};
