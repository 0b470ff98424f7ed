#include "demosys/scene/MRVScene.h"

#include "demosys/scene/MRVMaterial.h"
#include "demosys/scene/MRVNode.h"
#include "demosys/scene/MRVObject.h"
#include "demosys/scene/MRVSceneDebug.h"
#include "demosys/scene/MRVSceneTree.h"

#include <algorithm>

MRVScene::MRVScene() : defaultMaterial(new MRVMaterial())
{
}

MRVScene::~MRVScene()
{
    // Objects point at the materials, so the tree goes first.
    tree.reset();
}

void MRVScene::setTree(MRVSceneTree* tree_)
{
    tree.reset(tree_);
}

MRVMaterial* MRVScene::addMaterial(MRVMaterial* material)
{
    if (material)
        materials.emplace_back(material);
    return material;
}

MRVObject* MRVScene::getObjectByName(const std::string& name) const
{
    return tree ? tree->getObjectByName(name) : nullptr;
}

template <typename F>
void MRVScene::forEachObject(F visit) const
{
    MRVNode* root = tree ? tree->getRoot() : nullptr;
    if (!root)
        return;
    for (int i = 0; i < root->countChildren(); ++i)
        if (MRVObject* object = root->getChild(i)->getObject())
            visit(*object);
}

void MRVScene::draw()
{
    draw(defaultMaterial.get());
}

void MRVScene::draw(const MRVMaterial* material)
{
    if (tree)
        tree->draw(material);
}

void MRVScene::mapTextureData()
{
    forEachObject([](MRVObject& object) { object.mapTextureData(); });
}

void MRVScene::calcSceneBBox()
{
    bboxMin = bboxMax = Vector<float, 3>();
    bool first = true;
    forEachObject([&](MRVObject& object) {
        const Vector<float, 3> low = object.getBBoxMin(), high = object.getBBoxMax();
        if (first)
        {
            bboxMin = low;
            bboxMax = high;
            first = false;
            return;
        }
        for (int k = 0; k < 3; ++k)
        {
            bboxMin[k] = std::min(bboxMin[k], low[k]);
            bboxMax[k] = std::max(bboxMax[k], high[k]);
        }
    });
}

void MRVScene::drawBBox() const
{
    forEachObject([](MRVObject& object) { object.drawBBox(); });
}

void MRVScene::drawTranslation() const
{
    forEachObject([](MRVObject& object) { object.drawTranslation(); });
}

void MRVScene::drawSceneBBox() const
{
    MRVSceneDebug::drawBox(bboxMin, bboxMax);
}
