// The shaders block: every entry a linked program in the shader pool.
#include "demosys/script/ResourceLoader.h"

#include "demosys/data/DataShaderPool.h"
#include "demosys/gl/Shader.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"
#include "mrvutils/File.h"

#include <iostream>

ParameterGroup* ResourceLoader::shaderBlock()
{
    ParameterGroup* shaders = group("shaders");
    if (!shaders)
    {
        shaders = new ParameterGroup("shaders");
        MRVDemosys::parameters->addGroup("shaders", shaders);
    }
    // Every production has the "default" program, whatever the script says.
    shaders->addParameter("default", "default");
    return shaders;
}

bool ResourceLoader::loadShaders()
{
    const ParameterGroup* shaders = shaderBlock();
    std::cout << "[Loading Shaders]" << std::endl;
    const std::string shaderPath = path("shaders");
    std::cout << "Shader path = " << shaderPath << std::endl;
    for (const auto& entry : shaders->getEntries())
    {
        const std::string& name = entry.first;
        std::cout << "Loading shader " << name << " = " << entry.second << std::endl;
        std::string error;
        std::unique_ptr<Shader> shader = loadShader(shaderPath, entry.second, error);
        if (!shader)
            return fail(error);
        Shader* added = shader.release();
        MRVDemosys::shaderPool->addShader(name, added);
        std::cout << "Adding shader '" << name << "' = " << added->toString() << std::endl;
        added->use();
        added->release();
    }
    return true;
}

std::unique_ptr<Shader> ResourceLoader::loadShader(const std::string& shaderPath, const std::string& stem,
                                                   std::string& error)
{
    std::unique_ptr<Shader> shader(new Shader);
    File vertex(shaderPath + stem + ".vert", File::READ);
    if (!vertex.exists())
        error = "Vertex shader '" + stem + ".vert' not found";
    else if (!shader->setVertexSource(vertex.getAsString()))
        error = "Error while compiling vertex shader\nShader: " + stem + ".vert\n" + shader->getErrorMessage();
    if (!error.empty())
        return nullptr;
    File fragment(shaderPath + stem + ".frag", File::READ);
    if (!fragment.exists())
        error = "Fragement shader '" + stem + ".frag' not found";
    else if (!shader->setFragmentSource(fragment.getAsString()))
        error = "Error while compiling fragment shader\nShader: " + stem + ".frag\n" + shader->getErrorMessage();
    // A program that linked but is not valid failed all the same.
    else if (!shader->link() || !shader->isValid())
        error = "Error while linking shader pair\nShader: " + stem + "\n" + shader->getErrorMessage();
    if (!error.empty())
        return nullptr;
    return shader;
}
