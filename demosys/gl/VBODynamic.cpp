#include "demosys/gl/VBODynamic.h"

#include "demosys/gl/Shader.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/scene/MRVMesh.h"

#include <GL/glew.h>

#include <algorithm>
#include <iostream>

VBODynamic::VBODynamic(unsigned int vertexCount_, unsigned int vertexSize_, unsigned int colorSize_,
                       unsigned int normalSize_, unsigned int uvSize_, unsigned int polygonSize_,
                       unsigned int polygonCount_)
    : vertexCount(vertexCount_), polygonCount(polygonCount_), vertexSize(vertexSize_), colorSize(colorSize_),
      normalSize(normalSize_), uvSize(uvSize_), polygonSize(polygonSize_)
{
    const unsigned long long vertices = vertexCount;
    const std::string count = std::to_string(vertexCount);
    if (vertexSize != 0)
        vertexBuffer = createStream(GL_ARRAY_BUFFER, vertices * vertexSize * 4, nullptr, count + " vertices");
    if (colorSize != 0)
        colorBuffer = createStream(GL_ARRAY_BUFFER, vertices * colorSize * 4, nullptr, count + " colors");
    if (normalSize != 0)
        normalBuffer = createStream(GL_ARRAY_BUFFER, vertices * normalSize * 4, nullptr, count + " normals");
    if (uvSize != 0)
        uvBuffer = createStream(GL_ARRAY_BUFFER, vertices * uvSize * 4, nullptr, count + " texcoords");
    if (polygonSize != 0)
        polygonBuffer = createStream(GL_ELEMENT_ARRAY_BUFFER, 4ull * polygonCount * polygonSize, nullptr,
                                     std::to_string(polygonSize) + " sided " + std::to_string(polygonCount) +
                                         " polygons");
}

VBODynamic::VBODynamic(MRVMesh* mesh)
{
    if (!mesh)
        return;
    vertexCount = static_cast<unsigned int>(mesh->getNumVertices());
    polygonCount = static_cast<unsigned int>(mesh->getNumFaces());
    vertexSize = 3;
    normalSize = 3;
    uvSize = 2;
    polygonSize = static_cast<unsigned int>(mesh->getVerticesPerFace());

    // The mesh stores its positions as packed 3-vectors and its indices as
    // signed values that are never negative, so both go up as they are.
    Vector<float, 3>* positions = mesh->getVertexPointer();
    vertexPointer = positions ? positions->data() : nullptr;
    polygonPointer = reinterpret_cast<unsigned int*>(mesh->getPolygonPointer());
    normalPointer = mesh->getVertexNormalPointer();
    uvPointer = mesh->getTexCoordPointer();

    const unsigned long long vertices = vertexCount;
    const std::string count = std::to_string(vertexCount);
    vertexBuffer = createStream(GL_ARRAY_BUFFER, vertices * 12, vertexPointer, count + " vertices");
    if (polygonSize != 0)
        polygonBuffer = createStream(GL_ELEMENT_ARRAY_BUFFER, 4ull * polygonCount * polygonSize, polygonPointer,
                                     std::to_string(polygonSize) + " sided " + std::to_string(polygonCount) +
                                         " polygons");
    normalBuffer = createStream(GL_ARRAY_BUFFER, vertices * 12, normalPointer, count + " normals");
    uvBuffer = createStream(GL_ARRAY_BUFFER, vertices * 8, uvPointer, count + " texcoords");
}

VBODynamic::~VBODynamic()
{
    const unsigned int streams[] = { vertexBuffer, colorBuffer, uvBuffer, normalBuffer, polygonBuffer };
    for (unsigned int name : streams)
        if (name != 0)
            glDeleteBuffers(1, &name);
    for (unsigned int& name : attribBuffers)
        if (name != 0)
            glDeleteBuffers(1, &name);
}

unsigned int VBODynamic::createStream(unsigned int target, unsigned long long bytes, const void* data,
                                      const std::string& what)
{
    unsigned int name = 0;
    glGenBuffers(1, &name);
    glBindBuffer(target, name);
    glBufferData(target, static_cast<GLsizeiptr>(bytes), data, GL_STREAM_DRAW);
    std::cout << "VBODynamic : Created buffer (" << what << ") in " << bytes << " bytes" << std::endl;
    validateBuffer(target, name);
    glBindBuffer(target, 0);
    return name;
}

bool VBODynamic::validateBuffer(unsigned int target, unsigned int /*name*/)
{
    GLint size = 0;
    glGetBufferParameteriv(target, GL_BUFFER_SIZE, &size);
    MRVDemosys::glErrPrint("VBO::validateBuffer");
    return size > 0;
}

void* VBODynamic::map(unsigned int target, unsigned int buffer, unsigned int access)
{
    // A stream that does not exist has nothing to map; binding 0 would map
    // whatever the caller left bound.
    if (buffer == 0)
        return nullptr;
    glBindBuffer(target, buffer);
    return glMapBuffer(target, access);
}

void VBODynamic::unmap(unsigned int target, unsigned int buffer)
{
    if (buffer == 0)
        return;
    glBindBuffer(target, buffer);
    glUnmapBuffer(target);
}

void VBODynamic::openVertexBuffer(unsigned int access)
{
    vertexPointer = static_cast<float*>(map(GL_ARRAY_BUFFER, vertexBuffer, access));
}

void VBODynamic::openColorBuffer(unsigned int access)
{
    colorPointer = static_cast<float*>(map(GL_ARRAY_BUFFER, colorBuffer, access));
}

void VBODynamic::openVertexNormalBuffer(unsigned int access)
{
    normalPointer = static_cast<float*>(map(GL_ARRAY_BUFFER, normalBuffer, access));
}

void VBODynamic::openUVBuffer(unsigned int access)
{
    uvPointer = static_cast<float*>(map(GL_ARRAY_BUFFER, uvBuffer, access));
}

void VBODynamic::openPolygonBuffer(unsigned int access)
{
    polygonPointer = static_cast<unsigned int*>(map(GL_ELEMENT_ARRAY_BUFFER, polygonBuffer, access));
}

void VBODynamic::openAttribBuffer(int index, unsigned int access)
{
    if (index < 0 || index >= MAX_ATTRIBS)
        return;
    attribPointers[index] = static_cast<float*>(map(GL_ARRAY_BUFFER, attribBuffers[index], access));
}

// The pointers are cleared at the close: after glUnmapBuffer they point at
// memory the GL may have taken back, and a writer must not reach it.
void VBODynamic::closeVertexBuffer()
{
    unmap(GL_ARRAY_BUFFER, vertexBuffer);
    vertexPointer = nullptr;
}

void VBODynamic::closeColorBuffer()
{
    unmap(GL_ARRAY_BUFFER, colorBuffer);
    colorPointer = nullptr;
}

void VBODynamic::closeVertexNormalBuffer()
{
    unmap(GL_ARRAY_BUFFER, normalBuffer);
    normalPointer = nullptr;
}

void VBODynamic::closeUVBuffer()
{
    unmap(GL_ARRAY_BUFFER, uvBuffer);
    uvPointer = nullptr;
}

void VBODynamic::closePolygonBuffer()
{
    unmap(GL_ELEMENT_ARRAY_BUFFER, polygonBuffer);
    polygonPointer = nullptr;
}

void VBODynamic::closeAttribBuffer(int index)
{
    if (index < 0 || index >= MAX_ATTRIBS)
        return;
    unmap(GL_ARRAY_BUFFER, attribBuffers[index]);
    attribPointers[index] = nullptr;
}

float* VBODynamic::getAttribPointer(int index)
{
    return index >= 0 && index < MAX_ATTRIBS ? attribPointers[index] : nullptr;
}

unsigned int VBODynamic::getAttribBuffer(int index) const
{
    return index >= 0 && index < MAX_ATTRIBS ? attribBuffers[index] : 0;
}

bool VBODynamic::fits(const char* operation, unsigned int i, unsigned int step, unsigned int elements,
                      unsigned long long length, unsigned int values, const void* pointer)
{
    const unsigned long long offset = static_cast<unsigned long long>(i) * step;
    // The element bound, and the stream's end for a vector longer than the
    // stream's elements.
    if (offset >= static_cast<unsigned long long>(step) * elements || offset + values > length)
    {
        std::cout << operation << i << ") overflow!" << std::endl;
        return false;
    }
    if (!pointer)
    {
        std::cout << operation << i << ") stream not open!" << std::endl;
        return false;
    }
    return true;
}

void VBODynamic::setVertex(unsigned int i, const Vector<float, 3>& v)
{
    if (!fits("VBODynamic::setVertex(", i, vertexSize, vertexCount, 1ull * vertexSize * vertexCount, 3,
              vertexPointer))
        return;
    std::copy(v.data(), v.data() + 3, vertexPointer + static_cast<size_t>(i) * vertexSize);
}

void VBODynamic::setColor(unsigned int i, const Vector<float, 3>& c)
{
    if (!fits("VBODynamic::setColor(", i, colorSize, vertexCount, 1ull * colorSize * vertexCount, 3, colorPointer))
        return;
    std::copy(c.data(), c.data() + 3, colorPointer + static_cast<size_t>(i) * colorSize);
}

void VBODynamic::setColor(unsigned int i, const Vector<float, 4>& c)
{
    if (!fits("VBODynamic::setColor(", i, colorSize, vertexCount, 1ull * colorSize * vertexCount, 4, colorPointer))
        return;
    std::copy(c.data(), c.data() + 4, colorPointer + static_cast<size_t>(i) * colorSize);
}

void VBODynamic::setPolygon(unsigned int i, const Vector<int, 3>& p)
{
    if (!fits("VBODynamic::setPolygon(", i, 3, polygonCount, 1ull * polygonSize * polygonCount, 3,
              polygonPointer))
        return;
    for (int k = 0; k < 3; ++k)
        polygonPointer[static_cast<size_t>(i) * 3 + k] = static_cast<unsigned int>(p[k]);
}

void VBODynamic::setPolygon(unsigned int i, const Vector<int, 4>& p)
{
    if (!fits("VBODynamic::setPolygon(", i, 4, polygonCount, 1ull * polygonSize * polygonCount, 4,
              polygonPointer))
        return;
    for (int k = 0; k < 4; ++k)
        polygonPointer[static_cast<size_t>(i) * 4 + k] = static_cast<unsigned int>(p[k]);
}

void VBODynamic::initVertexAttributeData(int index, unsigned int bytes, const void* data)
{
    if (index < 0 || index >= MAX_ATTRIBS)
        return;
    if (attribBuffers[index] == 0)
        glGenBuffers(1, &attribBuffers[index]);
    glBindBuffer(GL_ARRAY_BUFFER, attribBuffers[index]);
    glBufferData(GL_ARRAY_BUFFER, bytes, data, GL_STREAM_DRAW);
    std::cout << "VBODynamic : Created attribute buffer : " << bytes << " bytes" << std::endl;
    validateBuffer(GL_ARRAY_BUFFER, attribBuffers[index]);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void VBODynamic::bindVertexAttrib(int index, Shader* shader, const std::string& name)
{
    if (index < 0 || index >= MAX_ATTRIBS || !shader || attribBuffers[index] == 0)
        return;
    const unsigned int program = shader->getProgramHandle();
    if (program != attribPrograms[index] || name != attribNames[index])
    {
        attribLocations[index] = glGetAttribLocation(program, name.c_str());
        attribPrograms[index] = program;
        attribNames[index] = name;
    }
    const int location = attribLocations[index];
    // A name the program does not use has no location to point at.
    if (location < 0)
        return;
    glBindBuffer(GL_ARRAY_BUFFER, attribBuffers[index]);
    glVertexAttribPointer(static_cast<GLuint>(location), 3, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(static_cast<GLuint>(location));
}

void VBODynamic::bindBuffers()
{
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glVertexPointer(static_cast<GLint>(vertexSize), GL_FLOAT, 0, nullptr);
    glEnableClientState(GL_VERTEX_ARRAY);
    if (normalSize != 0)
    {
        glBindBuffer(GL_ARRAY_BUFFER, normalBuffer);
        glNormalPointer(GL_FLOAT, 0, nullptr);
        glEnableClientState(GL_NORMAL_ARRAY);
    }
    if (colorSize != 0)
    {
        glBindBuffer(GL_ARRAY_BUFFER, colorBuffer);
        glColorPointer(static_cast<GLint>(colorSize), GL_FLOAT, 0, nullptr);
        glEnableClientState(GL_COLOR_ARRAY);
    }
    if (uvSize != 0)
    {
        glBindBuffer(GL_ARRAY_BUFFER, uvBuffer);
        glClientActiveTexture(GL_TEXTURE0);
        glTexCoordPointer(static_cast<GLint>(uvSize), GL_FLOAT, 0, nullptr);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    }
}

void VBODynamic::unbindBuffers()
{
    glDisableClientState(GL_VERTEX_ARRAY);
    if (normalSize != 0)
        glDisableClientState(GL_NORMAL_ARRAY);
    if (uvSize != 0)
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    if (colorSize != 0)
        glDisableClientState(GL_COLOR_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void VBODynamic::drawPolygons(unsigned int mode, unsigned int first, unsigned int count)
{
    // With no vertex or index buffer the GL would read client memory at 0.
    if (vertexBuffer == 0 || polygonBuffer == 0)
        return;
    const unsigned int polygons = first == count ? polygonCount : std::min(count, polygonCount);
    bindBuffers();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, polygonBuffer);
    glDrawElements(mode, static_cast<GLsizei>(polygonSize * polygons), GL_UNSIGNED_INT, nullptr);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    unbindBuffers();
}

void VBODynamic::drawArray(unsigned int mode, unsigned int first, unsigned int count)
{
    if (vertexBuffer == 0)
        return;
    bindBuffers();
    if (first == count)
        glDrawArrays(mode, 0, static_cast<GLsizei>(vertexCount));
    else if (first < vertexCount)
        glDrawArrays(mode, static_cast<GLint>(first), static_cast<GLsizei>(std::min(count, vertexCount - first)));
    unbindBuffers();
}
