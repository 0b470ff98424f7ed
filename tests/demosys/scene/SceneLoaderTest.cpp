#include "demosys/data/Data.h"
#include "demosys/data/DataObjectPool.h"
#include "demosys/data/DataTexturePool.h"
#include "demosys/gl/Texture.h"
#include "demosys/gl/VBO.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/scene/MRVMaterial.h"
#include "demosys/scene/MRVNode.h"
#include "demosys/scene/MRVObject.h"
#include "demosys/scene/MRVObjectFile.h"
#include "demosys/scene/MRVScene.h"
#include "demosys/scene/MRVSceneLoader.h"
#include "demosys/scene/MRVSceneTree.h"
#include "demosys/scene/MRVSceneWriter.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"
#include "demosys/script/ResourceLoader.h"

#include "tests/support/GLTestContext.h"
#include "tests/support/PngWriter.h"
#include "tests/support/RegistryGuard.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A quad in the z = 0 plane from (x0, y0) to (x1, y1), each vertex with
// position, normal (0, 0, 1) and texture coordinate; two triangles.
MRVObjectFile::Mesh quad(const std::string& name, float x0, float y0, float x1, float y1)
{
    MRVObjectFile::Mesh mesh;
    mesh.name = name;
    mesh.positionSize = 3;
    mesh.normalSize = 3;
    mesh.texCoordSize = 2;
    mesh.vertexCount = 4;
    const float x[] = { x0, x1, x1, x0 }, y[] = { y0, y0, y1, y1 }, u[] = { 0, 1, 1, 0 }, v[] = { 0, 0, 1, 1 };
    for (int i = 0; i < 4; ++i)
        mesh.vertices.insert(mesh.vertices.end(), { x[i], y[i], 0, 0, 0, 1, u[i], v[i] });
    mesh.triangleCount = 2;
    mesh.indices = { 0, 1, 2, 0, 2, 3 };
    mesh.bboxMin = Vector<float, 3>(x0, y0, 0);
    mesh.bboxMax = Vector<float, 3>(x1, y1, 0);
    return mesh;
}

MRVObjectFile::Mesh withMaterial(MRVObjectFile::Mesh mesh, const Vector<float, 3>& colour,
                                 const std::string& diffuse = "", const std::string& normal = "")
{
    mesh.materialCount = 1;
    mesh.material.colour1 = Vector<float, 3>(9, 9, 9);
    mesh.material.colour2 = colour;
    mesh.material.colour3 = Vector<float, 3>(8, 8, 8);
    mesh.material.diffuseTextureFlag = diffuse.empty() ? 0 : 1;
    mesh.material.diffuseTexture = diffuse;
    mesh.material.normalTextureFlag = normal.empty() ? 0 : 1;
    mesh.material.normalTexture = normal;
    return mesh;
}

class SceneLoaderTest : public ::testing::Test
{
protected:
    // Puts back the registry members the test sets, however it ends.
    testsupport::RegistryGuard registry;

    void SetUp() override
    {
        MRVDemosys::parameters = &parameters;
        GLTestContext::takeGLError();
    }

    void TearDown() override
    {
        {
            StdoutCapture quiet;
            pool.reset();
        }
        EXPECT_EQ(GLTestContext::takeGLError(), 0u);
    }

    // An object pool deleted without its disposal lines at the end.
    DataObjectPool& quietPool()
    {
        pool.reset(new DataObjectPool());
        return *pool;
    }

    std::string write(const std::string& name, const MRVObjectFile& file)
    {
        std::string error;
        const std::string path = dir.path() + name;
        EXPECT_TRUE(MRVSceneWriter::writeFile(file, path, error)) << error;
        return path;
    }

    std::string write(const std::string& name, const std::vector<MRVObjectFile::Mesh>& meshes)
    {
        MRVObjectFile file;
        file.meshes = meshes;
        return write(name, file);
    }

    // Loads the file, keeping the scene on success; the log in `log`.
    MRVScene* load(const std::string& path, std::string* log = nullptr, std::string* error = nullptr)
    {
        StdoutCapture capture;
        MRVSceneLoader loader(path);
        MRVScene* scene = loader.loadScene();
        EXPECT_EQ(scene != nullptr, loader.isValid());
        if (log)
            *log = capture.take();
        if (error)
            *error = loader.getErrorMessage();
        if (scene)
            scenes.emplace_back(scene);
        return scene;
    }

    static MRVObject* objectAt(MRVScene* scene, int i)
    {
        MRVNode* child = scene->getTree()->getRoot()->getChild(i);
        return child ? child->getObject() : nullptr;
    }

    testsupport::TempDir dir;
    Parameters parameters;
    std::vector<std::unique_ptr<MRVScene>> scenes;
    std::unique_ptr<DataObjectPool> pool;
};

} // namespace

TEST_F(SceneLoaderTest, FileOfZeroMeshesIsAnEmptyScene)
{
    std::string log;
    MRVScene* scene = load(dir.write("empty.o3d", std::string(4, '\0')), &log);
    ASSERT_NE(scene, nullptr);
    ASSERT_NE(scene->getTree()->getRoot(), nullptr);
    EXPECT_EQ(scene->getTree()->getRoot()->countChildren(), 0);
    EXPECT_EQ(log, "Vertices total = 0\nPolygons total = 0\nFloats total = 0\nBytes total = 0\n");
    EXPECT_EQ(scene->getBBoxMin(), (Vector<float, 3>()));
    EXPECT_EQ(scene->getBBoxMax(), (Vector<float, 3>()));
}

TEST_F(SceneLoaderTest, MissingFileIsReported)
{
    std::string error;
    const std::string path = dir.path() + "nowhere.o3d";
    EXPECT_EQ(load(path, nullptr, &error), nullptr);
    EXPECT_EQ(error, "Object '" + path + "' not found");
}

TEST_F(SceneLoaderTest, MeshRecordsBecomeObjectsWithVertexBuffers)
{
    MRVObjectFile::Mesh first = quad("", 0, 0, 1, 1);
    first.translation = Vector<float, 3>(1, 2, 3);
    MRVObjectFile::Mesh second = quad("wing", -2, 0.5f, 0.5f, 3);
    second.positionSize = 2;
    second.normalSize = 0;
    second.texCoordSize = 0;
    second.vertices = { -2, 0.5f, 0.5f, 0.5f, 0.5f, 3, -2, 3 };
    second.triangleCount = 1;
    second.indices = { 0, 1, 2 };

    std::string log;
    MRVScene* scene = load(write("two.o3d", { first, second }), &log);
    ASSERT_NE(scene, nullptr);
    ASSERT_EQ(scene->getTree()->getRoot()->countChildren(), 2);

    MRVObject* object = objectAt(scene, 0);
    EXPECT_EQ(object->getName(), "Object");
    EXPECT_EQ(object->getMaterial(), nullptr);
    EXPECT_EQ(object->getTranslation(), (Vector<float, 3>(1, 2, 3)));
    EXPECT_EQ(object->getBBoxMax(), (Vector<float, 3>(1, 1, 0)));
    ASSERT_NE(object->getVBO(), nullptr);
    EXPECT_EQ(object->getVBO()->getStride(), 32);
    EXPECT_EQ(object->getVBO()->getTriangleCount(), 2);

    VBO* flat = objectAt(scene, 1)->getVBO();
    EXPECT_EQ(flat->getPositionSize(), 2);
    EXPECT_EQ(flat->getNormalSize(), 0);
    EXPECT_EQ(flat->getStride(), 8);
    EXPECT_EQ(flat->getTriangleCount(), 1);

    EXPECT_EQ(scene->getBBoxMin(), (Vector<float, 3>(-2, 0, 0)));
    EXPECT_EQ(scene->getBBoxMax(), (Vector<float, 3>(1, 3, 0)));
    EXPECT_EQ(log, "Vertices total = 8\nPolygons total = 3\nFloats total = 40\nBytes total = 196\n");
}

TEST_F(SceneLoaderTest, TotalsOfOneMesh)
{
    std::string log;
    ASSERT_NE(load(write("one.o3d", { quad("q", 0, 0, 1, 1) }), &log), nullptr);
    EXPECT_EQ(log, "Vertices total = 4\nPolygons total = 2\nFloats total = 32\nBytes total = 152\n");
}

TEST_F(SceneLoaderTest, MaterialBlocksAndTextureFlags)
{
    MRVObjectFile::Mesh three = withMaterial(quad("three", 0, 0, 1, 1), Vector<float, 3>(0.5f, 0.25f, 1), "hull.png",
                                             "hull_n.png");
    three.materialCount = 3;
    MRVObjectFile::Mesh flagTwo = withMaterial(quad("flagTwo", 0, 0, 1, 1), Vector<float, 3>(1, 1, 1));
    flagTwo.material.diffuseTextureFlag = 2;
    flagTwo.material.normalTextureFlag = -1;
    MRVObjectFile::Mesh none = quad("none", 0, 0, 1, 1);
    none.materialCount = -4;

    std::string log;
    MRVScene* scene = load(write("materials.o3d", { three, flagTwo, none }), &log);
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(log.find("Diffuse texture hull.png\nNormal texture hull_n.png\nVertices total = 12\n"), 0u) << log;

    const MRVMaterial* material = scene->getObjectByName("three")->getMaterial();
    ASSERT_NE(material, nullptr);
    EXPECT_EQ(material->getAmbient(), (Vector<float, 3>(0.5f, 0.25f, 1)));
    EXPECT_EQ(material->getDiffuse(), (Vector<float, 3>(0.5f, 0.25f, 1)));
    EXPECT_EQ(material->getSpecular(), (Vector<float, 3>(0.25f, 0.25f, 0.25f)));
    EXPECT_EQ(material->getDiffuseMap(), "hull.png");
    EXPECT_EQ(material->getNormalMap(), "hull_n.png");
    EXPECT_EQ(material->getDiffuseTexture(), nullptr);

    const MRVMaterial* noMaps = scene->getObjectByName("flagTwo")->getMaterial();
    ASSERT_NE(noMaps, nullptr);
    EXPECT_EQ(noMaps->getDiffuseMap(), "");
    EXPECT_EQ(noMaps->getNormalMap(), "");
    EXPECT_EQ(scene->getObjectByName("none")->getMaterial(), nullptr);

    // Only the diffuse picture is entered into the graphics block, created
    // for it since the script had none.
    const ParameterGroup* graphics = parameters.getGroup("graphics");
    ASSERT_NE(graphics, nullptr);
    EXPECT_EQ(graphics->size(), 1);
    EXPECT_EQ(graphics->getParameter("hull.png"), "hull.png");
}

TEST_F(SceneLoaderTest, TexturesJoinAnExistingGraphicsBlock)
{
    ParameterGroup* graphics = new ParameterGroup("graphics");
    graphics->addParameter("logo", "logo.png, GL_TEXTURE_2D");
    parameters.addGroup("graphics", graphics);
    ASSERT_NE(load(write("t.o3d", { withMaterial(quad("a", 0, 0, 1, 1), Vector<float, 3>(1, 1, 1), "deck.png") })),
              nullptr);
    EXPECT_EQ(parameters.getGroup("graphics"), graphics);
    EXPECT_EQ(graphics->getParameter("logo"), "logo.png, GL_TEXTURE_2D");
    EXPECT_EQ(graphics->getParameter("deck.png"), "deck.png");
}

TEST_F(SceneLoaderTest, LookupByNameInFileOrder)
{
    MRVScene* scene = load(write("names.o3d", { quad("hull", 0, 0, 1, 1), quad("mast", 0, 0, 1, 1),
                                                quad("sail", 0, 0, 1, 1), quad("mast", 0, 0, 2, 2) }));
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(scene->getObjectByName("sail"), objectAt(scene, 2));
    EXPECT_EQ(scene->getObjectByName("mast"), objectAt(scene, 1));
    EXPECT_EQ(scene->getObjectByName("keel"), nullptr);
}

TEST_F(SceneLoaderTest, ObjectsStageFillsThePoolInNameOrder)
{
    write("ship.o3d", { quad("hull", 0, 0, 1, 1) });
    write("rock.o3d", { quad("stone", 0, 0, 1, 1) });
    ParameterGroup objects("objects");
    objects.addParameter("ship", "ship.o3d,fast");
    objects.addParameter("boulder", "rock.o3d");

    DataObjectPool& pool = quietPool();
    std::string error;
    int advanced = 0;
    StdoutCapture capture;
    EXPECT_TRUE(MRVSceneLoader::loadObjectsStage(objects, dir.path(), pool, error, [&] { ++advanced; }));
    const std::string log = capture.take();
    EXPECT_EQ(advanced, 2);
    EXPECT_EQ(pool.size(), 2);
    ASSERT_NE(pool.getObject("ship"), nullptr);
    EXPECT_NE(pool.getObject("ship")->getObjectByName("hull"), nullptr);
    EXPECT_NE(pool.getObject("boulder")->getObjectByName("stone"), nullptr);
    const size_t boulder = log.find("Loading : '" + dir.path() + "rock.o3d' opt = \n");
    const size_t ship = log.find("Loading : '" + dir.path() + "ship.o3d' opt = fast\n");
    EXPECT_NE(boulder, std::string::npos) << log;
    EXPECT_NE(ship, std::string::npos) << log;
    EXPECT_LT(boulder, ship);
}

TEST_F(SceneLoaderTest, ObjectsStageStopsAtTheFirstFailure)
{
    write("good.o3d", { quad("q", 0, 0, 1, 1) });
    dir.write("broken.o3d", std::string("\x01\x00\x00\x00name", 8));
    ParameterGroup objects("objects");
    objects.addParameter("a", "broken.o3d");
    objects.addParameter("b", "good.o3d");

    DataObjectPool& pool = quietPool();
    std::string error;
    StdoutCapture capture;
    EXPECT_FALSE(MRVSceneLoader::loadObjectsStage(objects, dir.path(), pool, error));
    EXPECT_EQ(error, "Object '" + dir.path() + "broken.o3d' is corrupt: mesh 0: the file ends inside the name");
    EXPECT_EQ(pool.size(), 0);
    EXPECT_EQ(capture.take().find("good.o3d"), std::string::npos);

    ParameterGroup missing("objects");
    missing.addParameter("gone", "gone.o3d");
    StdoutCapture quiet;
    EXPECT_FALSE(MRVSceneLoader::loadObjectsStage(missing, dir.path(), pool, error));
    EXPECT_EQ(error, "Object '" + dir.path() + "gone.o3d' not found");
}

namespace {

// The block loading of a script with a shader path, an object path and a
// graphics path in one temp dir; the pools exist for the test's duration.
class SceneBlockLoadingTest : public SceneLoaderTest
{
protected:
    void SetUp() override
    {
        SceneLoaderTest::SetUp();
        dir.write("default.vert", "void main() { gl_Position = ftransform(); }\n");
        dir.write("default.frag", "void main() { gl_FragColor = vec4(1.0); }\n");
        ParameterGroup* paths = new ParameterGroup("paths");
        paths->addParameter("shaders", dir.path());
        paths->addParameter("object", dir.path());
        paths->addParameter("gfx", dir.path());
        paths->addParameter("misc", dir.path());
        parameters.addGroup("paths", paths);
        // Bottom row red, green; top row blue, white.
        ASSERT_TRUE(pngtest::writeFile(dir.path() + "deck.png",
                                       pngtest::encodePng(pngtest::makePicture(
                                           2, 2, pngtest::ColorType::RGB,
                                           { 0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255, 0 }))));
        // A full-viewport quad in yellow with the picture.
        write("ship.o3d", { withMaterial(quad("deck", -1, -1, 1, 1), Vector<float, 3>(1, 1, 0), "deck.png") });
        ParameterGroup* objects = new ParameterGroup("objects");
        objects->addParameter("ship", "ship.o3d");
        parameters.addGroup("objects", objects);

        StdoutCapture quiet;
        ResourceLoader::createDataPools();
    }

    void TearDown() override
    {
        {
            StdoutCapture quiet;
            ResourceLoader::deleteDataPools();
        }
        glDisable(GL_LIGHTING);
        glDisable(GL_LIGHT0);
        SceneLoaderTest::TearDown();
    }

    bool loadBlocks(std::string* log = nullptr)
    {
        ResourceLoader loader(dir.path() + "demoscript.txt");
        StdoutCapture capture;
        const bool ok = loader.loadDataFiles();
        if (log)
            *log = capture.take();
        EXPECT_TRUE(ok) << loader.getErrorMessage();
        return ok;
    }

    // Lighting that shows each material's ambient colour as it is.
    static void lightByAmbient()
    {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        glViewport(0, 0, GLTestContext::WIDTH, GLTestContext::HEIGHT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glDisable(GL_CULL_FACE);
        const GLfloat one[4] = { 1, 1, 1, 1 }, none[4] = { 0, 0, 0, 1 };
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glLightfv(GL_LIGHT0, GL_AMBIENT, one);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, none);
        glLightfv(GL_LIGHT0, GL_SPECULAR, none);
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    }

    static std::vector<unsigned char> rgb(int x, int y)
    {
        auto p = GLTestContext::readPixels(x, y, 1, 1);
        p.resize(3);
        return p;
    }
};

} // namespace

TEST_F(SceneBlockLoadingTest, LoadedObjectDrawsWithItsTexture)
{
    std::string log;
    ASSERT_TRUE(loadBlocks(&log));
    EXPECT_NE(log.find("[Loading 3D Objects]\nLoading : '" + dir.path() + "ship.o3d' opt = \nDiffuse texture deck.png\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("[Loading Graphics]\nLoad : " + dir.path() + "deck.png\n"), std::string::npos) << log;

    MRVScene* ship = MRVDemosys::objectPool->getObject("ship");
    ASSERT_NE(ship, nullptr);
    Texture* deck = MRVDemosys::texturePool->getTexture("deck.png");
    ASSERT_NE(deck, nullptr);
    EXPECT_EQ(ship->getObjectByName("deck")->getMaterial()->getDiffuseTexture(), deck);
    deck->setInterpolation(GL_NEAREST);
    deck->setTextureWrap(GL_CLAMP_TO_EDGE);

    lightByAmbient();
    ship->draw();
    // The yellow material modulates the picture: blue turns black, white
    // turns yellow.
    EXPECT_EQ(rgb(4, 4), (std::vector<unsigned char>{ 255, 0, 0 }));
    EXPECT_EQ(rgb(60, 4), (std::vector<unsigned char>{ 0, 255, 0 }));
    EXPECT_EQ(rgb(4, 60), (std::vector<unsigned char>{ 0, 0, 0 }));
    EXPECT_EQ(rgb(60, 60), (std::vector<unsigned char>{ 255, 255, 0 }));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    // Hidden, the object leaves the screen alone.
    glClear(GL_COLOR_BUFFER_BIT);
    ship->getObjectByName("deck")->setVisible(false);
    ship->draw();
    EXPECT_EQ(rgb(60, 60), (std::vector<unsigned char>{ 0, 0, 0 }));
}

TEST_F(SceneBlockLoadingTest, ObjectWhosePictureLoadsUnderAnotherAliasDrawsUntextured)
{
    // «deck» sorts before «deck.png»: the file loads once, under «deck», and
    // the material finds nothing under its file name.
    ParameterGroup* graphics = new ParameterGroup("graphics");
    graphics->addParameter("deck", "deck.png");
    parameters.addGroup("graphics", graphics);
    ASSERT_TRUE(loadBlocks());
    EXPECT_NE(MRVDemosys::texturePool->getTexture("deck"), nullptr);
    EXPECT_EQ(MRVDemosys::texturePool->getTexture("deck.png"), nullptr);
    MRVScene* ship = MRVDemosys::objectPool->getObject("ship");
    ASSERT_NE(ship, nullptr);
    EXPECT_EQ(ship->getObjectByName("deck")->getMaterial()->getDiffuseTexture(), nullptr);

    lightByAmbient();
    ship->draw();
    EXPECT_EQ(rgb(4, 4), (std::vector<unsigned char>{ 255, 255, 0 }));
    EXPECT_EQ(rgb(60, 60), (std::vector<unsigned char>{ 255, 255, 0 }));
}

TEST_F(SceneBlockLoadingTest, CorruptObjectFileEndsTheBlockLoading)
{
    std::string bytes(4, '\0');
    bytes[0] = static_cast<char>(0xff);
    bytes[1] = bytes[2] = bytes[3] = static_cast<char>(0xff);
    dir.write("ship.o3d", bytes);
    ResourceLoader loader(dir.path() + "demoscript.txt");
    StdoutCapture capture;
    EXPECT_FALSE(loader.loadDataFiles());
    const std::string log = capture.take();
    EXPECT_EQ(loader.getErrorMessage(), "Object '" + dir.path() + "ship.o3d' is corrupt: negative mesh count -1");
    EXPECT_EQ(log.find("[Loading Graphics]"), std::string::npos);
    EXPECT_FALSE(MRVDemosys::objectPool->exists("ship"));
}
