#pragma once

#include "demosys/math/Vector.h"

#include <memory>
#include <string>
#include <vector>

class MRVMaterial;
class MRVObject;
class MRVSceneTree;

// One loaded 3D object file: a tree whose root holds one node per mesh, the
// materials of those meshes, a default material for objects without one, and
// the box around all objects. Effects look objects up by name and draw the
// whole scene or single objects.
//
// The scene owns its tree (and with it every node, object and vertex
// buffer), its default material and the materials given to addMaterial().
class MRVScene
{
public:
    MRVScene();
    ~MRVScene();

    MRVScene(const MRVScene&) = delete;
    MRVScene& operator=(const MRVScene&) = delete;

    MRVSceneTree* getTree() const { return tree.get(); }
    // Takes ownership; an earlier tree is deleted.
    void setTree(MRVSceneTree* tree);
    MRVMaterial* getDefaultMaterial() const { return defaultMaterial.get(); }
    // Keeps a material alive as long as the scene; returns it.
    MRVMaterial* addMaterial(MRVMaterial* material);

    // Shorthand for getTree()->getObjectByName(name); null when absent.
    MRVObject* getObjectByName(const std::string& name) const;

    // Every visible object; those without a material use the default one
    // (or the given one).
    void draw();
    void draw(const MRVMaterial* material);
    // Binds each object's material to the texture pool's texture of its
    // diffuse map name.
    void mapTextureData();

    // The box around the boxes of the root's children (translations not
    // taken into account); all 0 when there are none.
    void calcSceneBBox();
    Vector<float, 3> getBBoxMin() const { return bboxMin; }
    Vector<float, 3> getBBoxMax() const { return bboxMax; }

    // Debugging aids.
    void drawBBox() const;
    void drawTranslation() const;
    void drawSceneBBox() const;

private:
    template <typename F>
    void forEachObject(F visit) const;

    std::unique_ptr<MRVSceneTree> tree;
    std::unique_ptr<MRVMaterial> defaultMaterial;
    std::vector<std::unique_ptr<MRVMaterial>> materials;
    Vector<float, 3> bboxMin;
    Vector<float, 3> bboxMax;
};
