#pragma once

class MRVVertex;

// One face of a mesh: the vertex records of its corners (three for a
// triangle, four for a quad). The mesh owns the records.
class MRVPolygon
{
public:
    MRVPolygon() = default;
    MRVPolygon(MRVVertex* a, MRVVertex* b, MRVVertex* c);
    MRVPolygon(MRVVertex* a, MRVVertex* b, MRVVertex* c, MRVVertex* d);

    void setVertexData3(MRVVertex* a, MRVVertex* b, MRVVertex* c);
    void setVertexData4(MRVVertex* a, MRVVertex* b, MRVVertex* c, MRVVertex* d);
    // Corner 0 to 3; null when unset or outside.
    MRVVertex* getVertex(int corner) const;

    // Corners of the face set last by any mesh: 3 after a triangle, 4 after
    // a quad.
    static int m_poly_size;

private:
    MRVVertex* vertices[4] = {};
};
