#include "tools/mrvmodels/GhettoblasterModel.h"

#include "tools/mrvmodels/MeshBuilder.h"

namespace {

const Vec3 FORWARD(0.0f, 0.0f, 1.0f);
const Vec3 UP(0.0f, 1.0f, 0.0f);
const Vec3 RIGHT(1.0f, 0.0f, 0.0f);

MRVObjectFile::Mesh body()
{
    MeshBuilder mesh("Body");
    mesh.colour(0.72f, 0.73f, 0.78f);
    mesh.box(Vec3(-8.0f, 0.5f, -1.6f), Vec3(8.0f, 7.5f, GhettoblasterModel::FRONT_Z));
    // The raised ridge that carries the buttons.
    mesh.box(Vec3(-6.0f, 7.5f, -1.2f), Vec3(6.0f, 7.9f, 1.0f));
    return mesh.build();
}

MRVObjectFile::Mesh metal()
{
    MeshBuilder mesh("Metal");
    mesh.colour(0.9f, 0.9f, 0.95f);
    // Handle: two posts and the bar across.
    for (float x : { -6.5f, 6.5f })
        mesh.frustum(Vec3(x, 7.9f, -0.1f), UP, 1.6f, 0.25f, 0.25f, 12, false, true);
    mesh.frustum(Vec3(-6.8f, 9.5f, -0.1f), RIGHT, 13.6f, 0.32f, 0.32f, 16, true, true);
    // Chrome trims around the speakers.
    for (float x : { -GhettoblasterModel::SPEAKER_X, GhettoblasterModel::SPEAKER_X })
        mesh.ring(Vec3(x, GhettoblasterModel::SPEAKER_Y, GhettoblasterModel::FRONT_Z + 0.03f), FORWARD, 2.5f,
                  2.75f, 40);
    // Tuning and volume knobs at the bottom of the centre panel.
    for (float x : { -2.2f, 2.2f })
        mesh.frustum(Vec3(x, 1.35f, GhettoblasterModel::FRONT_Z + 0.05f), FORWARD, 0.3f, 0.3f, 0.26f, 16, false,
                     true);
    return mesh.build();
}

MRVObjectFile::Mesh blackPlastic()
{
    MeshBuilder mesh("BlackPlastic");
    mesh.colour(0.08f, 0.08f, 0.09f);
    for (float x : { -7.0f, 5.5f })
        mesh.box(Vec3(x, 0.0f, -1.4f), Vec3(x + 1.5f, 0.5f, 1.2f));
    for (float x : { -GhettoblasterModel::SPEAKER_X, GhettoblasterModel::SPEAKER_X })
        mesh.ring(Vec3(x, GhettoblasterModel::SPEAKER_Y, GhettoblasterModel::FRONT_Z + 0.01f), FORWARD, 2.0f, 2.5f,
                  40);
    // The centre panel that the deck, the equalizer and the display sit on.
    mesh.box(Vec3(-2.9f, 0.9f, GhettoblasterModel::FRONT_Z), Vec3(2.9f, 6.9f, GhettoblasterModel::FRONT_Z + 0.05f));
    // Piano keys of the deck on the ridge.
    for (int k = 0; k < 6; ++k)
    {
        const float x = -3.3f + 1.1f * static_cast<float>(k);
        mesh.box(Vec3(x, 7.9f, -0.6f), Vec3(x + 0.9f, 8.2f, 0.6f));
    }
    return mesh.build();
}

MRVObjectFile::Mesh bass()
{
    MeshBuilder mesh("Bass");
    mesh.colour(0.1f, 0.1f, 0.11f);
    for (float x : { -GhettoblasterModel::SPEAKER_X, GhettoblasterModel::SPEAKER_X })
        mesh.dish(Vec3(x, GhettoblasterModel::SPEAKER_Y, GhettoblasterModel::FRONT_Z + 0.02f), FORWARD, 2.0f, 0.6f,
                  40);
    return mesh.build();
}

MRVObjectFile::Mesh dome(const char* name, float x)
{
    const Vec3 centre(x, GhettoblasterModel::SPEAKER_Y, GhettoblasterModel::DOME_Z);
    MeshBuilder mesh(name);
    mesh.colour(0.3f, 0.3f, 0.35f).translation(centre);
    mesh.sphere(centre, 0.7f, 12, 24);
    return mesh.build();
}

MRVObjectFile::Mesh display()
{
    MeshBuilder mesh("Plane");
    mesh.colour(0.05f, 0.07f, 0.1f);
    const float z = GhettoblasterModel::DISPLAY_Z;
    mesh.face(Vec3(-2.75f, 6.0f, z), Vec3(2.75f, 6.0f, z), Vec3(2.75f, 6.6f, z), Vec3(-2.75f, 6.6f, z));
    return mesh.build();
}

} // namespace

MRVObjectFile GhettoblasterModel::build()
{
    MRVObjectFile file;
    file.meshes.push_back(body());
    file.meshes.push_back(metal());
    file.meshes.push_back(blackPlastic());
    file.meshes.push_back(bass());
    file.meshes.push_back(dome("BassSphereLeft", -SPEAKER_X));
    file.meshes.push_back(dome("BassSphereRight", SPEAKER_X));
    file.meshes.push_back(display());
    return file;
}
