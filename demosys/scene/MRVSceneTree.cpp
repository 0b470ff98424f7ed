#include "demosys/scene/MRVSceneTree.h"

#include "demosys/scene/MRVNode.h"

MRVSceneTree::MRVSceneTree() = default;

MRVSceneTree::~MRVSceneTree() = default;

void MRVSceneTree::setRoot(MRVNode* node)
{
    root.reset(node);
}

void MRVSceneTree::draw(const MRVMaterial* material)
{
    if (root)
        root->draw(material);
}

MRVObject* MRVSceneTree::getObjectByName(const std::string& name) const
{
    return root ? root->getObjectByName(name) : nullptr;
}
