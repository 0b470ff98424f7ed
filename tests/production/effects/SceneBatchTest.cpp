// A scene merged into one draw gives the pixels of the scene drawn object by
// object, and a scene it cannot merge is drawn as it stands.
#include "production/effects/SceneBatch.h"

#include "demosys/scene/MRVMaterial.h"
#include "demosys/scene/MRVObject.h"
#include "tests/production/effects/SceneEffectHarness.h"
#include "tools/mrvmodels/GhettoblasterModel.h"
#include "tools/mrvmodels/TvSetModel.h"

using namespace effecttest;

namespace {

class SceneBatchTest : public SceneEffectHarness
{
protected:
    void SetUp() override
    {
        SceneEffectHarness::SetUp();
        light = loadShader("light");
        material.setAmbient(1.0f, 0.5f, 1.0f)->setDiffuse(1.0f, 0.5f, 1.0f);
    }

    // The whole window after one drawing, lit, seen at an angle so that
    // several objects overlap.
    template <typename Draw>
    std::vector<unsigned char> frame(Draw draw)
    {
        glViewport(0, 0, GLTestContext::WIDTH, GLTestContext::HEIGHT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-60.0, 60.0, -60.0, 60.0, -100.0, 100.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(30.0f, 1.0f, 0.0f, 0.0f);
        glRotatef(-60.0f, 0.0f, 1.0f, 0.0f);
        glEnable(GL_DEPTH_TEST);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        light->use();
        draw();
        light->release();
        std::vector<unsigned char> rgba(GLTestContext::WIDTH * GLTestContext::HEIGHT * 4);
        glReadPixels(0, 0, GLTestContext::WIDTH, GLTestContext::HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    }

    static int lit(const std::vector<unsigned char>& rgba)
    {
        int count = 0;
        for (size_t i = 0; i < rgba.size(); i += 4)
            count += rgba[i] != 0 || rgba[i + 1] != 0 || rgba[i + 2] != 0 ? 1 : 0;
        return count;
    }

    Shader* light = nullptr;
    MRVMaterial material;
};

} // namespace

TEST_F(SceneBatchTest, MergedSetDrawsTheScenesPixelsWithoutItsHiddenObjects)
{
    MRVScene* tv = addScene("tv", TvSetModel::build());
    ASSERT_NE(tv, nullptr);
    SceneBatch batch;
    batch.build(tv);
    EXPECT_TRUE(batch.isMerged());
    const std::vector<unsigned char> scene = frame([&] { tv->draw(&material); });
    EXPECT_GT(lit(scene), 400);
    EXPECT_EQ(frame([&] { batch.draw(&material); }), scene);
    EXPECT_TRUE(balanced());

    // Visibility counts as it stands when the batch is built.
    tv->getObjectByName("Cabinet")->setVisible(false);
    const std::vector<unsigned char> open = frame([&] { tv->draw(&material); });
    EXPECT_NE(open, scene);
    SceneBatch without;
    without.build(tv);
    EXPECT_TRUE(without.isMerged());
    EXPECT_EQ(frame([&] { without.draw(&material); }), open);
    EXPECT_TRUE(noGLError());
}

TEST_F(SceneBatchTest, SceneWithMaterialsOfItsOwnIsDrawnAsItStands)
{
    MRVScene* stereo = addScene("stereo", GhettoblasterModel::build());
    ASSERT_NE(stereo, nullptr);
    SceneBatch batch;
    batch.build(stereo);
    EXPECT_FALSE(batch.isMerged());
    const std::vector<unsigned char> scene = frame([&] { stereo->draw(&material); });
    EXPECT_GT(lit(scene), 10);
    EXPECT_EQ(frame([&] { batch.draw(&material); }), scene);

    SceneBatch empty;
    empty.build(nullptr);
    EXPECT_FALSE(empty.isMerged());
    empty.draw(&material);
    EXPECT_TRUE(noGLError());
}
