#include "demosys/scene/MRVPolygon.h"

int MRVPolygon::m_poly_size = 3;

MRVPolygon::MRVPolygon(MRVVertex* a, MRVVertex* b, MRVVertex* c)
{
    setVertexData3(a, b, c);
}

MRVPolygon::MRVPolygon(MRVVertex* a, MRVVertex* b, MRVVertex* c, MRVVertex* d)
{
    setVertexData4(a, b, c, d);
}

void MRVPolygon::setVertexData3(MRVVertex* a, MRVVertex* b, MRVVertex* c)
{
    vertices[0] = a;
    vertices[1] = b;
    vertices[2] = c;
}

void MRVPolygon::setVertexData4(MRVVertex* a, MRVVertex* b, MRVVertex* c, MRVVertex* d)
{
    setVertexData3(a, b, c);
    vertices[3] = d;
}

MRVVertex* MRVPolygon::getVertex(int corner) const
{
    return corner >= 0 && corner < 4 ? vertices[corner] : nullptr;
}
