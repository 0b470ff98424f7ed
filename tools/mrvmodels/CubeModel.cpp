#include "tools/mrvmodels/CubeModel.h"

#include "tools/mrvmodels/MeshBuilder.h"

MRVObjectFile CubeModel::build()
{
    MeshBuilder mesh("Cube");
    mesh.box(Vec3(-0.5f, -0.5f, -0.5f), Vec3(0.5f, 0.5f, 0.5f));
    MRVObjectFile file;
    file.meshes.push_back(mesh.build());
    return file;
}
