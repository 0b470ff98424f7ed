#include "demosys/scene/MRVMesh.h"

#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

void expectVector(const Vector<float, 3>& v, float x, float y, float z)
{
    EXPECT_NEAR(v[0], x, 1e-5) << v;
    EXPECT_NEAR(v[1], y, 1e-5) << v;
    EXPECT_NEAR(v[2], z, 1e-5) << v;
}

void expectVector(const float* v, float x, float y, float z)
{
    expectVector(Vector<float, 3>(v[0], v[1], v[2]), x, y, z);
}

} // namespace

TEST(MeshTest, StartsZeroedWithTheGivenCounts)
{
    MRVMesh mesh(5, 3, 4);
    EXPECT_EQ(mesh.getNumVertices(), 5);
    EXPECT_EQ(mesh.getNumFaces(), 3);
    EXPECT_EQ(mesh.getVerticesPerFace(), 4);
    for (int i = 0; i < 5; ++i)
        expectVector(mesh.getVertexPointer()[i], 0, 0, 0);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(mesh.getTexCoordPointer()[i], 0.0f);
    EXPECT_EQ(mesh.getVertexRecord(0)->getPolyListSize(), 0);
    EXPECT_EQ(mesh.getVertexRecord(5), nullptr);
    EXPECT_EQ(mesh.getPolygonRecord(-1), nullptr);

    MRVMesh empty(-3, -1, 3);
    EXPECT_EQ(empty.getNumVertices(), 0);
    EXPECT_EQ(empty.getNumFaces(), 0);
}

TEST(MeshTest, QuadsAndTrianglesBuildConnectivity)
{
    MRVMesh mesh(24, 6, 4);
    EXPECT_TRUE(mesh.setQuad(5, 10, 11, 21, 20));
    EXPECT_EQ(MRVPolygon::m_poly_size, 4);
    const int* indices = mesh.getPolygonPointer();
    EXPECT_EQ(std::vector<int>(indices + 20, indices + 24), (std::vector<int>{ 10, 11, 21, 20 }));
    ASSERT_EQ(mesh.getVertexRecord(21)->getPolyListSize(), 1);
    EXPECT_EQ(mesh.getVertexRecord(21)->getPolyIndex(0), 5);
    EXPECT_EQ(mesh.getVertexRecord(21)->getPolyIndex(1), -1);
    EXPECT_EQ(mesh.getPolygonRecord(5)->getVertex(3), mesh.getVertexRecord(20));

    EXPECT_TRUE(mesh.setTriangle(0, 21, 1, 2));
    EXPECT_EQ(MRVPolygon::m_poly_size, 3);
    EXPECT_EQ(mesh.getVertexRecord(21)->getPolyListSize(), 2);
    EXPECT_EQ(mesh.getVertexRecord(21)->getPolyIndex(1), 0);
    EXPECT_EQ(mesh.getPolygonRecord(0)->getVertex(0), mesh.getVertexRecord(21));
}

TEST(MeshTest, FacesOutsideTheMeshAreRefused)
{
    MRVMesh mesh(4, 2, 3);
    StdoutCapture capture;
    EXPECT_FALSE(mesh.setTriangle(2, 0, 1, 2));
    EXPECT_FALSE(mesh.setTriangle(-1, 0, 1, 2));
    EXPECT_FALSE(mesh.setTriangle(0, 0, 1, 4));
    EXPECT_FALSE(mesh.setTriangle(0, -1, 1, 2));
    // Four corners do not fit into a triangle mesh's index list.
    EXPECT_FALSE(mesh.setQuad(1, 0, 1, 2, 3));
    EXPECT_EQ(capture.take(), "MRVMesh::setTriangle(2) outside the mesh!\n"
                              "MRVMesh::setTriangle(-1) outside the mesh!\n"
                              "MRVMesh::setTriangle(0) outside the mesh!\n"
                              "MRVMesh::setTriangle(0) outside the mesh!\n"
                              "MRVMesh::setQuad(1) outside the mesh!\n");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(mesh.getVertexRecord(i)->getPolyListSize(), 0);
}

TEST(MeshTest, FaceNormalsFollowTheWinding)
{
    MRVMesh mesh(3, 2, 3);
    Vector<float, 3>* p = mesh.getVertexPointer();
    p[0] = Vector<float, 3>(0, 0, 0);
    p[1] = Vector<float, 3>(1, 0, 0);
    p[2] = Vector<float, 3>(0, 1, 0);
    mesh.setTriangle(0, 0, 1, 2);
    mesh.setTriangle(1, 0, 2, 1);
    mesh.calcFNormals(p);
    expectVector(mesh.getFaceNormalPointer()[0], 0, 0, 1);
    expectVector(mesh.getFaceNormalPointer()[1], 0, 0, -1);

    // Displaced positions are passed in; the segment form touches only its
    // faces.
    std::vector<Vector<float, 3>> moved(p, p + 3);
    moved[2] = Vector<float, 3>(0, 0, 1);
    mesh.calcSegmentFNormals(moved.data(), 1, 2);
    expectVector(mesh.getFaceNormalPointer()[0], 0, 0, 1);
    expectVector(mesh.getFaceNormalPointer()[1], 0, 1, 0);
}

TEST(MeshTest, VertexNormalsAverageTheirFaces)
{
    MRVMesh mesh(6, 3, 3);
    Vector<float, 3>* p = mesh.getVertexPointer();
    p[0] = Vector<float, 3>(0, 0, 0);
    p[1] = Vector<float, 3>(1, 0, 0);
    p[2] = Vector<float, 3>(0, 1, 0);
    p[3] = Vector<float, 3>(0, 0, 1);
    p[4] = Vector<float, 3>(2, 0, 1);
    p[5] = Vector<float, 3>(3, 0, 0);
    mesh.setTriangle(0, 0, 1, 2); // normal (0, 0, 1)
    mesh.setTriangle(1, 0, 2, 3); // normal (1, 0, 0)
    mesh.setTriangle(2, 1, 4, 5); // normal (0, 1, 0), vertex 4's only face
    mesh.calcFNormals(p);
    expectVector(mesh.getFaceNormalPointer()[1], 1, 0, 0);
    expectVector(mesh.getFaceNormalPointer()[2], 0, 1, 0);

    std::vector<float> normals(18, 7.0f);
    mesh.calcVNormals(normals.data());
    expectVector(&normals[0], 0.70710677f, 0, 0.70710677f);
    expectVector(&normals[12], 0, 1, 0);

    // Segment: only vertices 1 and 2 are written.
    std::vector<float> segment(18, 7.0f);
    mesh.calcSegmentVNormals(segment.data(), 1, 3);
    EXPECT_EQ(segment[0], 7.0f);
    expectVector(&segment[6], 0.70710677f, 0, 0.70710677f);
    EXPECT_EQ(segment[9], 7.0f);
}

TEST(MeshTest, TangentsFollowTheTextureAxes)
{
    // A unit square in the xy plane, u along x and v along y.
    MRVMesh mesh(4, 2, 3);
    Vector<float, 3>* p = mesh.getVertexPointer();
    const float x[] = { 0, 2, 2, 0 }, y[] = { 0, 0, 3, 3 };
    for (int i = 0; i < 4; ++i)
    {
        p[i] = Vector<float, 3>(x[i], y[i], 0);
        mesh.setTexCoord(i, Vector<float, 2>(x[i] / 2, y[i] / 3));
    }
    mesh.setTriangle(0, 0, 1, 2);
    mesh.setTriangle(1, 0, 2, 3);
    std::vector<Vector<float, 3>> tangents(4, Vector<float, 3>(9, 9, 9)), bitangents(4);
    mesh.calcTangents(p, tangents.data(), bitangents.data());
    for (int i = 0; i < 4; ++i)
    {
        expectVector(tangents[static_cast<size_t>(i)], 1, 0, 0);
        expectVector(bitangents[static_cast<size_t>(i)], 0, 1, 0);
    }

    // Mirrored texture: the tangent turns round.
    for (int i = 0; i < 4; ++i)
        mesh.setTexCoord(i, Vector<float, 2>(1 - x[i] / 2, y[i] / 3));
    mesh.calcTangents(p, tangents.data(), bitangents.data());
    expectVector(tangents[0], -1, 0, 0);
}

TEST(MeshTest, FaceMapListsEveryFace)
{
    MRVMesh mesh(4, 2, 4);
    mesh.setQuad(0, 0, 1, 2, 3);
    mesh.setQuad(1, 3, 2, 1, 0);
    StdoutCapture capture;
    mesh.printFaceMap();
    EXPECT_EQ(capture.take(), "0,1,2,3,\n3,2,1,0,\n");
}
