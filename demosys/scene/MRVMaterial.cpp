#include "demosys/scene/MRVMaterial.h"

#include <GL/glew.h>

#include <iostream>

MRVMaterial* MRVMaterial::setAmbient(float r, float g, float b)
{
    ambient = Vector<float, 3>(r, g, b);
    return this;
}

MRVMaterial* MRVMaterial::setDiffuse(float r, float g, float b)
{
    diffuse = Vector<float, 3>(r, g, b);
    return this;
}

MRVMaterial* MRVMaterial::setEmissive(float r, float g, float b)
{
    emissive = Vector<float, 3>(r, g, b);
    return this;
}

MRVMaterial* MRVMaterial::setSpecular(float r, float g, float b)
{
    specular = Vector<float, 3>(r, g, b);
    return this;
}

MRVMaterial* MRVMaterial::setShininess(float s)
{
    shininess = s;
    return this;
}

MRVMaterial* MRVMaterial::setDiffuseMap(const std::string& name)
{
    diffuseMap = name;
    return this;
}

MRVMaterial* MRVMaterial::setNormalMap(const std::string& name)
{
    normalMap = name;
    return this;
}

MRVMaterial* MRVMaterial::setDiffuseTexture(Texture* texture)
{
    diffuseTexture = texture;
    return this;
}

MRVMaterial* MRVMaterial::setNormalTexture(Texture* texture)
{
    normalTexture = texture;
    return this;
}

void MRVMaterial::use() const
{
    // The productions were lit with each colour's fourth value taken from
    // the group stored after it; the values are assembled explicitly.
    const GLfloat ambient4[4] = { ambient[0], ambient[1], ambient[2], diffuse[0] };
    const GLfloat diffuse4[4] = { diffuse[0], diffuse[1], diffuse[2], emissive[0] };
    const GLfloat specular4[4] = { specular[0], specular[1], specular[2], shininess };
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient4);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse4);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular4);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, shininess);
}

void MRVMaterial::useColor(float r, float g, float b, float a)
{
    const GLfloat colour[4] = { r, g, b, a };
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, colour);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, colour);
}

void MRVMaterial::useColor(const Vector<float, 4>& rgba)
{
    useColor(rgba[0], rgba[1], rgba[2], rgba[3]);
}

void MRVMaterial::print() const
{
    std::cout << "Amb : " << ambient << std::endl;
    std::cout << "Dif : " << diffuse << std::endl;
}
