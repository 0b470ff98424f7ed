#include "demosys/scene/MRVObjectFile.h"
#include "demosys/scene/MRVScene.h"
#include "demosys/scene/MRVSceneLoader.h"
#include "demosys/scene/MRVSceneReader.h"
#include "demosys/scene/MRVSceneWriter.h"
#include "demosys/script/Parameters.h"
#include "demosys/runtime/MRVDemosys.h"

#include "tests/support/RegistryGuard.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

// Object file bytes written field by field, independently of the writer.
class Bytes
{
public:
    Bytes& i32(int32_t v)
    {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        for (int k = 0; k < 4; ++k)
            data.push_back(static_cast<char>((u >> (8 * k)) & 0xff));
        return *this;
    }
    Bytes& f32(float f)
    {
        int32_t bits;
        std::memcpy(&bits, &f, 4);
        return i32(bits);
    }
    Bytes& f32s(std::initializer_list<float> values)
    {
        for (float f : values)
            f32(f);
        return *this;
    }
    Bytes& i8(int v)
    {
        data.push_back(static_cast<char>(static_cast<int8_t>(v)));
        return *this;
    }
    Bytes& str(const std::string& s)
    {
        data += s;
        data.push_back('\0');
        return *this;
    }
    // Translation and box, all zero.
    Bytes& placement() { return f32s({ 0, 0, 0, 0, 0, 0, 0, 0, 0 }); }
    // vertexCount, the three sizes and that many vertex floats (all 0.5).
    Bytes& vertices(int count, int p, int n, int t)
    {
        i32(count).i8(p).i8(n).i8(t);
        for (int i = 0; i < count * (p + n + t); ++i)
            f32(0.5f);
        return *this;
    }
    Bytes& triangles(std::initializer_list<int> indices)
    {
        i32(static_cast<int32_t>(indices.size() / 3));
        for (int index : indices)
            i32(index);
        return *this;
    }

    std::string data;
};

// One mesh with a material, both textures and a 3/3/2 triangle.
Bytes texturedTriangle(const std::string& name)
{
    Bytes b;
    b.str(name).i32(1);
    b.f32s({ 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f });
    b.i32(1).str("tex.png").i32(1).str("bump.png");
    b.f32s({ 1, 2, 3, -1, -1, -1, 1, 1, 1 });
    b.vertices(3, 3, 3, 2).triangles({ 0, 1, 2 });
    return b;
}

MRVObjectFile::Mesh texturedTriangleMesh(const std::string& name)
{
    MRVObjectFile::Mesh mesh;
    mesh.name = name;
    mesh.materialCount = 1;
    mesh.material.colour1 = Vector<float, 3>(0.1f, 0.2f, 0.3f);
    mesh.material.colour2 = Vector<float, 3>(0.4f, 0.5f, 0.6f);
    mesh.material.colour3 = Vector<float, 3>(0.7f, 0.8f, 0.9f);
    mesh.material.diffuseTextureFlag = 1;
    mesh.material.diffuseTexture = "tex.png";
    mesh.material.normalTextureFlag = 1;
    mesh.material.normalTexture = "bump.png";
    mesh.translation = Vector<float, 3>(1, 2, 3);
    mesh.bboxMin = Vector<float, 3>(-1, -1, -1);
    mesh.bboxMax = Vector<float, 3>(1, 1, 1);
    mesh.vertexCount = 3;
    mesh.positionSize = 3;
    mesh.normalSize = 3;
    mesh.texCoordSize = 2;
    mesh.vertices.assign(24, 0.5f);
    mesh.triangleCount = 1;
    mesh.indices = { 0, 1, 2 };
    return mesh;
}

class ObjectFileTest : public ::testing::Test
{
protected:
    // Puts back the registry members the test sets, however it ends.
    testsupport::RegistryGuard registry;

    void SetUp() override { MRVDemosys::parameters = &parameters; }

    std::string path(const std::string& name) const { return dir.path() + name; }

    // The reader's verdict on the bytes: "" when they read, else the message.
    std::string readError(const std::string& bytes, MRVObjectFile* out = nullptr)
    {
        const std::string file = dir.write("probe.o3d", bytes);
        MRVObjectFile objects;
        std::string error;
        const bool ok = MRVSceneReader::readFile(file, objects, error);
        EXPECT_EQ(ok, error.empty());
        if (out)
            *out = objects;
        return error;
    }

    // The same bytes through the scene loader, which uploads what it reads.
    std::string loadError(const std::string& bytes)
    {
        const std::string file = dir.write("probe.o3d", bytes);
        StdoutCapture quiet;
        MRVSceneLoader loader(file);
        std::unique_ptr<MRVScene> scene(loader.loadScene());
        EXPECT_EQ(scene != nullptr, loader.isValid());
        return loader.isValid() ? "" : loader.getErrorMessage();
    }

    std::string corrupt(const std::string& what) const
    {
        return "Object '" + path("probe.o3d") + "' is corrupt: " + what;
    }

    testsupport::TempDir dir;
    Parameters parameters;
};

} // namespace

TEST_F(ObjectFileTest, WriterProducesTheDocumentedBytes)
{
    Bytes expected;
    expected.i32(2);
    expected.data += texturedTriangle("hull").data;
    // A mesh without material and with an empty name.
    expected.str("").i32(0).placement().vertices(0, 2, 0, 0).triangles({});

    MRVObjectFile file;
    file.meshes.push_back(texturedTriangleMesh("hull"));
    MRVObjectFile::Mesh bare;
    bare.positionSize = 2;
    file.meshes.push_back(bare);

    std::vector<unsigned char> bytes;
    std::string error;
    ASSERT_TRUE(MRVSceneWriter::encode(file, bytes, error)) << error;
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected.data);
}

TEST_F(ObjectFileTest, WrittenFilesReadBack)
{
    MRVObjectFile file;
    file.meshes.push_back(texturedTriangleMesh("hull"));
    MRVObjectFile::Mesh flagged = texturedTriangleMesh("odd flags");
    flagged.materialCount = 7;
    flagged.material.diffuseTextureFlag = 2;
    flagged.material.normalTextureFlag = 0;
    flagged.vertices = { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24 };
    flagged.indices = { 2, 0, 1 };
    file.meshes.push_back(flagged);

    std::string error;
    ASSERT_TRUE(MRVSceneWriter::writeFile(file, path("round.o3d"), error)) << error;
    MRVObjectFile back;
    ASSERT_TRUE(MRVSceneReader::readFile(path("round.o3d"), back, error)) << error;
    ASSERT_EQ(back.meshes.size(), 2u);

    const MRVObjectFile::Mesh& hull = back.meshes[0];
    EXPECT_EQ(hull.name, "hull");
    EXPECT_EQ(hull.material.colour2, (Vector<float, 3>(0.4f, 0.5f, 0.6f)));
    EXPECT_EQ(hull.material.diffuseTexture, "tex.png");
    EXPECT_EQ(hull.material.normalTexture, "bump.png");
    EXPECT_EQ(hull.translation, (Vector<float, 3>(1, 2, 3)));
    EXPECT_EQ(hull.bboxMin, (Vector<float, 3>(-1, -1, -1)));

    const MRVObjectFile::Mesh& odd = back.meshes[1];
    EXPECT_EQ(odd.materialCount, 7);
    EXPECT_FALSE(odd.material.hasDiffuseTexture());
    EXPECT_EQ(odd.material.diffuseTexture, "");
    EXPECT_EQ(odd.vertices, flagged.vertices);
    EXPECT_EQ(odd.indices, flagged.indices);
    EXPECT_EQ(odd.texCoordSize, 2);
}

TEST_F(ObjectFileTest, WriterRefusesWhatWouldNotLoad)
{
    const auto refused = [](MRVObjectFile::Mesh mesh) {
        MRVObjectFile file;
        file.meshes.push_back(mesh);
        std::vector<unsigned char> bytes;
        std::string error;
        const bool ok = MRVSceneWriter::encode(file, bytes, error);
        return ok ? std::string() : error;
    };
    MRVObjectFile::Mesh mesh = texturedTriangleMesh("m");
    EXPECT_EQ(refused(mesh), "");

    MRVObjectFile::Mesh shortVertices = mesh;
    shortVertices.vertices.pop_back();
    EXPECT_EQ(refused(shortVertices), "mesh 0 'm': 23 vertex floats for 3 vertices of 8 floats");
    MRVObjectFile::Mesh outside = mesh;
    outside.indices = { 0, 1, 3 };
    EXPECT_EQ(refused(outside), "mesh 0 'm': triangle 0 uses vertex 3 of 3 vertices");
    MRVObjectFile::Mesh sizes = mesh;
    sizes.normalSize = 2;
    EXPECT_EQ(refused(sizes), "mesh 0 'm': normal size 2 is not 0 or 3");
    MRVObjectFile::Mesh zero = mesh;
    zero.name = std::string("a\0b", 3);
    EXPECT_NE(refused(zero), "");
    MRVObjectFile::Mesh zeroTexture = mesh;
    zeroTexture.material.diffuseTexture = std::string("x\0y", 3);
    EXPECT_NE(refused(zeroTexture), "");
    MRVObjectFile::Mesh counts = mesh;
    counts.triangleCount = 2;
    EXPECT_EQ(refused(counts), "mesh 0 'm': 3 indices for 2 triangles");

    // A refused write leaves the file that was there.
    const std::string target = dir.write("keep.o3d", "old bytes");
    MRVObjectFile file;
    file.meshes.push_back(outside);
    std::string error;
    EXPECT_FALSE(MRVSceneWriter::writeFile(file, target, error));
    std::ifstream in(target, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), "old bytes");
    EXPECT_FALSE(MRVSceneWriter::writeFile(MRVObjectFile(), dir.path() + "no/such/dir/x.o3d", error));
}

TEST_F(ObjectFileTest, EveryTruncationFailsCleanly)
{
    Bytes file;
    file.i32(2);
    file.data += texturedTriangle("first").data;
    file.data += texturedTriangle("second").data;
    ASSERT_EQ(readError(file.data), "");
    ASSERT_EQ(loadError(file.data), "");

    const std::string prefix = corrupt("");
    for (size_t length = 0; length < file.data.size(); ++length)
    {
        const std::string cut = file.data.substr(0, length);
        const std::string read = readError(cut);
        EXPECT_EQ(read.compare(0, prefix.size(), prefix), 0) << "length " << length << ": " << read;
        EXPECT_NE(read.find("the file ends"), std::string::npos) << "length " << length << ": " << read;
        EXPECT_EQ(loadError(cut), read) << "length " << length;
    }
    EXPECT_EQ(readError(""), corrupt("the file ends before the mesh count"));
    EXPECT_EQ(readError(file.data.substr(0, 7)), corrupt("mesh 0: the file ends inside the name"));
    // Cut inside the second mesh's index list.
    EXPECT_EQ(readError(file.data.substr(0, file.data.size() - 2)),
              corrupt("mesh 1 'second': the file ends inside the indices (12 bytes needed, 10 left)"));
}

TEST_F(ObjectFileTest, NegativeCountsAreCorrupt)
{
    EXPECT_EQ(readError(Bytes().i32(-1).data), corrupt("negative mesh count -1"));

    Bytes vertices;
    vertices.i32(1).str("v").i32(0).placement().i32(-3).i8(3).i8(0).i8(0).triangles({});
    EXPECT_EQ(readError(vertices.data), corrupt("mesh 0 'v': negative vertex count -3"));

    Bytes triangles;
    triangles.i32(1).str("t").i32(0).placement().vertices(3, 3, 0, 0).i32(-5);
    EXPECT_EQ(readError(triangles.data), corrupt("mesh 0 't': negative triangle count -5"));
    EXPECT_EQ(loadError(triangles.data), corrupt("mesh 0 't': negative triangle count -5"));
}

TEST_F(ObjectFileTest, ComponentSizesOutsideTheRangesAreCorrupt)
{
    struct Case
    {
        int p, n, t;
        const char* message;
    };
    const Case cases[] = {
        { 1, 0, 0, "position size 1 is not 2, 3 or 4" },
        { 5, 0, 0, "position size 5 is not 2, 3 or 4" },
        { -1, 0, 0, "position size -1 is not 2, 3 or 4" },
        { 3, 2, 0, "normal size 2 is not 0 or 3" },
        { 3, 4, 0, "normal size 4 is not 0 or 3" },
        { 3, 3, 5, "texture coordinate size 5 is not 0 to 4" },
        { 3, 0, -128, "texture coordinate size -128 is not 0 to 4" },
    };
    for (const Case& c : cases)
    {
        Bytes b;
        b.i32(1).str("s").i32(0).placement().i32(1).i8(c.p).i8(c.n).i8(c.t);
        b.data += std::string(64, '\0');
        EXPECT_EQ(readError(b.data), corrupt(std::string("mesh 0 's': ") + c.message));
    }
    // The allowed extremes load.
    for (int p : { 2, 4 })
        for (int t : { 0, 1, 4 })
        {
            Bytes b;
            b.i32(1).str("s").i32(0).placement().vertices(3, p, 3, t).triangles({ 0, 1, 2 });
            EXPECT_EQ(loadError(b.data), "") << p << " " << t;
        }
}

TEST_F(ObjectFileTest, IndicesOutsideTheMeshAreCorrupt)
{
    const auto mesh = [](std::initializer_list<int> indices) {
        Bytes b;
        b.i32(1).str("i").i32(0).placement().vertices(4, 3, 0, 0).triangles(indices);
        return b.data;
    };
    EXPECT_EQ(readError(mesh({ 0, 1, 2, 1, 2, 3 })), "");
    EXPECT_EQ(readError(mesh({ 0, 1, 2, 1, 4, 3 })), corrupt("mesh 0 'i': triangle 1 uses vertex 4 of 4 vertices"));
    EXPECT_EQ(readError(mesh({ -1, 1, 2 })), corrupt("mesh 0 'i': triangle 0 uses vertex -1 of 4 vertices"));
    EXPECT_EQ(loadError(mesh({ 0, 1, 2, 1, 2, 0x7fffffff })),
              corrupt("mesh 0 'i': triangle 1 uses vertex 2147483647 of 4 vertices"));

    Bytes empty;
    empty.i32(1).str("e").i32(0).placement().vertices(0, 3, 0, 0).triangles({ 0, 0, 0 });
    EXPECT_EQ(readError(empty.data), corrupt("mesh 0 'e': triangle 0 uses vertex 0 of 0 vertices"));
}

TEST_F(ObjectFileTest, HugeCountsFailBeforeAllocating)
{
    Bytes vertices;
    vertices.i32(1).str("big").i32(0).placement().i32(0x7fffffff).i8(4).i8(3).i8(4).f32s({ 1, 2, 3 });
    EXPECT_EQ(readError(vertices.data),
              corrupt("mesh 0 'big': the file ends inside the vertices (94489280468 bytes needed, 12 left)"));

    Bytes triangles;
    triangles.i32(1).str("big").i32(0).placement().vertices(3, 3, 0, 0).i32(0x40000000);
    EXPECT_EQ(readError(triangles.data),
              corrupt("mesh 0 'big': the file ends inside the indices (12884901888 bytes needed, 0 left)"));

    // A mesh count far beyond the file ends at the first missing mesh.
    Bytes many;
    many.i32(0x7fffffff);
    many.data += texturedTriangle("only").data;
    EXPECT_EQ(loadError(many.data), corrupt("mesh 1: the file ends inside the name"));
}

TEST_F(ObjectFileTest, NamesAndTrailingBytes)
{
    Bytes b;
    b.i32(1).str("").i32(0).placement().vertices(0, 3, 0, 0).triangles({});
    b.data += "trailing bytes are not read";
    MRVObjectFile file;
    EXPECT_EQ(readError(b.data, &file), "");
    ASSERT_EQ(file.meshes.size(), 1u);
    EXPECT_EQ(file.meshes[0].name, "Object");
}
