#pragma once

// The static geometry of one scene object: one interleaved vertex buffer
// (position, optional normal, optional texture coordinate per vertex, all
// floats, no padding) and one buffer of triangle indices, uploaded once and
// drawn as indexed triangles. The object owns both GL buffers.
//
// Material, textures and matrices are the caller's; draw() only feeds the
// client arrays it needs and leaves them disabled again.
class VBO
{
public:
    VBO() = default;
    ~VBO();

    VBO(const VBO&) = delete;
    VBO& operator=(const VBO&) = delete;

    // Uploads vertexCount records of (positionSize + normalSize +
    // texCoordSize) floats. A second call replaces the earlier buffer.
    void setVertexBuffer(int vertexCount, int positionSize, int normalSize, int texCoordSize, const float* data);
    // Uploads triangleCount triples of vertex indices; the caller vouches
    // that every index is below the vertex count.
    void setElementBuffer(int triangleCount, const unsigned int* indices);

    void draw();

    unsigned int getVertexBuffer() const { return vertexBuffer; }
    unsigned int getElementBuffer() const { return elementBuffer; }
    int getVertexCount() const { return vertexCount; }
    int getTriangleCount() const { return triangleCount; }
    int getPositionSize() const { return positionSize; }
    int getNormalSize() const { return normalSize; }
    int getTexCoordSize() const { return texCoordSize; }
    // Bytes per vertex record, and where in it the normal and the texture
    // coordinate start.
    int getStride() const { return stride; }
    int getNormalOffset() const { return positionSize * 4; }
    int getTexCoordOffset() const { return (positionSize + normalSize) * 4; }

private:
    unsigned int vertexBuffer = 0;
    unsigned int elementBuffer = 0;
    int vertexCount = 0;
    int triangleCount = 0;
    int positionSize = 0;
    int normalSize = 0;
    int texCoordSize = 0;
    int stride = 0;
};
