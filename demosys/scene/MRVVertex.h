#pragma once

#include <cstddef>
#include <vector>

// Connectivity of one mesh vertex: the faces that use it, in the order in
// which they were set.
class MRVVertex
{
public:
    void addPolygonIndex(int face) { polygons.push_back(face); }
    // The i-th face, or -1 outside the list.
    int getPolyIndex(int i) const;
    int getPolyListSize() const { return static_cast<int>(polygons.size()); }

private:
    std::vector<int> polygons;
};
