#pragma once

#include "demosys/math/Vector.h"

#include <string>

class Texture;

// The fixed-function lighting material of an object, with the names and,
// once the graphics are loaded, the textures of its diffuse and normal maps.
// Textures belong to the texture pool; the material only points at them.
//
// use() hands the GL four values per colour: each group followed by the
// first value of the next one (ambient + diffuse red, diffuse + emissive
// red, specular + shininess). Scenes are lit with that in mind.
class MRVMaterial
{
public:
    MRVMaterial() = default;

    MRVMaterial* setAmbient(float r, float g, float b);
    MRVMaterial* setDiffuse(float r, float g, float b);
    MRVMaterial* setEmissive(float r, float g, float b);
    MRVMaterial* setSpecular(float r, float g, float b);
    MRVMaterial* setShininess(float s);
    Vector<float, 3> getAmbient() const { return ambient; }
    Vector<float, 3> getDiffuse() const { return diffuse; }
    Vector<float, 3> getEmissive() const { return emissive; }
    Vector<float, 3> getSpecular() const { return specular; }
    float getShininess() const { return shininess; }

    // The picture's file name, which is also its alias in the texture pool.
    MRVMaterial* setDiffuseMap(const std::string& name);
    const std::string& getDiffuseMap() const { return diffuseMap; }
    MRVMaterial* setNormalMap(const std::string& name);
    const std::string& getNormalMap() const { return normalMap; }
    MRVMaterial* setDiffuseTexture(Texture* texture);
    Texture* getDiffuseTexture() const { return diffuseTexture; }
    MRVMaterial* setNormalTexture(Texture* texture);
    Texture* getNormalTexture() const { return normalTexture; }

    // Ambient, diffuse, specular and shininess of both faces; the emissive
    // colour is not sent and no texture is bound.
    void use() const;
    // Ambient and diffuse of both faces, nothing else.
    static void useColor(float r, float g, float b, float a);
    static void useColor(const Vector<float, 4>& rgba);

    // "Amb : " and "Dif : " lines with the vectors.
    void print() const;

private:
    Vector<float, 3> ambient{ 1.0f, 0.0f, 0.0f };
    Vector<float, 3> diffuse{ 1.0f, 0.0f, 0.0f };
    Vector<float, 3> emissive{ 0.0f, 0.0f, 0.0f };
    Vector<float, 3> specular{ 0.25f, 0.25f, 0.25f };
    float shininess = 10.0f;
    Texture* diffuseTexture = nullptr;
    Texture* normalTexture = nullptr;
    std::string diffuseMap;
    std::string normalMap;
};
