#include "production/effects/SceneBatch.h"

#include "demosys/gl/VBO.h"
#include "demosys/scene/MRVMaterial.h"
#include "demosys/scene/MRVNode.h"
#include "demosys/scene/MRVObject.h"
#include "demosys/scene/MRVScene.h"
#include "demosys/scene/MRVSceneTree.h"

#include <GL/glew.h>

#include <vector>

namespace {

// The objects MRVNode::draw reaches, in its order: a node's own object, then
// its children's.
void collect(const MRVNode* node, std::vector<MRVObject*>& objects)
{
    if (!node)
        return;
    if (MRVObject* object = node->getObject())
        if (object->isVisible())
            objects.push_back(object);
    for (int i = 0; i < node->countChildren(); ++i)
        collect(node->getChild(i), objects);
}

bool sameLayout(const VBO& a, const VBO& b)
{
    return a.getPositionSize() == b.getPositionSize() && a.getNormalSize() == b.getNormalSize() &&
           a.getTexCoordSize() == b.getTexCoordSize();
}

} // namespace

SceneBatch::SceneBatch() = default;

SceneBatch::~SceneBatch() = default;

void SceneBatch::build(MRVScene* scene_)
{
    scene = scene_;
    merged.reset();
    if (!scene || !scene->getTree())
        return;
    std::vector<MRVObject*> objects;
    collect(scene->getTree()->getRoot(), objects);

    const VBO* first = nullptr;
    long long vertices = 0, triangles = 0;
    for (MRVObject* object : objects)
    {
        const VBO* vbo = object->getVBO();
        if (object->getMaterial() || !vbo || vbo->getVertexBuffer() == 0 || vbo->getElementBuffer() == 0)
            return;
        if (first && !sameLayout(*first, *vbo))
            return;
        first = first ? first : vbo;
        vertices += vbo->getVertexCount();
        triangles += vbo->getTriangleCount();
    }
    if (!first || vertices > 0x7fffffff / first->getStride() || triangles > 0x7fffffff / 12)
        return;

    const size_t floatsPerVertex = static_cast<size_t>(first->getStride() / 4);
    std::vector<float> vertexData(static_cast<size_t>(vertices) * floatsPerVertex);
    std::vector<unsigned int> indices(static_cast<size_t>(triangles) * 3);
    size_t vertexAt = 0, indexAt = 0;
    for (MRVObject* object : objects)
    {
        const VBO* vbo = object->getVBO();
        const size_t count = static_cast<size_t>(vbo->getVertexCount());
        const size_t indexCount = static_cast<size_t>(vbo->getTriangleCount()) * 3;
        glBindBuffer(GL_ARRAY_BUFFER, vbo->getVertexBuffer());
        glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(count * floatsPerVertex * 4),
                           vertexData.data() + vertexAt * floatsPerVertex);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, vbo->getElementBuffer());
        glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(indexCount * 4),
                           indices.data() + indexAt);
        for (size_t i = indexAt; i < indexAt + indexCount; ++i)
            indices[i] += static_cast<unsigned int>(vertexAt);
        vertexAt += count;
        indexAt += indexCount;
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    merged.reset(new VBO());
    merged->setVertexBuffer(static_cast<int>(vertices), first->getPositionSize(), first->getNormalSize(),
                            first->getTexCoordSize(), vertexData.data());
    merged->setElementBuffer(static_cast<int>(triangles), indices.data());
}

void SceneBatch::draw(const MRVMaterial* material)
{
    if (!merged)
    {
        if (scene)
            scene->draw(material);
        return;
    }
    if (material)
        material->use();
    merged->draw();
}
