#include "tools/mrvmodels/TvSetModel.h"

#include "tools/mrvmodels/MeshBuilder.h"

namespace {

MRVObjectFile::Mesh cabinet()
{
    const float front = TvSetModel::FRONT_X;
    MeshBuilder mesh("Cabinet");
    mesh.box(Vec3(front + 1.5f, -25.0f, -44.0f), Vec3(30.0f, 25.0f, 44.0f));
    // The bezel: four bars round the opening, standing 1.5 proud of the box.
    const float sx = 38.0f, sy = 21.5f;
    mesh.box(Vec3(front, sy, -44.0f), Vec3(front + 1.5f, 25.0f, 44.0f));
    mesh.box(Vec3(front, -25.0f, -44.0f), Vec3(front + 1.5f, -sy, 44.0f));
    mesh.box(Vec3(front, -sy, -44.0f), Vec3(front + 1.5f, sy, -sx));
    mesh.box(Vec3(front, -sy, sx), Vec3(front + 1.5f, sy, 44.0f));
    return mesh.build();
}

MRVObjectFile::Mesh tube()
{
    MeshBuilder mesh("Tube");
    // A tapered rear, square in section: four sloped faces and the back.
    const float x0 = 30.0f, x1 = 50.0f;
    const Vec3 a0(x0, -20.0f, -34.0f), b0(x0, -20.0f, 34.0f), c0(x0, 20.0f, 34.0f), d0(x0, 20.0f, -34.0f);
    const Vec3 a1(x1, -10.0f, -16.0f), b1(x1, -10.0f, 16.0f), c1(x1, 10.0f, 16.0f), d1(x1, 10.0f, -16.0f);
    mesh.face(a0, a1, b1, b0);
    mesh.face(b0, b1, c1, c0);
    mesh.face(c0, c1, d1, d0);
    mesh.face(d0, d1, a1, a0);
    mesh.face(a1, d1, c1, b1);
    return mesh.build();
}

MRVObjectFile::Mesh antenna()
{
    MeshBuilder mesh("Antenna");
    mesh.box(Vec3(8.0f, 25.0f, -5.0f), Vec3(18.0f, 28.0f, 5.0f));
    for (float z : { -1.0f, 1.0f })
        mesh.frustum(Vec3(13.0f, 27.0f, 3.0f * z), MeshBuilder::unit(Vec3(-0.2f, 1.0f, 0.75f * z)), 38.0f, 0.7f,
                     0.4f, 8, false, true);
    return mesh.build();
}

MRVObjectFile::Mesh feet()
{
    MeshBuilder mesh("Feet");
    for (float z : { -38.0f, 32.0f })
        for (float x : { -6.0f, 22.0f })
            mesh.box(Vec3(x, -28.0f, z), Vec3(x + 6.0f, -25.0f, z + 6.0f));
    return mesh.build();
}

} // namespace

MRVObjectFile TvSetModel::build()
{
    MRVObjectFile file;
    file.meshes.push_back(cabinet());
    file.meshes.push_back(tube());
    file.meshes.push_back(antenna());
    file.meshes.push_back(feet());
    return file;
}
