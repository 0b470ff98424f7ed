#include "demosys/scene/MRVObjectFile.h"
#include "demosys/scene/MRVSceneReader.h"
#include "demosys/scene/MRVSceneWriter.h"
#include "tools/mrvobj/MrvobjCommand.h"
#include "tests/support/TempDir.h"

#include "mrvutils/Image.h"
#include "tests/production/program/SceneProduction.h"
#include "tests/support/ScriptFixtures.h"
#include "tests/support/TempDir.h"

#include <stb_image_write.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
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
        const Result result = run({ "convert", model, "-o", output, "--pictures", dir.path() + "written" });
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
    EXPECT_EQ(run({ "convert", "a.obj", "-o", "b.o3d", "--pictures" }).status, 2);
    EXPECT_EQ(run({ "convert", "a.obj", "-o", "b.o3d", "-o", "c.o3d" }).status, 2);
    EXPECT_EQ(run({ "convert", "a.obj", "c.obj", "-o", "b.o3d" }).status, 2);
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
    dir.write("boat.mtl", "newmtl red\nKd 1 0 0\nnorm other/Deck.png\n"
                          "newmtl wood\nKd 0.5 0.25 0.125\nmap_Kd textures\\deck.png\n");
    const std::vector<unsigned char> deck =
        pngtest::encodePng(pngtest::makePicture(2, 1, pngtest::ColorType::RGBA, { 1, 2, 3, 4, 5, 6, 7, 8 }));
    dir.write("textures/deck.png", std::string(deck.begin(), deck.end()));
    dir.write("other/Deck.png", std::string(deck.begin(), deck.end()));
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
    EXPECT_EQ(hull.material.diffuseTexture, "out_deck.png");
    Image written(dir.path() + "written/out_deck.png");
    ASSERT_TRUE(written.exists());
    EXPECT_EQ(written.getBpp(), 32) << "alpha is kept";
    EXPECT_FALSE(hull.material.hasNormalTexture());
    // Generated normals of the flat quad face +z.
    EXPECT_NEAR(std::fabs(hull.vertices[5]), 1.0f, 1e-5);

    const MRVObjectFile::Mesh& sail = file.meshes[1];
    EXPECT_EQ(sail.triangleCount, 1);
    EXPECT_EQ(sail.texCoordSize, 0);
    EXPECT_EQ(sail.material.colour2, (Vector<float, 3>(1, 0, 0)));
    EXPECT_FALSE(sail.material.hasDiffuseTexture());
    // Another file whose name differs only in case gets a name of its own.
    EXPECT_EQ(sail.material.normalTexture, "out_Deck_2.png");
    EXPECT_EQ(sail.bboxMax, (Vector<float, 3>(1, 3, 1)));
    // One picture for both meshes of the material.
    EXPECT_EQ(file.meshes[2].material.diffuseTexture, "out_deck.png");
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "written/out_deck_2.png"));
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
    // Its picture is missing: the material keeps its colour only.
    EXPECT_FALSE(panel->material.hasDiffuseTexture());

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

// Models as authors bring them, converted and then played: what mrvobj
// prints, the pictures it writes, and the pixel carpet built around the
// converted cube, whose faces show the picture's colour or, without a
// picture, the effect's own logo picture.
namespace {

using effecttest::Rgb;

// The picture the effect binds for its cube; a material's own replaces it.
constexpr Rgb LOGO = { 120, 120, 220 };

struct ModelCase
{
    const char* label;
    // Writes the model under model/ and returns its path there.
    std::function<std::string(class MrvobjProductionTest&)> write;
    bool picturesOption;   // --pictures gfx/ instead of the default folder
    int status;
    std::string out;       // <OBJECT>, <DIR>: the object file, the pictures folder
    std::string err;       // <MODEL>: the model's path
    std::vector<std::pair<std::string, Rgb>> pictures;
    Rgb core;              // what the cube shows; {} when nothing is played
};

class MrvobjProductionTest : public effecttest::SceneProduction
{
public:
    std::string put(const std::string& name, const std::string& bytes) const
    {
        const std::string path = dir + "/model/" + name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        effecttest::writeText(path, bytes);
        return path;
    }

    static std::string png(const Rgb& colour)
    {
        std::vector<unsigned> samples;
        for (int i = 0; i < 8 * 8; ++i)
            samples.insert(samples.end(), { unsigned(colour[0]), unsigned(colour[1]), unsigned(colour[2]) });
        const std::vector<unsigned char> bytes =
            pngtest::encodePng(pngtest::makePicture(8, 8, pngtest::ColorType::RGB, samples));
        return std::string(bytes.begin(), bytes.end());
    }

    static std::string jpeg(const Rgb& colour)
    {
        std::vector<unsigned char> pixels;
        for (int i = 0; i < 8 * 8; ++i)
            pixels.insert(pixels.end(), { uint8_t(colour[0]), uint8_t(colour[1]), uint8_t(colour[2]) });
        std::string bytes;
        stbi_write_jpg_to_func(
            [](void* context, void* data, int size) {
                static_cast<std::string*>(context)->append(static_cast<const char*>(data), size);
            },
            &bytes, 8, 8, 3, pixels.data(), 95);
        return bytes;
    }

    // A cube from -0.5 to 0.5 as OBJ with one material naming `picture`.
    std::string objCube(const std::string& picture)
    {
        put("room.mtl", "newmtl wall\nKd 0.5 0.5 0.5\nmap_Kd " + picture + "\n");
        std::string obj = "mtllib room.mtl\no Room\n";
        for (int i = 0; i < 8; ++i)
            obj += "v " + std::to_string((i & 1) - 0.5) + " " + std::to_string(((i >> 1) & 1) - 0.5) + " " +
                   std::to_string(((i >> 2) & 1) - 0.5) + "\n";
        obj += "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nusemtl wall\n";
        for (const auto& face : FACES)
            obj += "f " + std::to_string(face[0] + 1) + "/1 " + std::to_string(face[1] + 1) + "/2 " +
                   std::to_string(face[2] + 1) + "/3 " + std::to_string(face[3] + 1) + "/4\n";
        return put("room.obj", obj);
    }

    // The same cube as glTF 2.0, its picture a PNG inside the buffer.
    std::string gltfCube(const std::string& picture)
    {
        std::vector<float> floats;
        for (int i = 0; i < 8; ++i)
            floats.insert(floats.end(), { (i & 1) - 0.5f, ((i >> 1) & 1) - 0.5f, ((i >> 2) & 1) - 0.5f });
        for (int i = 0; i < 8; ++i)
            floats.insert(floats.end(), { float(i & 1), float((i >> 1) & 1) });
        std::vector<uint16_t> indices;
        for (const auto& face : FACES)
            indices.insert(indices.end(), { uint16_t(face[0]), uint16_t(face[1]), uint16_t(face[2]),
                                            uint16_t(face[0]), uint16_t(face[2]), uint16_t(face[3]) });
        std::string buffer = littleEndian(floats, indices) + picture;
        while (buffer.size() % 4)
            buffer.push_back('\0');
        put("room.bin", buffer);
        const std::string json = R"({
  "asset": { "version": "2.0" }, "scene": 0, "scenes": [ { "nodes": [ 0 ] } ],
  "nodes": [ { "name": "Room", "mesh": 0 } ],
  "meshes": [ { "primitives": [ { "attributes": { "POSITION": 0, "TEXCOORD_0": 1 }, "indices": 2,
                                  "material": 0 } ] } ],
  "materials": [ { "name": "wall", "pbrMetallicRoughness": { "baseColorTexture": { "index": 0 } } } ],
  "textures": [ { "source": 0 } ],
  "images": [ { "bufferView": 3, "mimeType": "image/png" } ],
  "buffers": [ { "uri": "room.bin", "byteLength": )" + std::to_string(buffer.size()) + R"( } ],
  "bufferViews": [ { "buffer": 0, "byteOffset": 0, "byteLength": 96 },
                   { "buffer": 0, "byteOffset": 96, "byteLength": 64 },
                   { "buffer": 0, "byteOffset": 160, "byteLength": 72 },
                   { "buffer": 0, "byteOffset": 232, "byteLength": )" + std::to_string(picture.size()) + R"( } ],
  "accessors": [ { "bufferView": 0, "componentType": 5126, "count": 8, "type": "VEC3",
                   "min": [ -0.5, -0.5, -0.5 ], "max": [ 0.5, 0.5, 0.5 ] },
                 { "bufferView": 1, "componentType": 5126, "count": 8, "type": "VEC2" },
                 { "bufferView": 2, "componentType": 5123, "count": 36, "type": "SCALAR" } ]
})";
        return put("room.gltf", json);
    }

    // The pixel carpet with the converted cube at its core: the share of
    // the first frame's pixels within 6 of `colour`.
    double coreShare(const std::string& object, const Rgb& colour)
    {
        blocks = "shaders { vmeters = vmeters; }\n"
                 "objects { box = " + object + "; }\n"
                 "graphics { logo = logo.png; pattern = pattern.png; star = star.png; }\n"
                 "animation { pixelcarpetanim = near.ani; pixelcarpet2anim = far.ani; }\n"
                 "carpet * PixelCarpetEffect { cube = objects[box]; mrvlogo = graphics[logo]; "
                 "vmeters = shaders[vmeters]; particletex = graphics[pattern]; particlelight = graphics[star]; }\n";
        timeline = "object carpet\non 0 1000\n";
        last = playMusic(1);
        if (!clean(last))
            return -1.0;
        const auto shot = frame(0);
        int n = 0;
        for (int y = 0; y < shot->height(); ++y)
            for (int x = 0; x < shot->width(); ++x)
                n += effecttest::near(shot->at(x, y), colour, 6);
        return double(n) / (shot->width() * shot->height());
    }

    void SetUp() override
    {
        SceneProduction::SetUp();
        // The default pictures folder of objects/ is graphics/; the scripts
        // of these productions read their pictures from gfx/.
        std::filesystem::remove(dir + "/gfx");
        std::filesystem::create_directory(dir + "/graphics");
        std::filesystem::create_directory(dir + "/objects");
        std::filesystem::create_directory_symlink("graphics", dir + "/gfx");
        music(1.0, toneFrom(0.0, 5, 0.0));
        path("near.ani", 0.0f, 0.0f, 0.0f);
        path("far.ani", 0.0f, 0.0f, 300.0f);
        plain("logo.png", LOGO);
        plain("pattern.png", { 255, 255, 255 });
        plain("star.png", { 255, 255, 255 });
    }
    static constexpr int FACES[6][4] = { { 0, 2, 6, 4 }, { 1, 5, 7, 3 }, { 0, 4, 5, 1 },
                                         { 2, 3, 7, 6 }, { 0, 1, 3, 2 }, { 4, 6, 7, 5 } };
    ProgramRun last;
};

constexpr int MrvobjProductionTest::FACES[6][4];

} // namespace

TEST_F(MrvobjProductionTest, ModelsBringTheirPicturesAlongOrFailClearly)
{
    const Rgb brick = { 200, 40, 120 }, moss = { 30, 180, 90 }, sand = { 250, 200, 20 };
    const std::string lie = "OFF\n353000000000 1 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n";
    const std::vector<ModelCase> cases = {
        { "a JPEG in a folder beside the model, named by the path of another machine",
          [&](MrvobjProductionTest& t) {
              t.put("textures/Wall.JPG", jpeg(brick));
              return t.objCube("C:\\Users\\artist\\textures\\wall.jpg");
          },
          false, 0,
          "mrvobj: wrote 'room_wall.png' (8x8 RGB) from 'C:\\Users\\artist\\textures\\wall.jpg'\n"
          "mrvobj: wrote 1 mesh to '<OBJECT>'\n"
          "mrvobj: pictures in '<DIR>'; for the demoscript's graphics block:\n"
          "    room_wall.png = room_wall.png;\n",
          "", { { "room_wall.png", brick } }, brick },
        { "a PNG embedded in the buffer of a glTF file",
          [&](MrvobjProductionTest& t) { return t.gltfCube(png(moss)); }, true, 0,
          "mrvobj: wrote 'room_texture0.png' (8x8 RGB) from '*0'\n"
          "mrvobj: wrote 1 mesh to '<OBJECT>'\n"
          "mrvobj: pictures in '<DIR>'; for the demoscript's graphics block:\n"
          "    room_texture0.png = room_texture0.png;\n",
          "", { { "room_texture0.png", moss } }, moss },
        { "a picture name of spaces, commas and signs the demoscript reads",
          [&](MrvobjProductionTest& t) {
              t.put("Procedural, num=0 {copy}.png", png(sand));
              return t.objCube("Procedural, num=0 {copy}.png");
          },
          false, 0,
          "mrvobj: wrote 'room_Procedural__num_0__copy_.png' (8x8 RGB) from 'Procedural, num=0 {copy}.png'\n"
          "mrvobj: wrote 1 mesh to '<OBJECT>'\n"
          "mrvobj: pictures in '<DIR>'; for the demoscript's graphics block:\n"
          "    room_Procedural__num_0__copy_.png = room_Procedural__num_0__copy_.png;\n",
          "", { { "room_Procedural__num_0__copy_.png", sand } }, sand },
        { "a picture that is nowhere",
          [&](MrvobjProductionTest& t) { return t.objCube("gone.png"); }, false, 0,
          "mrvobj: wrote 1 mesh to '<OBJECT>'\n",
          "mrvobj: material 'wall': picture 'gone.png' not found beside the model; the material keeps its colour\n",
          {}, LOGO },
        { "an OFF file whose header claims 353 billion vertices",
          [&](MrvobjProductionTest& t) { return t.put("lie.off", lie); }, false, 1, "",
          "mrvobj: cannot read '<MODEL>': reading it needs more than 1024 MiB of memory, more than a model of " +
              std::to_string(lie.size()) +
              " bytes (with the files beside it) needs; a count in the file is likely false\n",
          {}, {} },
    };

    for (const ModelCase& c : cases)
    {
        SCOPED_TRACE(c.label);
        std::filesystem::remove_all(dir + "/model");
        // The effect's own pictures stay.
        for (const auto& entry : std::filesystem::directory_iterator(dir + "/graphics"))
            if (entry.path().filename().string().compare(0, 5, "room_") == 0)
                std::filesystem::remove(entry.path());
        const std::string object = dir + "/objects/room.o3d";
        std::filesystem::remove(object);
        const std::string model = c.write(*this);
        const std::string folder = c.picturesOption ? dir + "/gfx" : dir + "/graphics";

        std::vector<std::string> args = { "convert", model, "-o", object };
        if (c.picturesOption)
            args.insert(args.end(), { "--pictures", folder });
        std::ostringstream out, err;
        EXPECT_EQ(MrvobjCommand::run(args, out, err), c.status) << err.str();
        auto fill = [&](std::string text) {
            for (const auto& [from, to] : { std::pair<std::string, std::string>{ "<OBJECT>", object },
                                            { "<DIR>", folder }, { "<MODEL>", model } })
                for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
                    text.replace(at, from.size(), to);
            return text;
        };
        EXPECT_EQ(out.str(), fill(c.out));
        EXPECT_EQ(err.str(), fill(c.err));

        std::vector<std::string> written;
        for (const auto& entry : std::filesystem::directory_iterator(dir + "/graphics"))
            if (entry.path().filename().string().compare(0, 5, "room_") == 0)
                written.push_back(entry.path().filename().string());
        std::sort(written.begin(), written.end());
        std::vector<std::string> expected;
        for (const auto& picture : c.pictures)
        {
            expected.push_back(picture.first);
            Image image(dir + "/graphics/" + picture.first);
            ASSERT_TRUE(image.exists()) << picture.first;
            EXPECT_EQ(image.getBpp(), 24);
            const unsigned char* p = image.getData();
            EXPECT_TRUE(effecttest::near({ p[0], p[1], p[2] }, picture.second, 3));
        }
        EXPECT_EQ(written, expected);

        if (c.status != 0)
        {
            EXPECT_FALSE(std::filesystem::exists(object));
            continue;
        }
        EXPECT_GT(coreShare("objects/room.o3d", c.core), 0.2) << last.out;
    }
}

// A file written by hand (or by an older mrvobj) with a comma in a picture
// name stops the production with a message naming the file and the mesh.
TEST_F(MrvobjProductionTest, ObjectLoaderNamesAPictureTheGraphicsBlockCannotTake)
{
    MRVObjectFile file;
    MRVObjectFile::Mesh mesh;
    mesh.name = "Room";
    mesh.materialCount = 1;
    mesh.material.diffuseTextureFlag = 1;
    mesh.material.diffuseTexture = "Procedural,num=0.png";
    file.meshes.push_back(mesh);
    std::string error;
    ASSERT_TRUE(MRVSceneWriter::writeFile(file, dir + "/raw.o3d", error)) << error;
    coreShare("raw.o3d", LOGO);
    EXPECT_NE(last.out.find("Object './raw.o3d': the material of mesh 0 'Room' names the picture "
                            "'Procedural,num=0.png', which the graphics block cannot load: a ',' starts texture "
                            "options there; rename the picture (mrvobj convert writes names without one)"),
              std::string::npos)
        << last.out;
    EXPECT_EQ(last.out.find("wrong texture parameter"), std::string::npos) << last.out;
}
