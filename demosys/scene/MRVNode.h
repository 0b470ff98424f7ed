#pragma once

#include "demosys/math/Matrix.h"

#include <memory>
#include <string>
#include <vector>

class MRVMaterial;
class MRVObject;

// A node of the scene tree: an optional object and the child nodes, both
// owned. The matrix is stored for the callers and not applied when drawing.
class MRVNode
{
public:
    MRVNode();
    ~MRVNode();

    MRVNode(const MRVNode&) = delete;
    MRVNode& operator=(const MRVNode&) = delete;

    // Takes ownership; an earlier object is deleted.
    MRVNode* setObject(MRVObject* object);
    MRVObject* getObject() const { return object.get(); }
    // Takes ownership and appends.
    void addChild(MRVNode* node);
    // Null outside 0..countChildren()-1.
    MRVNode* getChild(int i) const;
    int countChildren() const { return static_cast<int>(children.size()); }
    void setMatrix(const Matrix<float, 4, 4, 16>& m) { matrix = m; }
    Matrix<float, 4, 4, 16> getMatrix() const { return matrix; }

    // The visible object with the material as fallback, then every child,
    // pre-order.
    void draw(const MRVMaterial* material);
    // This node's object when its name matches byte for byte, else the
    // first match among the children, depth first; null when none.
    MRVObject* getObjectByName(const std::string& name) const;

private:
    Matrix<float, 4, 4, 16> matrix;
    std::unique_ptr<MRVObject> object;
    std::vector<std::unique_ptr<MRVNode>> children;
};
