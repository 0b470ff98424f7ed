#pragma once

#include <memory>

class MRVMaterial;
class MRVNode;
class MRVScene;
class VBO;

// A scene drawn dozens of times a frame (the TV sets round the stereo) as
// one draw call instead of one per object: build() copies the vertices and
// triangles of its visible objects, in the order the scene draws them, into
// one vertex buffer. The triangles reach the GL in the same order with the
// same values, so the pixels are those of MRVScene::draw.
//
// Only a scene whose objects all take the caller's material (none of their
// own) and share one vertex layout merges; draw() hands any other scene to
// MRVScene::draw. Visibility counts as it stands at build(). The scene is
// not owned.
class SceneBatch
{
public:
    SceneBatch();
    ~SceneBatch();

    SceneBatch(const SceneBatch&) = delete;
    SceneBatch& operator=(const SceneBatch&) = delete;

    // With a GL context.
    void build(MRVScene* scene);
    bool isMerged() const { return merged != nullptr; }
    // Like MRVScene::draw(material).
    void draw(const MRVMaterial* material);

private:
    MRVScene* scene = nullptr;
    std::unique_ptr<VBO> merged;
};
