#include "demosys/authoring/ShaderReload.h"

#include "demosys/gl/Shader.h"
#include "mrvutils/File.h"

bool ShaderReload::reload(Shader& shader, const std::string& vertexFile, const std::string& fragmentFile,
                          std::string& error)
{
    File vertex(vertexFile, File::READ);
    File fragment(fragmentFile, File::READ);
    if (!vertex.exists() || !fragment.exists())
    {
        error = "'" + (vertex.exists() ? fragmentFile : vertexFile) + "' cannot be read";
        return false;
    }
    std::string log;
    if (shader.reload(vertex.getAsString(), fragment.getAsString(), log))
        return true;
    error = log;
    return false;
}
