#pragma once

#include <memory>
#include <string>

class MRVMaterial;
class MRVNode;
class MRVObject;

// The node tree of a scene; owns its root.
class MRVSceneTree
{
public:
    MRVSceneTree();
    ~MRVSceneTree();

    MRVSceneTree(const MRVSceneTree&) = delete;
    MRVSceneTree& operator=(const MRVSceneTree&) = delete;

    MRVNode* getRoot() const { return root.get(); }
    // Takes ownership; an earlier root is deleted.
    void setRoot(MRVNode* node);

    void draw(const MRVMaterial* material);
    MRVObject* getObjectByName(const std::string& name) const;

private:
    std::unique_ptr<MRVNode> root;
};
