#include "tools/mrvmodels/MirrorBallModel.h"

#include "tools/mrvmodels/MeshBuilder.h"

MRVObjectFile MirrorBallModel::build()
{
    MRVObjectFile file;
    MeshBuilder tiles("MirrorBall");
    tiles.colour(0.85f, 0.87f, 0.9f);
    tiles.tiledSphere(Vec3(), RADIUS, RINGS, SEGMENTS, 0.08f);
    file.meshes.push_back(tiles.build());

    MeshBuilder core("BallCore");
    core.colour(0.1f, 0.1f, 0.12f);
    core.sphere(Vec3(), RADIUS * 0.97f, RINGS, SEGMENTS);
    file.meshes.push_back(core.build());
    return file;
}
