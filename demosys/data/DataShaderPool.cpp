#include "demosys/data/DataShaderPool.h"

#include "demosys/gl/Shader.h"
#include "mrvutils/MRVUtils.h"

#include <iostream>

DataShaderPool::~DataShaderPool()
{
    shaders.clear("");
}

void DataShaderPool::addShader(const std::string& name, Shader* shader)
{
    shaders.put(name, shader);
}

Shader* DataShaderPool::getShader(const std::string& name) const
{
    return shaders.get(name);
}

bool DataShaderPool::exists(const std::string& name) const
{
    return shaders.has(name);
}

int DataShaderPool::size()
{
    return shaders.entries();
}

std::string DataShaderPool::toString()
{
    std::cout << "Shaders in pool : " << size() << std::endl;
    std::string text = "ShaderPool {\n";
    if (shaders.entries() == 0)
        text += "<Empty>\n";
    for (const auto& entry : shaders.items())
        text += "  " + entry.first + " = " + (entry.second ? entry.second->toString() : "null") + "\n";
    return text + "}\n";
}
