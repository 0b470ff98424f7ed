#include "demosys/scene/MRVObjectFile.h"
#include "demosys/scene/MRVSceneReader.h"
#include "demosys/scene/MRVSceneWriter.h"
#include "tools/mrvobj/MrvobjCommand.h"
#include "tests/support/TempDir.h"


#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Result
{
    int status;
    std::string out;
    std::string err;
};

Result run(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = MrvobjCommand::run(args, out, err);
    return { status, out.str(), err.str() };
}

std::string littleEndian(const std::vector<float>& floats, const std::vector<uint16_t>& shorts)
{
    std::string bytes;
    for (float f : floats)
    {
        uint32_t u;
        std::memcpy(&u, &f, 4);
        for (int k = 0; k < 4; ++k)
            bytes.push_back(static_cast<char>((u >> (8 * k)) & 0xff));
    }
    for (uint16_t s : shorts)
    {
        bytes.push_back(static_cast<char>(s & 0xff));
        bytes.push_back(static_cast<char>(s >> 8));
    }
    return bytes;
}

const MRVObjectFile::Mesh* find(const MRVObjectFile& file, const std::string& name)
{
    for (const auto& mesh : file.meshes)
        if (mesh.name == name)
            return &mesh;
    return nullptr;
}

class MrvobjTest : public ::testing::Test
{
protected:
    MRVObjectFile convertAndRead(const std::string& model)
    {
        const std::string output = dir.path() + "out.o3d";
        const Result result = run({ "convert", model, "-o", output });
        EXPECT_EQ(result.status, 0) << result.err;
        MRVObjectFile file;
        std::string error;
        EXPECT_TRUE(MRVSceneReader::readFile(output, file, error)) << error;
        return file;
    }

    // A glTF 2.0 scene of two nodes sharing one buffer: «Panel» (translated
    // by 1, 2, 3) with a textured quad, and an unnamed node whose mesh
    // «Thing» has two primitives.
    std::string writeGltf()
    {
        const std::string buffer =
            littleEndian({ 0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0,   // positions
                           0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1,   // normals
                           0, 0, 1, 0, 1, 1, 0, 1 },             // texture coordinates
                         { 0, 1, 2, 0, 2, 3, 0, 0 });            // indices and padding
        dir.write("model.bin", buffer);
        const std::string json = R"({
  "asset": { "version": "2.0" },
  "scene": 0,
  "scenes": [ { "nodes": [ 0, 1 ] } ],
  "nodes": [ { "name": "Panel", "mesh": 0, "translation": [ 1, 2, 3 ] }, { "mesh": 1 } ],
  "meshes": [
    { "name": "PanelMesh", "primitives": [ { "attributes": { "POSITION": 0, "NORMAL": 1, "TEXCOORD_0": 2 },
                                             "indices": 3, "material": 0 } ] },
    { "name": "Thing", "primitives": [ { "attributes": { "POSITION": 0 }, "indices": 3 },
                                       { "attributes": { "POSITION": 0 }, "indices": 3, "material": 0 } ] } ],
  "materials": [ { "pbrMetallicRoughness": { "baseColorFactor": [ 0.25, 0.5, 1, 1 ],
                                             "baseColorTexture": { "index": 0 } } } ],
  "textures": [ { "source": 0 } ],
  "images": [ { "uri": "pictures/wood.png" } ],
  "buffers": [ { "uri": "model.bin", "byteLength": 144 } ],
  "bufferViews": [ { "buffer": 0, "byteOffset": 0, "byteLength": 48 },
                   { "buffer": 0, "byteOffset": 48, "byteLength": 48 },
                   { "buffer": 0, "byteOffset": 96, "byteLength": 32 },
                   { "buffer": 0, "byteOffset": 128, "byteLength": 12 } ],
  "accessors": [ { "bufferView": 0, "componentType": 5126, "count": 4, "type": "VEC3",
                   "min": [ 0, 0, 0 ], "max": [ 1, 1, 0 ] },
                 { "bufferView": 1, "componentType": 5126, "count": 4, "type": "VEC3" },
                 { "bufferView": 2, "componentType": 5126, "count": 4, "type": "VEC2" },
                 { "bufferView": 3, "componentType": 5123, "count": 6, "type": "SCALAR" } ]
})";
        EXPECT_EQ(buffer.size(), 144u);
        return dir.write("model.gltf", json);
    }

    testsupport::TempDir dir;
};

} // namespace

TEST_F(MrvobjTest, CommandLineErrors)
{
    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({ "convert", "a.obj" }).status, 2);
    EXPECT_EQ(run({ "convert", "a.obj", "b.o3d" }).status, 2);
    EXPECT_EQ(run({ "dump" }).status, 2);
    const Result wrong = run({ "explode", "x" });
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.err, MrvobjCommand::usage());

    const Result missing = run({ "convert", dir.path() + "none.obj", "-o", dir.path() + "x.o3d" });
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err.find("mrvobj: cannot read '" + dir.path() + "none.obj'"), 0u) << missing.err;

    const Result notFound = run({ "dump", dir.path() + "none.o3d" });
    EXPECT_EQ(notFound.status, 1);
    EXPECT_EQ(notFound.err, "mrvobj: Object '" + dir.path() + "none.o3d' not found\n");

    const std::string broken = dir.write("broken.o3d", std::string("\x02\x00\x00\x00", 4));
    const Result corrupt = run({ "dump", broken });
    EXPECT_EQ(corrupt.status, 1);
    EXPECT_EQ(corrupt.out, "");
    EXPECT_EQ(corrupt.err, "mrvobj: Object '" + broken + "' is corrupt: mesh 0: the file ends inside the name\n");
}

TEST_F(MrvobjTest, ObjWithMaterialsBecomesNamedTriangleMeshes)
{
    dir.write("boat.mtl", "newmtl red\nKd 1 0 0\nnewmtl wood\nKd 0.5 0.25 0.125\nmap_Kd textures\\deck.png\n");
    const std::string model = dir.write("boat.obj", "mtllib boat.mtl\n"
                                                    "o Hull\n"
                                                    "v 0 0 0\nv 2 0 0\nv 2 1 0\nv 0 1 0\n"
                                                    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
                                                    "usemtl wood\n"
                                                    "f 1/1 2/2 3/3 4/4\n"
                                                    "o Sail\n"
                                                    "v 0 0 1\nv 1 0 1\nv 0 3 1\n"
                                                    "usemtl red\n"
                                                    "f 5 6 7\n"
                                                    "usemtl wood\n"
                                                    "f 7 6 5\n");
    const MRVObjectFile file = convertAndRead(model);
    ASSERT_EQ(file.meshes.size(), 3u);
    EXPECT_EQ(file.meshes[0].name, "Hull");
    EXPECT_EQ(file.meshes[1].name, "Sail");
    EXPECT_EQ(file.meshes[2].name, "Sail.1");

    const MRVObjectFile::Mesh& hull = file.meshes[0];
    EXPECT_EQ(hull.triangleCount, 2);
    EXPECT_EQ(hull.vertexCount, 4);
    EXPECT_EQ(hull.positionSize, 3);
    EXPECT_EQ(hull.normalSize, 3);
    EXPECT_EQ(hull.texCoordSize, 2);
    EXPECT_EQ(hull.bboxMin, (Vector<float, 3>(0, 0, 0)));
    EXPECT_EQ(hull.bboxMax, (Vector<float, 3>(2, 1, 0)));
    ASSERT_TRUE(hull.hasMaterial());
    EXPECT_EQ(hull.material.colour2, (Vector<float, 3>(0.5f, 0.25f, 0.125f)));
    ASSERT_TRUE(hull.material.hasDiffuseTexture());
    EXPECT_EQ(hull.material.diffuseTexture, "deck.png");
    EXPECT_FALSE(hull.material.hasNormalTexture());
    // Generated normals of the flat quad face +z.
    EXPECT_NEAR(std::fabs(hull.vertices[5]), 1.0f, 1e-5);

    const MRVObjectFile::Mesh& sail = file.meshes[1];
    EXPECT_EQ(sail.triangleCount, 1);
    EXPECT_EQ(sail.texCoordSize, 0);
    EXPECT_EQ(sail.material.colour2, (Vector<float, 3>(1, 0, 0)));
    EXPECT_FALSE(sail.material.hasDiffuseTexture());
    EXPECT_EQ(sail.bboxMax, (Vector<float, 3>(1, 3, 1)));
}

TEST_F(MrvobjTest, GltfNodesKeepTheirNamesAndPlacement)
{
    const MRVObjectFile file = convertAndRead(writeGltf());
    ASSERT_EQ(file.meshes.size(), 3u);

    const MRVObjectFile::Mesh* panel = find(file, "Panel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->translation, (Vector<float, 3>(1, 2, 3)));
    // Positions in scene space, so the box is moved too.
    EXPECT_EQ(panel->bboxMin, (Vector<float, 3>(1, 2, 3)));
    EXPECT_EQ(panel->bboxMax, (Vector<float, 3>(2, 3, 3)));
    EXPECT_EQ(panel->vertexCount, 4);
    EXPECT_EQ(panel->triangleCount, 2);
    ASSERT_EQ(panel->floatsPerVertex(), 8);
    EXPECT_EQ(std::vector<float>(panel->vertices.begin() + 3, panel->vertices.begin() + 6),
              (std::vector<float>{ 0, 0, 1 }));
    EXPECT_EQ(panel->material.colour2, (Vector<float, 3>(0.25f, 0.5f, 1)));
    EXPECT_EQ(panel->material.diffuseTexture, "wood.png");

    // The unnamed node's primitives are named after their mesh.
    EXPECT_EQ(file.meshes[1].name.compare(0, 5, "Thing"), 0) << file.meshes[1].name;
    EXPECT_EQ(file.meshes[2].name.compare(0, 5, "Thing"), 0) << file.meshes[2].name;
    EXPECT_NE(file.meshes[1].name, file.meshes[2].name);
    EXPECT_EQ(file.meshes[1].texCoordSize, 0);
}

TEST_F(MrvobjTest, DumpListsEveryMesh)
{
    MRVObjectFile file;
    MRVObjectFile::Mesh mesh;
    mesh.name = "deck";
    mesh.materialCount = 1;
    mesh.material.colour2 = Vector<float, 3>(0.5f, 1, 0);
    mesh.material.diffuseTextureFlag = 1;
    mesh.material.diffuseTexture = "deck.png";
    mesh.translation = Vector<float, 3>(1, -2, 3.5f);
    mesh.bboxMin = Vector<float, 3>(-1, -1, 0);
    mesh.bboxMax = Vector<float, 3>(1, 1, 0.25f);
    mesh.vertexCount = 3;
    mesh.positionSize = 3;
    mesh.normalSize = 3;
    mesh.texCoordSize = 2;
    mesh.vertices.assign(24, 0.0f);
    mesh.triangleCount = 1;
    mesh.indices = { 0, 1, 2 };
    file.meshes.push_back(mesh);
    MRVObjectFile::Mesh bare;
    bare.name = "bare";
    file.meshes.push_back(bare);

    std::string error;
    const std::string path = dir.path() + "ship.o3d";
    ASSERT_TRUE(MRVSceneWriter::writeFile(file, path, error)) << error;
    const Result result = run({ "dump", path });
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "'" + path + "': 2 meshes\n"
                          "mesh 0 'deck'\n"
                          "  colour       0.5 1 0\n"
                          "  diffuse map  'deck.png'\n"
                          "  normal map   -\n"
                          "  translation  1 -2 3.5\n"
                          "  box          -1 -1 0 to 1 1 0.25\n"
                          "  vertices     3 (position 3, normal 3, texcoord 2)\n"
                          "  triangles    1\n"
                          "mesh 1 'bare'\n"
                          "  material     none\n"
                          "  translation  0 0 0\n"
                          "  box          0 0 0 to 0 0 0\n"
                          "  vertices     0 (position 3, normal 0, texcoord 0)\n"
                          "  triangles    0\n");
}

TEST_F(MrvobjTest, ConvertReportsAndReplacesTheOutput)
{
    const std::string model = dir.write("tri.obj", "o Tri\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    const std::string output = dir.write("tri.o3d", "an older file");
    const Result result = run({ "convert", "-o", output, model });
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "mrvobj: wrote 1 mesh to '" + output + "'\n");
    MRVObjectFile file;
    std::string error;
    ASSERT_TRUE(MRVSceneReader::readFile(output, file, error)) << error;
    ASSERT_EQ(file.meshes.size(), 1u);
    EXPECT_EQ(file.meshes[0].name, "Tri");
}
