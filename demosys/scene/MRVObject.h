#pragma once

#include "demosys/math/Vector.h"

#include <memory>
#include <string>

class MRVMaterial;
class VBO;

// One named object of a scene: its static geometry, its material and the
// placement values of its file. Drawing uses the vertex positions as they
// are; effects that need the translation read it with getTranslation().
//
// The object owns its vertex buffer; the material belongs to the scene (or
// to the effect that set it).
class MRVObject
{
public:
    MRVObject();
    ~MRVObject();

    MRVObject(const MRVObject&) = delete;
    MRVObject& operator=(const MRVObject&) = delete;

    MRVObject* setName(const std::string& name);
    const std::string& getName() const { return name; }
    MRVObject* setMaterial(MRVMaterial* material);
    MRVMaterial* getMaterial() const { return material; }
    // Takes ownership; an earlier buffer is deleted.
    MRVObject* setVBO(VBO* vbo);
    VBO* getVBO() const { return vbo.get(); }
    MRVObject* setVisible(bool on);
    bool isVisible() const { return visible; }
    MRVObject* setTranslation(float x, float y, float z);
    Vector<float, 3> getTranslation() const { return translation; }
    MRVObject* setBBoxMin(float x, float y, float z);
    MRVObject* setBBoxMax(float x, float y, float z);
    Vector<float, 3> getBBoxMin() const { return bboxMin; }
    Vector<float, 3> getBBoxMax() const { return bboxMax; }

    // With its own material (and that material's diffuse texture), else
    // with the fallback's colours; a null fallback leaves the GL's material
    // as it is. The fallback's textures are never bound.
    void draw(const MRVMaterial* fallback);
    // Gives the material the texture the pool holds under its diffuse map
    // name (null when the pool has none).
    void mapTextureData();

    // Debugging aids: the translation as a red line from the origin, the
    // box as red edges.
    void drawTranslation() const;
    void drawBBox() const;

private:
    std::unique_ptr<VBO> vbo;
    MRVMaterial* material = nullptr;
    std::string name;
    bool visible = true;
    Vector<float, 3> translation;
    Vector<float, 3> bboxMin;
    Vector<float, 3> bboxMax;
};
