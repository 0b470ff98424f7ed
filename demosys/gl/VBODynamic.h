#pragma once

#include "demosys/math/Vector.h"

#include <string>

class MRVMesh;
class Shader;

// Geometry that effects rewrite while the show runs (a moving sea, a
// distorted grid): separate, tightly packed float streams for positions,
// colours, normals and texture coordinates, an index buffer of 3- or
// 4-sided polygons, and up to 16 generic attribute streams. A stream is
// rewritten in place: open it (the GL maps it into memory), write through the
// pointer or the element writers, close it, draw. All storage is
// GL_STREAM_DRAW. The object owns every buffer it created.
//
// A size of 0 means the stream does not exist. Element writers refuse an
// index whose values would not fit into the stream, printing one
// "... overflow!" line, and refuse to write while the stream is not open.
class VBODynamic
{
public:
    static constexpr int MAX_ATTRIBS = 16;

    VBODynamic(unsigned int vertexCount, unsigned int vertexSize, unsigned int colorSize, unsigned int normalSize,
               unsigned int uvSize, unsigned int polygonSize, unsigned int polygonCount);
    // Positions, polygons, vertex normals and texture coordinates of the
    // mesh, uploaded now; the pointers then point into the mesh's arrays
    // until a stream is opened.
    explicit VBODynamic(MRVMesh* mesh);
    ~VBODynamic();

    VBODynamic(const VBODynamic&) = delete;
    VBODynamic& operator=(const VBODynamic&) = delete;

    // access is GL_WRITE_ONLY, GL_READ_ONLY or GL_READ_WRITE.
    void openVertexBuffer(unsigned int access);
    void openColorBuffer(unsigned int access);
    void openVertexNormalBuffer(unsigned int access);
    void openUVBuffer(unsigned int access);
    void openPolygonBuffer(unsigned int access);
    void openAttribBuffer(int index, unsigned int access);
    // Unmaps; the pointer obtained by the open is gone afterwards.
    void closeVertexBuffer();
    void closeColorBuffer();
    void closeVertexNormalBuffer();
    void closeUVBuffer();
    void closePolygonBuffer();
    void closeAttribBuffer(int index);

    float* getVertexPointer() { return vertexPointer; }
    float* getVertexNormalPointer() { return normalPointer; }
    float* getColorPointer() { return colorPointer; }
    float* getUVPointer() { return uvPointer; }
    unsigned int* getPolygonPointer() { return polygonPointer; }
    float* getAttribPointer(int index);

    void setVertex(unsigned int i, const Vector<float, 3>& v);
    void setColor(unsigned int i, const Vector<float, 3>& c);
    void setColor(unsigned int i, const Vector<float, 4>& c);
    void setPolygon(unsigned int i, const Vector<int, 3>& p);
    void setPolygon(unsigned int i, const Vector<int, 4>& p);

    // Creates attribute stream index from bytes of data (3 floats per vertex
    // when bound with bindVertexAttrib).
    void initVertexAttributeData(int index, unsigned int bytes, const void* data);
    // Points the shader's attribute `name` at stream index and enables it.
    // The location is looked up once per program and name.
    void bindVertexAttrib(int index, Shader* shader, const std::string& name);

    void bindBuffers();
    void unbindBuffers();
    // first == count draws every polygon (every vertex); otherwise count
    // polygons (vertices from first), never more than the buffer holds.
    void drawPolygons(unsigned int mode, unsigned int first, unsigned int count);
    void drawArray(unsigned int mode, unsigned int first, unsigned int count);

    // Size check of the buffer bound to target, and a report of pending GL
    // errors; true when the buffer has storage.
    bool validateBuffer(unsigned int target, unsigned int name);
    void updateMesh() {}

    unsigned int getVertexBuffer() const { return vertexBuffer; }
    unsigned int getColorBuffer() const { return colorBuffer; }
    unsigned int getUVBuffer() const { return uvBuffer; }
    unsigned int getNormalBuffer() const { return normalBuffer; }
    unsigned int getPolygonBuffer() const { return polygonBuffer; }
    unsigned int getAttribBuffer(int index) const;
    unsigned int getVertexCount() const { return vertexCount; }
    unsigned int getPolygonCount() const { return polygonCount; }
    unsigned int getVertexSize() const { return vertexSize; }
    unsigned int getColorSize() const { return colorSize; }
    unsigned int getNormalSize() const { return normalSize; }
    unsigned int getUVSize() const { return uvSize; }
    unsigned int getPolygonSize() const { return polygonSize; }

private:
    unsigned int createStream(unsigned int target, unsigned long long bytes, const void* data,
                              const std::string& what);
    void* map(unsigned int target, unsigned int buffer, unsigned int access);
    void unmap(unsigned int target, unsigned int buffer);
    // Whether `values` values written at i * step stay inside an open stream
    // of `length` values whose elements are `step` apart; prints the refusal
    // line when not.
    static bool fits(const char* operation, unsigned int i, unsigned int step, unsigned int elements,
                     unsigned long long length, unsigned int values, const void* pointer);

    unsigned int vertexBuffer = 0;
    unsigned int colorBuffer = 0;
    unsigned int uvBuffer = 0;
    unsigned int normalBuffer = 0;
    unsigned int polygonBuffer = 0;

    float* vertexPointer = nullptr;
    float* normalPointer = nullptr;
    float* colorPointer = nullptr;
    unsigned int* polygonPointer = nullptr;
    float* uvPointer = nullptr;

    float* attribPointers[MAX_ATTRIBS] = {};
    unsigned int attribBuffers[MAX_ATTRIBS] = {};
    // The last location looked up per stream, for the program and name it
    // was looked up in.
    int attribLocations[MAX_ATTRIBS] = {};
    unsigned int attribPrograms[MAX_ATTRIBS] = {};
    std::string attribNames[MAX_ATTRIBS];

    unsigned int vertexCount = 0;
    unsigned int polygonCount = 0;
    unsigned int vertexSize = 0;
    unsigned int colorSize = 0;
    unsigned int normalSize = 0;
    unsigned int uvSize = 0;
    unsigned int polygonSize = 0;
};
