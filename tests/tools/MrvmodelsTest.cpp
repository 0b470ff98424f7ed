// The model generator behind the scene effects: every model is a valid 3D
// object file, its faces point the way its normals do, and each holds what
// its effect looks up and places.
#include "demosys/scene/MRVSceneReader.h"
#include "demosys/scene/MRVSceneWriter.h"
#include "tests/support/MusicFixtures.h"
#include "tools/mrvmodels/CubeModel.h"
#include "tools/mrvmodels/GhettoblasterModel.h"
#include "tools/mrvmodels/LightRaysModel.h"
#include "tools/mrvmodels/MeshBuilder.h"
#include "tools/mrvmodels/MirrorBallModel.h"
#include "tools/mrvmodels/ModelCatalog.h"
#include "tools/mrvmodels/MrvmodelsCommand.h"
#include "tools/mrvmodels/TvSetModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>

namespace {

float dot(const Vec3& a, const Vec3& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

float length(const Vec3& v)
{
    return std::sqrt(dot(v, v));
}

Vec3 position(const MRVObjectFile::Mesh& mesh, int i)
{
    const float* v = mesh.vertices.data() + static_cast<size_t>(i) * 8;
    return Vec3(v[0], v[1], v[2]);
}

Vec3 normal(const MRVObjectFile::Mesh& mesh, int i)
{
    const float* v = mesh.vertices.data() + static_cast<size_t>(i) * 8 + 3;
    return Vec3(v[0], v[1], v[2]);
}

const MRVObjectFile::Mesh* find(const MRVObjectFile& file, const std::string& name)
{
    for (const MRVObjectFile::Mesh& mesh : file.meshes)
        if (mesh.name == name)
            return &mesh;
    return nullptr;
}

Vec3 centreOf(const MRVObjectFile::Mesh& mesh)
{
    return (mesh.bboxMin + mesh.bboxMax) * 0.5f;
}

} // namespace

TEST(EffectModelsTest, EveryModelIsWrittenAndReadBackWhole)
{
    ASSERT_EQ(ModelCatalog::entries().size(), 5u);
    for (const ModelCatalog::Entry& entry : ModelCatalog::entries())
    {
        const MRVObjectFile built = entry.build();
        ASSERT_FALSE(built.meshes.empty()) << entry.name;
        const std::string path = MusicFixtures::tempPath(ModelCatalog::fileName(entry));
        std::string error;
        ASSERT_TRUE(MRVSceneWriter::writeFile(built, path, error)) << entry.name << ": " << error;
        MRVObjectFile read;
        ASSERT_TRUE(MRVSceneReader::readFile(path, read, error)) << entry.name << ": " << error;
        ASSERT_EQ(read.meshes.size(), built.meshes.size());
        for (size_t i = 0; i < read.meshes.size(); ++i)
        {
            EXPECT_EQ(read.meshes[i].name, built.meshes[i].name);
            EXPECT_EQ(read.meshes[i].vertices, built.meshes[i].vertices);
            EXPECT_EQ(read.meshes[i].indices, built.meshes[i].indices);
        }
    }
    EXPECT_EQ(ModelCatalog::find("nothing"), nullptr);
    EXPECT_EQ(ModelCatalog::fileName(*ModelCatalog::find("discorays")), "discorays.o3d");
}

TEST(EffectModelsTest, EveryTriangleFacesWhereItsNormalsPoint)
{
    for (const ModelCatalog::Entry& entry : ModelCatalog::entries())
        for (const MRVObjectFile::Mesh& mesh : entry.build().meshes)
        {
            ASSERT_EQ(mesh.floatsPerVertex(), 8) << mesh.name;
            Vec3 lo = position(mesh, 0), hi = lo;
            for (int i = 0; i < mesh.vertexCount; ++i)
            {
                ASSERT_NEAR(length(normal(mesh, i)), 1.0f, 1e-4) << mesh.name << " vertex " << i;
                for (int k = 0; k < 3; ++k)
                {
                    lo[k] = std::min(lo[k], position(mesh, i)[k]);
                    hi[k] = std::max(hi[k], position(mesh, i)[k]);
                }
            }
            EXPECT_TRUE(lo == mesh.bboxMin && hi == mesh.bboxMax) << mesh.name << ": the box fits the positions";
            int checked = 0;
            for (int t = 0; t < mesh.triangleCount; ++t)
            {
                const int* corner = mesh.indices.data() + 3 * t;
                const Vec3 a = position(mesh, corner[0]), b = position(mesh, corner[1]), c = position(mesh, corner[2]);
                const Vec3 face = MeshBuilder::cross(b - a, c - a);
                if (length(face) < 1e-6f)
                    continue;
                const Vec3 smooth = normal(mesh, corner[0]) + normal(mesh, corner[1]) + normal(mesh, corner[2]);
                ASSERT_GT(dot(face, smooth), 0.0f) << entry.name << " '" << mesh.name << "' triangle " << t;
                ++checked;
            }
            EXPECT_GT(checked, mesh.triangleCount / 2) << mesh.name;
        }
}

TEST(EffectModelsTest, StereoHoldsTheSevenObjectsOfTheSceneInPlace)
{
    const MRVObjectFile stereo = GhettoblasterModel::build();
    std::set<std::string> names;
    for (const MRVObjectFile::Mesh& mesh : stereo.meshes)
    {
        names.insert(mesh.name);
        EXPECT_TRUE(mesh.hasMaterial()) << mesh.name << " is lit in its own colour";
    }
    EXPECT_EQ(names, (std::set<std::string>{ "BassSphereLeft", "BassSphereRight", "Plane", "Body", "Metal", "Bass",
                                              "BlackPlastic" }));
    // The domes pump about their own centres, which their translations give.
    for (const char* dome : { "BassSphereLeft", "BassSphereRight" })
    {
        const MRVObjectFile::Mesh& mesh = *find(stereo, dome);
        const Vec3 centre = centreOf(mesh);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(mesh.translation[k], centre[k], 1e-4) << dome;
    }
    EXPECT_LT(find(stereo, "BassSphereLeft")->translation[0], 0.0f);
    EXPECT_GT(find(stereo, "BassSphereRight")->translation[0], 0.0f);
    // The display is flat, on the front, above the speakers.
    const MRVObjectFile::Mesh& display = *find(stereo, "Plane");
    EXPECT_EQ(display.bboxMin[2], display.bboxMax[2]);
    EXPECT_GT(display.bboxMin[2], find(stereo, "Body")->bboxMax[2]);
    EXPECT_GT(display.bboxMin[1], GhettoblasterModel::SPEAKER_Y);
    // 150 dots of 0.035 fit across it.
    EXPECT_GT(display.bboxMax[0] - display.bboxMin[0], 150 * 0.035f);
    // Standing on the floor.
    float bottom = 1e9f;
    for (const MRVObjectFile::Mesh& mesh : stereo.meshes)
        bottom = std::min(bottom, mesh.bboxMin[1]);
    EXPECT_EQ(bottom, 0.0f);
}

TEST(EffectModelsTest, TvSetSitsBehindThePictureTheEffectLaysOnIt)
{
    const MRVObjectFile tv = TvSetModel::build();
    float left = 1e9f, right = -1e9f, low = 1e9f, high = -1e9f;
    for (const MRVObjectFile::Mesh& mesh : tv.meshes)
    {
        EXPECT_FALSE(mesh.hasMaterial()) << mesh.name << ": each ring paints the sets";
        for (int i = 0; i < mesh.vertexCount; ++i)
        {
            // As drawn: scaled by 0.08 and turned 90 degrees about y.
            const Vec3 p = position(mesh, i);
            const Vec3 drawn(p[2] * 0.08f, p[1] * 0.08f, -p[0] * 0.08f);
            ASSERT_LT(drawn[2], 0.9f) << mesh.name << ": in front of the picture at z = 0.9";
            if (mesh.name == "Cabinet")
            {
                left = std::min(left, drawn[0]);
                right = std::max(right, drawn[0]);
                low = std::min(low, drawn[1]);
                high = std::max(high, drawn[1]);
            }
        }
    }
    // The cabinet frames the 6.04 x 3.4 picture (shifted 0.1 to the right).
    EXPECT_LT(left, 0.1f - 3.0222223f);
    EXPECT_GT(right, 0.1f + 3.0222223f);
    EXPECT_LT(low, -1.7f);
    EXPECT_GT(high, 1.7f);
    const MRVObjectFile::Mesh& cabinet = *find(tv, "Cabinet");
    EXPECT_NEAR(cabinet.bboxMin[0], TvSetModel::FRONT_X, 1e-5);
    EXPECT_NE(find(tv, "Antenna"), nullptr);
}

TEST(EffectModelsTest, CubeAndMirrorBallAreClosedAndFaceOutwards)
{
    const MRVObjectFile cube = CubeModel::build();
    ASSERT_EQ(cube.meshes.size(), 1u);
    const MRVObjectFile::Mesh& box = cube.meshes[0];
    EXPECT_EQ(box.name, "Cube");
    EXPECT_FALSE(box.hasMaterial());
    EXPECT_TRUE(box.bboxMin == Vec3(-0.5f, -0.5f, -0.5f) && box.bboxMax == Vec3(0.5f, 0.5f, 0.5f));
    EXPECT_EQ(box.triangleCount, 12);
    for (int i = 0; i < box.vertexCount; ++i)
        EXPECT_FLOAT_EQ(dot(normal(box, i), position(box, i)), 0.5f);

    const MRVObjectFile ball = MirrorBallModel::build();
    const MRVObjectFile::Mesh& tiles = *find(ball, "MirrorBall");
    EXPECT_EQ(tiles.triangleCount, MirrorBallModel::SEGMENTS * (2 * MirrorBallModel::RINGS - 2));
    for (int i = 0; i < tiles.vertexCount; ++i)
    {
        ASSERT_GT(dot(normal(tiles, i), position(tiles, i)), 0.0f);
        ASSERT_LE(length(position(tiles, i)), MirrorBallModel::RADIUS + 1e-4f);
    }
    // Tiles are flat: the four corners of one tile share its normal.
    EXPECT_TRUE(normal(tiles, 4 * 30) == normal(tiles, 4 * 30 + 3));
    EXPECT_NE(find(ball, "BallCore"), nullptr);
}

TEST(EffectModelsTest, LightRaysLieAlongTheDirectionsTheirTranslationsGive)
{
    const MRVObjectFile rays = LightRaysModel::build();
    ASSERT_EQ(rays.meshes.size(), 82u);
    const std::vector<int> numbers = LightRaysModel::rayNumbers();
    ASSERT_EQ(numbers.size(), 41u);
    EXPECT_EQ(numbers.front(), 44);
    EXPECT_EQ(numbers.back(), 85);
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), 63), 0);
    for (size_t k = 0; k < numbers.size(); ++k)
    {
        const MRVObjectFile::Mesh* tube = find(rays, "Tube.0" + std::to_string(numbers[k]));
        const MRVObjectFile::Mesh* spot = find(rays, "Circle.0" + std::to_string(numbers[k]));
        ASSERT_TRUE(tube && spot) << numbers[k];
        Vec3 axis = tube->translation;
        axis.normalize();
        const Vec3 dir = LightRaysModel::direction(static_cast<int>(k));
        EXPECT_NEAR(dot(axis, dir), 1.0f, 1e-5);
        Vec3 spotAxis = spot->translation;
        spotAxis.normalize();
        EXPECT_NEAR(dot(spotAxis, dir), 1.0f, 1e-5);
        // The beam leaves the ball's surface and widens to its spot.
        for (int i = 0; i < tube->vertexCount; ++i)
        {
            const Vec3 p = position(*tube, i);
            const float along = dot(p, dir);
            ASSERT_GE(along, LightRaysModel::START - 0.2f);
            ASSERT_LE(along, LightRaysModel::START + LightRaysModel::LENGTH + 0.01f);
            ASSERT_LE(length(p - dir * along), 1.1f + 1e-4f);
        }
        EXPECT_GT(dot(spot->translation, dir), dot(tube->translation, dir));
        for (size_t other = 0; other < k; ++other)
            ASSERT_LT(dot(dir, LightRaysModel::direction(static_cast<int>(other))), 0.95f) << "spread out";
    }
}

TEST(EffectModelsTest, CommandWritesOneModelOrAllOfThem)
{
    std::ostringstream out, err;
    EXPECT_EQ(MrvmodelsCommand::run({ "list" }, out, err), 0);
    const std::string listed = out.str();
    EXPECT_EQ(std::count(listed.begin(), listed.end(), '\n'), 5);

    const std::string dir = MusicFixtures::tempPath("mrvmodels_all");
    out.str("");
    EXPECT_EQ(MrvmodelsCommand::run({ "all", dir }, out, err), 0) << err.str();
    EXPECT_NE(out.str().find("mrvmodels: wrote 'cube' (1 mesh) to '" + dir + "/cube.o3d'"), std::string::npos);
    for (const ModelCatalog::Entry& entry : ModelCatalog::entries())
    {
        MRVObjectFile read;
        std::string error;
        EXPECT_TRUE(MRVSceneReader::readFile(dir + "/" + ModelCatalog::fileName(entry), read, error)) << error;
        EXPECT_EQ(read.meshes.size(), entry.build().meshes.size());
    }

    err.str("");
    EXPECT_EQ(MrvmodelsCommand::run({ "write", "boombox", "-o", dir + "/x.o3d" }, out, err), 1);
    EXPECT_EQ(err.str(), "mrvmodels: no model 'boombox' (see mrvmodels list)\n");
    err.str("");
    EXPECT_EQ(MrvmodelsCommand::run({ "write", "cube", "-o", dir + "/missing/x.o3d" }, out, err), 1);
    EXPECT_NE(err.str().find("cannot create"), std::string::npos) << err.str();
    err.str("");
    EXPECT_EQ(MrvmodelsCommand::run({ "write", "cube" }, out, err), 2);
    EXPECT_EQ(err.str(), MrvmodelsCommand::usage());
}
