#pragma once

#include <string>

class Shader;

// Compiles a shader pair's files again into the program effects already
// use; on any failure the last good program stays.
class ShaderReload
{
public:
    static bool reload(Shader& shader, const std::string& vertexFile, const std::string& fragmentFile,
                       std::string& error);
};
