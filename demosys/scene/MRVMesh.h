#pragma once

#include "demosys/math/Vector.h"
#include "demosys/scene/MRVPolygon.h"
#include "demosys/scene/MRVVertex.h"

#include <vector>

// An editable polygon mesh in client memory, from which effects build
// procedural surfaces and upload them with VBODynamic(mesh): positions,
// vertex and face normals, texture coordinates, the index list and, per
// vertex, the faces that use it (built as faces are set).
//
// Counts are fixed at construction. Faces set with indices outside the mesh
// are refused with a line on standard output, so the index list never
// points outside the vertex arrays. The normal and tangent operations take
// the positions as an argument, so displaced copies of the geometry can be
// used; normalisation has no guard (a vertex without faces gets NaN).
class MRVMesh
{
public:
    // The three flags are accepted for the callers' sake and change nothing.
    MRVMesh(int numVertices, int numFaces, int verticesPerFace, bool withNormals = true, bool withTexCoords = true,
            bool withColors = false);

    MRVMesh(const MRVMesh&) = delete;
    MRVMesh& operator=(const MRVMesh&) = delete;

    bool setTriangle(int face, int a, int b, int c);
    // Needs at least four vertices per face.
    bool setQuad(int face, int a, int b, int c, int d);
    void setTexCoord(int i, const Vector<float, 2>& uv);

    Vector<float, 3>* getVertexPointer() { return vertexPointer.data(); }
    float* getVertexNormalPointer() { return vertexNormalPointer.data(); }
    Vector<float, 3>* getFaceNormalPointer() { return faceNormalPointer.data(); }
    float* getTexCoordPointer() { return texCoordPointer.data(); }
    int* getPolygonPointer() { return polygonPointer.data(); }
    int getNumVertices() const { return numVertices; }
    int getNumFaces() const { return numFaces; }
    int getVerticesPerFace() const { return verticesPerFace; }
    // Null outside the mesh.
    MRVVertex* getVertexRecord(int i);
    MRVPolygon* getPolygonRecord(int face);

    // Face normals, normalize((p1 - p2) x (p1 - p0)) of each face's first
    // three corners, into the face normal array; the segment form does faces
    // first to last - 1.
    void calcFNormals(const Vector<float, 3>* positions);
    void calcSegmentFNormals(const Vector<float, 3>* positions, int first, int last);
    // Per vertex the normalised sum of the face normals of its faces, into
    // out (3 floats per vertex); the face normals must be current.
    void calcVNormals(float* out);
    void calcSegmentVNormals(float* out, int first, int last);
    // Per-vertex tangents and bitangents (numVertices entries each) from the
    // texture coordinates, taking the index list three indices at a time.
    void calcTangents(const Vector<float, 3>* positions, Vector<float, 3>* tangents, Vector<float, 3>* bitangents);
    // Built by setTriangle/setQuad already.
    void calcConnectivity() {}
    void calcConnectivityBruteForce() {}

    // Debug drawings as coloured lines.
    void drawVNormals(const Vector<float, 3>* positions, const float* normals) const;
    void drawFNormals(const Vector<float, 3>* positions) const;
    void drawTangents(const Vector<float, 3>* positions, const Vector<float, 3>* tangents,
                      const Vector<float, 3>* bitangents) const;
    // One line per face: its indices, each followed by ",".
    void printFaceMap() const;

private:
    bool setFace(const char* operation, int face, const int* corners, int count);

    std::vector<MRVVertex> vertexRecords;
    std::vector<MRVPolygon> polygonRecords;
    std::vector<Vector<float, 3>> vertexPointer;
    std::vector<float> vertexNormalPointer;
    std::vector<Vector<float, 3>> faceNormalPointer;
    std::vector<int> polygonPointer;
    std::vector<float> texCoordPointer;
    int numVertices;
    int numFaces;
    int verticesPerFace;
};
