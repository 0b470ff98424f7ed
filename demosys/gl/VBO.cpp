#include "demosys/gl/VBO.h"

#include <GL/glew.h>

#include <cstdint>

namespace {

const void* byteOffset(int bytes)
{
    return reinterpret_cast<const void*>(static_cast<std::uintptr_t>(bytes));
}

} // namespace

VBO::~VBO()
{
    if (vertexBuffer != 0)
        glDeleteBuffers(1, &vertexBuffer);
    if (elementBuffer != 0)
        glDeleteBuffers(1, &elementBuffer);
}

void VBO::setVertexBuffer(int vertexCount_, int positionSize_, int normalSize_, int texCoordSize_, const float* data)
{
    vertexCount = vertexCount_ > 0 ? vertexCount_ : 0;
    positionSize = positionSize_;
    normalSize = normalSize_;
    texCoordSize = texCoordSize_;
    stride = (positionSize + normalSize + texCoordSize) * 4;

    if (vertexBuffer == 0)
        glGenBuffers(1, &vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertexCount) * stride, data, GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void VBO::setElementBuffer(int triangleCount_, const unsigned int* indices)
{
    triangleCount = triangleCount_ > 0 ? triangleCount_ : 0;

    if (elementBuffer == 0)
        glGenBuffers(1, &elementBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, elementBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(triangleCount) * 12, indices, GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

void VBO::draw()
{
    // Without both buffers the draw would read client memory at address 0.
    if (vertexBuffer == 0 || elementBuffer == 0)
        return;

    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glVertexPointer(positionSize, GL_FLOAT, stride, byteOffset(0));
    glEnableClientState(GL_VERTEX_ARRAY);
    if (normalSize > 0)
    {
        glNormalPointer(GL_FLOAT, stride, byteOffset(getNormalOffset()));
        glEnableClientState(GL_NORMAL_ARRAY);
    }
    if (texCoordSize > 0)
    {
        glClientActiveTexture(GL_TEXTURE0);
        glTexCoordPointer(texCoordSize, GL_FLOAT, stride, byteOffset(getTexCoordOffset()));
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    }

    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, elementBuffer);
    glDrawElements(GL_TRIANGLES, triangleCount * 3, GL_UNSIGNED_INT, byteOffset(0));

    if (texCoordSize > 0)
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    if (normalSize > 0)
        glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}
