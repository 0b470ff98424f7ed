#include "demosys/data/Data.h"
#include "demosys/data/DataAnimationPool.h"
#include "demosys/data/DataBinaryPool.h"
#include "demosys/data/DataEffectPool.h"
#include "demosys/data/DataFBOPool.h"
#include "demosys/data/DataObjectPool.h"
#include "demosys/data/DataPool.h"
#include "demosys/data/DataShaderPool.h"
#include "demosys/data/DataTexturePool.h"
#include "demosys/gl/Texture.h"

#include "tests/support/StdoutCapture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <string>

namespace {

std::string firstLines(const std::string& dump)
{
    std::string heads;
    size_t at = 0;
    while (at < dump.size())
    {
        const size_t end = dump.find('\n', at);
        const std::string line = dump.substr(at, end - at);
        if (line.find("Pool {") != std::string::npos)
            heads += line + "|";
        at = end + 1;
    }
    return heads;
}

} // namespace

TEST(DataPool, BaseCountsAndDumps)
{
    DataPool pool;
    EXPECT_EQ(pool.size(), 0);
    EXPECT_EQ(pool.toString(), "DataPool { size = 0 }\n");
}

TEST(DataRegistry, DumpsAndDeletesPoolsInNameOrder)
{
    StdoutCapture capture;
    std::string dump;
    {
        Data data;
        // The loader's creation order; the registry orders by name.
        data.addData("objectPool", new DataObjectPool);
        data.addData("texturePool", new DataTexturePool);
        data.addData("animationPool", new DataAnimationPool);
        data.addData("effectTemplatePool", new DataEffectPool);
        data.addData("effectPool", new DataEffectPool);
        data.addData("binaryPool", new DataBinaryPool);
        data.addData("shaderPool", new DataShaderPool);
        data.addData("fboPool", new DataFBOPool);
        EXPECT_EQ(data.size(), 8);
        EXPECT_TRUE(data.exist("fboPool"));
        EXPECT_FALSE(data.exist("FBOPool")) << "names compare case-sensitively";
        EXPECT_EQ(data.getData("nothing"), nullptr);
        EXPECT_NE(dynamic_cast<DataShaderPool*>(data.getData("shaderPool")), nullptr);
        dump = data.toString();
    }
    EXPECT_EQ(firstLines(dump), "AnimationPool {|DataBinaryPool {|EffectPool {|EffectPool {|FBOPool {|"
                                "DataObjectPool {|ShaderPool {|DataTexturePool {|");
    EXPECT_NE(dump.find("ShaderPool {\n<Empty>\n}\n"), std::string::npos);
    EXPECT_NE(dump.find("DataObjectPool {\n}\n"), std::string::npos);

    const std::string out = capture.take();
    EXPECT_EQ(out, "Shaders in pool : 0\n"
                   "[Dispose animationPool]\n"
                   "[Dispose binaryPool]\n"
                   "[Dispose effectPool]\n"
                   "[Dispose effectPool]\n"
                   "[Dispose objectPool]\n"
                   "[Dispose texturePool]\n");
}

TEST(DataRegistry, OverwritingAnEntryKeepsTheEarlierPoolAlive)
{
    DataPool* first = new DataPool;
    DataPool second;
    {
        Data data;
        data.addData("p", first);
        data.addData("p", &second);
        EXPECT_EQ(data.getData("p"), &second);
        data.addData("p", nullptr); // the registry must not delete the stack pool
    }
    EXPECT_EQ(first->size(), 0) << "still a live object";
    delete first;
}

TEST(DataTexturePool, LookupsByAliasAndFile)
{
    DataTexturePool pool;
    GLuint ids[2];
    glGenTextures(2, ids);
    pool.addTexture("wood", "floor.png", ids[0]);
    Texture* sky = new Texture("sky.png", ids[1]);
    sky->setSize(300, 200)->setBPP(24);
    pool.addTexture("sky", sky);

    EXPECT_EQ(pool.size(), 2);
    EXPECT_EQ(pool.getTexture("sky"), sky);
    EXPECT_EQ(pool.getTexture("none"), nullptr);
    EXPECT_FALSE(pool.exist("none")) << "a failed lookup inserts nothing";
    EXPECT_TRUE(pool.isFileInPool("floor.png"));
    EXPECT_FALSE(pool.isFileInPool("wood"));
    EXPECT_EQ(pool.getTextureIDbyAlias("wood"), ids[0]);
    EXPECT_EQ(pool.getTextureIDbyFilename("sky.png"), ids[1]);
    EXPECT_EQ(pool.getTextureIDbyAlias("missing"), 0u);
    EXPECT_EQ(pool.getTextureIDbyFilename("missing.png"), 0u);
    EXPECT_EQ(pool.getTexVector(), (std::vector<unsigned int>{ ids[1], ids[0] })) << "alias order";
    EXPECT_EQ(pool.getFilemap().at("sky.png"), "sky");

    EXPECT_EQ(sky->getMemorySize(), 180000);
    EXPECT_EQ(pool.getTextureTotalFilesize(), 0);
    // 180000 bytes of the RGB sky; the unsized wrapper counts 0.
    const std::string dump = pool.toString();
    EXPECT_EQ(dump.substr(0, dump.find("    sky")),
              "DataTexturePool {\n    total memory size : 0.171661 MB - 180000 bytes\n"
              "    total file size : 0 mb - 0 bytes\n    numTextures = 2\n");
}

TEST(DataTexturePool, DisposalAnnouncesEachTextureAndFreesItsName)
{
    GLuint a, b;
    glGenTextures(1, &b);
    glGenTextures(1, &a);
    // A name becomes a texture object once bound.
    for (GLuint id : { a, b })
    {
        glBindTexture(GL_TEXTURE_2D, id);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    DataTexturePool* pool = new DataTexturePool;
    pool->addTexture("b", "b.png", b);
    pool->addTexture("a", "a.png", a);
    ASSERT_TRUE(glIsTexture(a));

    StdoutCapture capture;
    delete pool;
    EXPECT_EQ(capture.take(), "[Dispose texturePool]\n -> delete texture 'a'\n -> delete texture 'b'\n");
    EXPECT_FALSE(glIsTexture(a));
    EXPECT_FALSE(glIsTexture(b));
}

TEST(DataShaderAndFBOPools, EntriesAndMissingNames)
{
    DataShaderPool shaders;
    EXPECT_EQ(shaders.getShader("x"), nullptr);
    EXPECT_FALSE(shaders.exists("x"));
    shaders.addShader("x", nullptr);
    EXPECT_TRUE(shaders.exists("x")) << "a stored null still counts";
    EXPECT_EQ(shaders.size(), 1);

    DataFBOPool fbos;
    StdoutCapture capture;
    EXPECT_EQ(fbos.getFBO("glowbuffer"), nullptr);
    EXPECT_EQ(capture.take(), "FrameBufferObject::getFBO(glowbuffer) cannot find the requested VBO\n");
    EXPECT_FALSE(fbos.exists("glowbuffer"));
    EXPECT_EQ(fbos.toString(), "FBOPool {\n}\n");
}
