// Authoring: the script's shader programs read again while the show runs.
#include "demosys/script/ResourceLoader.h"

#include "demosys/data/DataShaderPool.h"
#include "demosys/gl/Shader.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/script/ParameterGroup.h"
#include "mrvutils/File.h"

#include <iostream>

void ResourceLoader::reloadShaders()
{
    const ParameterGroup* shaders = group("shaders");
    if (!shaders || !MRVDemosys::shaderPool)
        return;
    const std::string shaderPath = path("shaders");
    for (const auto& entry : shaders->getEntries())
    {
        Shader* shader = MRVDemosys::shaderPool->getShader(entry.first);
        if (!shader)
            continue;
        File vertex(shaderPath + entry.second + ".vert", File::READ);
        File fragment(shaderPath + entry.second + ".frag", File::READ);
        std::string log;
        if (!vertex.exists() || !fragment.exists())
            std::cout << "Shader '" << entry.first << "' kept: its files are missing" << std::endl;
        else if (shader->reload(vertex.getAsString(), fragment.getAsString(), log))
            std::cout << "Reloaded shader '" << entry.first << "'" << std::endl;
        else
            std::cout << "Shader '" << entry.first << "' kept, new source failed:\n" << log << std::endl;
    }
}
