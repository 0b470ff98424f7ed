#include "demosys/scene/MRVNode.h"

#include "demosys/scene/MRVObject.h"

MRVNode::MRVNode()
{
    for (int i = 0; i < 16; ++i)
        matrix[i] = 0.0f;
}

MRVNode::~MRVNode()
{
    // The object goes first, then the children in order.
    object.reset();
    children.clear();
}

MRVNode* MRVNode::setObject(MRVObject* object_)
{
    object.reset(object_);
    return this;
}

void MRVNode::addChild(MRVNode* node)
{
    if (node)
        children.emplace_back(node);
}

MRVNode* MRVNode::getChild(int i) const
{
    return i >= 0 && i < countChildren() ? children[static_cast<size_t>(i)].get() : nullptr;
}

void MRVNode::draw(const MRVMaterial* material)
{
    if (object && object->isVisible())
        object->draw(material);
    for (auto& child : children)
        child->draw(material);
}

MRVObject* MRVNode::getObjectByName(const std::string& name) const
{
    if (object && object->getName() == name)
        return object.get();
    for (const auto& child : children)
        if (MRVObject* found = child->getObjectByName(name))
            return found;
    return nullptr;
}
