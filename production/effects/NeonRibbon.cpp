#include "production/effects/NeonRibbon.h"

#include "demosys/gl/VBODynamic.h"
#include "demosys/scene/MRVMesh.h"

#include <GL/glew.h>

#include <algorithm>

NeonRibbon::NeonRibbon(float scale_, int pointCount_, const float colour_[4])
    : pointCount(std::max(pointCount_, 1)),
      scale(scale_),
      colour{ colour_[0], colour_[1], colour_[2], colour_[3] },
      pathNoise(1.0f, 1.0f / 512.0f, 0.5f, 4),
      mesh(new MRVMesh(pointCount, 0, 0, false, false, false))
{
    Vector<float, 3>* vertices = mesh->getVertexPointer();
    for (int i = 0; i < pointCount; ++i)
        calcPoint(vertices[i].data(), (i + 1) / 2);
    vertexBuffer.reset(new VBODynamic(mesh.get()));
}

NeonRibbon::~NeonRibbon() = default;

void NeonRibbon::calcPoint(float* vertex, int k)
{
    const float f = static_cast<float>(k);
    vertex[0] = pathNoise.getValue(f) * scale - 1.0f;
    vertex[1] = pathNoise.getValue(f, f) * scale - 1.0f;
    vertex[2] = pathNoise.getValue(f, f, f) * scale - 1.0f;
}

const float* NeonRibbon::getVertex(int index) const
{
    index = std::min(std::max(index, 0), pointCount - 1);
    return mesh->getVertexPointer()[index].data();
}

void NeonRibbon::draw(int count)
{
    // A count below zero asks for no vertices; 0 means the whole ribbon.
    if (count < 0)
        return;
    glLineWidth(10.0f);
    glColor4fv(colour);
    const unsigned int n = static_cast<unsigned int>(std::min(count, pointCount));
    vertexBuffer->drawArray(GL_LINES, 0, n);
    glLineWidth(1.0f);
}

void NeonRibbon::moveCamera(int index, float frameTime)
{
    const float* p = getVertex(index);
    glTranslatef(1.0f - p[0], 1.0f - p[1], -3.0f - p[2]);
    glRotatef(cameraSpin, p[0], p[1], p[2]);
    cameraSpin += frameTime * 0.05f;
}
