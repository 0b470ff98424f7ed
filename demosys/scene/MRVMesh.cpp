#include "demosys/scene/MRVMesh.h"

#include <GL/glew.h>

#include <algorithm>
#include <iostream>

namespace {

Vector<float, 3> cross(const Vector<float, 3>& a, const Vector<float, 3>& b)
{
    return Vector<float, 3>(a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]);
}

void beginDebugLines()
{
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glBegin(GL_LINES);
}

void endDebugLines()
{
    glEnd();
    glColor3f(1.0f, 1.0f, 1.0f);
    glDisable(GL_COLOR_MATERIAL);
}

void line(const Vector<float, 3>& from, const Vector<float, 3>& vector)
{
    glVertex3fv(from.data());
    const Vector<float, 3> to = from + vector;
    glVertex3fv(to.data());
}

} // namespace

MRVMesh::MRVMesh(int numVertices_, int numFaces_, int verticesPerFace_, bool, bool, bool)
    : numVertices(std::max(numVertices_, 0)), numFaces(std::max(numFaces_, 0)),
      verticesPerFace(std::max(verticesPerFace_, 0))
{
    vertexRecords.resize(static_cast<size_t>(numVertices));
    polygonRecords.resize(static_cast<size_t>(numFaces));
    vertexPointer.resize(static_cast<size_t>(numVertices));
    vertexNormalPointer.assign(static_cast<size_t>(numVertices) * 3, 0.0f);
    faceNormalPointer.resize(static_cast<size_t>(numFaces));
    // Zeroed rather than left undefined: index 0 is inside every mesh that
    // has vertices, so a face never set still draws nothing harmful.
    polygonPointer.assign(static_cast<size_t>(numFaces) * verticesPerFace, 0);
    texCoordPointer.assign(static_cast<size_t>(numVertices) * 2, 0.0f);
}

MRVVertex* MRVMesh::getVertexRecord(int i)
{
    return i >= 0 && i < numVertices ? &vertexRecords[static_cast<size_t>(i)] : nullptr;
}

MRVPolygon* MRVMesh::getPolygonRecord(int face)
{
    return face >= 0 && face < numFaces ? &polygonRecords[static_cast<size_t>(face)] : nullptr;
}

bool MRVMesh::setFace(const char* operation, int face, const int* corners, int count)
{
    bool inside = face >= 0 && face < numFaces && count <= verticesPerFace;
    for (int k = 0; inside && k < count; ++k)
        inside = corners[k] >= 0 && corners[k] < numVertices;
    if (!inside)
    {
        std::cout << operation << face << ") outside the mesh!" << std::endl;
        return false;
    }

    MRVPolygon::m_poly_size = count;
    MRVVertex* v[4] = {};
    for (int k = 0; k < count; ++k)
    {
        v[k] = &vertexRecords[static_cast<size_t>(corners[k])];
        v[k]->addPolygonIndex(face);
        polygonPointer[static_cast<size_t>(face) * verticesPerFace + k] = corners[k];
    }
    if (count == 4)
        polygonRecords[static_cast<size_t>(face)].setVertexData4(v[0], v[1], v[2], v[3]);
    else
        polygonRecords[static_cast<size_t>(face)].setVertexData3(v[0], v[1], v[2]);
    return true;
}

bool MRVMesh::setTriangle(int face, int a, int b, int c)
{
    const int corners[3] = { a, b, c };
    return setFace("MRVMesh::setTriangle(", face, corners, 3);
}

bool MRVMesh::setQuad(int face, int a, int b, int c, int d)
{
    const int corners[4] = { a, b, c, d };
    return setFace("MRVMesh::setQuad(", face, corners, 4);
}

void MRVMesh::setTexCoord(int i, const Vector<float, 2>& uv)
{
    if (i < 0 || i >= numVertices)
        return;
    texCoordPointer[static_cast<size_t>(i) * 2] = uv[0];
    texCoordPointer[static_cast<size_t>(i) * 2 + 1] = uv[1];
}

void MRVMesh::calcFNormals(const Vector<float, 3>* positions)
{
    calcSegmentFNormals(positions, 0, numFaces);
}

void MRVMesh::calcSegmentFNormals(const Vector<float, 3>* positions, int first, int last)
{
    // A face needs three corners to have a normal.
    if (!positions || verticesPerFace < 3)
        return;
    first = std::max(first, 0);
    last = std::min(last, numFaces);
    for (int f = first; f < last; ++f)
    {
        const int* corners = &polygonPointer[static_cast<size_t>(f) * verticesPerFace];
        const Vector<float, 3>& p0 = positions[corners[0]];
        const Vector<float, 3>& p1 = positions[corners[1]];
        const Vector<float, 3>& p2 = positions[corners[2]];
        Vector<float, 3> normal = cross(p1 - p2, p1 - p0);
        normal.normalize();
        faceNormalPointer[static_cast<size_t>(f)] = normal;
    }
}

void MRVMesh::calcVNormals(float* out)
{
    calcSegmentVNormals(out, 0, numVertices);
}

void MRVMesh::calcSegmentVNormals(float* out, int first, int last)
{
    if (!out)
        return;
    first = std::max(first, 0);
    last = std::min(last, numVertices);
    for (int i = first; i < last; ++i)
    {
        const MRVVertex& vertex = vertexRecords[static_cast<size_t>(i)];
        Vector<float, 3> sum;
        for (int k = 0; k < vertex.getPolyListSize(); ++k)
            sum += faceNormalPointer[static_cast<size_t>(vertex.getPolyIndex(k))];
        sum.normalize();
        std::copy(sum.data(), sum.data() + 3, out + static_cast<size_t>(i) * 3);
    }
}

void MRVMesh::calcTangents(const Vector<float, 3>* positions, Vector<float, 3>* tangents,
                           Vector<float, 3>* bitangents)
{
    if (!positions || !tangents || !bitangents || verticesPerFace < 3)
        return;
    std::fill(tangents, tangents + numVertices, Vector<float, 3>());
    std::fill(bitangents, bitangents + numVertices, Vector<float, 3>());

    // Three indices per face whatever the face size, as the productions'
    // triangle meshes expect.
    for (int f = 0; f < numFaces; ++f)
    {
        const int* corners = &polygonPointer[static_cast<size_t>(f) * 3];
        const int i0 = corners[0], i1 = corners[1], i2 = corners[2];
        const Vector<float, 3> e1 = positions[i1] - positions[i0];
        const Vector<float, 3> e2 = positions[i2] - positions[i0];
        const float* uv0 = &texCoordPointer[static_cast<size_t>(i0) * 2];
        const float* uv1 = &texCoordPointer[static_cast<size_t>(i1) * 2];
        const float* uv2 = &texCoordPointer[static_cast<size_t>(i2) * 2];
        const float ds1 = uv1[0] - uv0[0], dt1 = uv1[1] - uv0[1];
        const float ds2 = uv2[0] - uv0[0], dt2 = uv2[1] - uv0[1];
        const float r = 1.0f / (ds1 * dt2 - ds2 * dt1);
        const Vector<float, 3> tangent = (e1 * dt2 - e2 * dt1) * r;
        const Vector<float, 3> bitangent = (e2 * ds1 - e1 * ds2) * r;
        for (int k : { i0, i1, i2 })
        {
            tangents[k] += tangent;
            bitangents[k] += bitangent;
        }
    }
    for (int i = 0; i < numVertices; ++i)
    {
        tangents[i].normalize();
        bitangents[i].normalize();
    }
}

void MRVMesh::drawVNormals(const Vector<float, 3>* positions, const float* normals) const
{
    if (!positions || !normals)
        return;
    beginDebugLines();
    glColor3f(0.0f, 1.0f, 0.0f);
    for (int i = 0; i < numVertices; ++i)
    {
        const float* n = normals + static_cast<size_t>(i) * 3;
        line(positions[i], Vector<float, 3>(n[0], n[1], n[2]));
    }
    endDebugLines();
}

void MRVMesh::drawFNormals(const Vector<float, 3>* positions) const
{
    if (!positions || verticesPerFace < 3)
        return;
    beginDebugLines();
    glColor3f(1.0f, 0.0f, 0.0f);
    for (int f = 0; f < numFaces; ++f)
    {
        const int* corners = &polygonPointer[static_cast<size_t>(f) * verticesPerFace];
        const Vector<float, 3> middle = (positions[corners[0]] + positions[corners[2]]) * 0.5f;
        line(middle, faceNormalPointer[static_cast<size_t>(f)]);
    }
    endDebugLines();
}

void MRVMesh::drawTangents(const Vector<float, 3>* positions, const Vector<float, 3>* tangents,
                           const Vector<float, 3>* bitangents) const
{
    if (!positions || !tangents || !bitangents)
        return;
    beginDebugLines();
    for (int i = 0; i < numVertices; ++i)
    {
        glColor3f(1.0f, 0.0f, 1.0f);
        line(positions[i], tangents[i]);
        glColor3f(1.0f, 1.0f, 1.0f);
        line(positions[i], bitangents[i]);
    }
    endDebugLines();
    glLineWidth(1.0f);
}

void MRVMesh::printFaceMap() const
{
    for (int f = 0; f < numFaces; ++f)
    {
        for (int k = 0; k < verticesPerFace; ++k)
            std::cout << polygonPointer[static_cast<size_t>(f) * verticesPerFace + k] << ",";
        std::cout << std::endl;
    }
}
