#include "demosys/scene/MRVObject.h"

#include "demosys/data/DataTexturePool.h"
#include "demosys/gl/Texture.h"
#include "demosys/gl/VBO.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/scene/MRVMaterial.h"
#include "demosys/scene/MRVSceneDebug.h"

MRVObject::MRVObject() = default;

MRVObject::~MRVObject() = default;

MRVObject* MRVObject::setName(const std::string& name_)
{
    name = name_;
    return this;
}

MRVObject* MRVObject::setMaterial(MRVMaterial* material_)
{
    material = material_;
    return this;
}

MRVObject* MRVObject::setVBO(VBO* vbo_)
{
    vbo.reset(vbo_);
    return this;
}

MRVObject* MRVObject::setVisible(bool on)
{
    visible = on;
    return this;
}

MRVObject* MRVObject::setTranslation(float x, float y, float z)
{
    translation = Vector<float, 3>(x, y, z);
    return this;
}

MRVObject* MRVObject::setBBoxMin(float x, float y, float z)
{
    bboxMin = Vector<float, 3>(x, y, z);
    return this;
}

MRVObject* MRVObject::setBBoxMax(float x, float y, float z)
{
    bboxMax = Vector<float, 3>(x, y, z);
    return this;
}

void MRVObject::draw(const MRVMaterial* fallback)
{
    Texture* texture = material ? material->getDiffuseTexture() : nullptr;
    if (material)
    {
        material->use();
        if (texture)
            texture->bind();
    }
    else if (fallback)
    {
        fallback->use();
    }
    if (vbo)
        vbo->draw();
    if (texture)
        texture->release();
}

void MRVObject::mapTextureData()
{
    if (!material || material->getDiffuseMap().empty())
        return;
    Texture* texture = MRVDemosys::texturePool ? MRVDemosys::texturePool->getTexture(material->getDiffuseMap())
                                               : nullptr;
    material->setDiffuseTexture(texture);
}

void MRVObject::drawTranslation() const
{
    MRVSceneDebug::drawLine(Vector<float, 3>(), translation);
}

void MRVObject::drawBBox() const
{
    MRVSceneDebug::drawBox(bboxMin, bboxMax);
}
