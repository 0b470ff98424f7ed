#include "demosys/scene/MRVVertex.h"

int MRVVertex::getPolyIndex(int i) const
{
    return i >= 0 && i < getPolyListSize() ? polygons[static_cast<size_t>(i)] : -1;
}
