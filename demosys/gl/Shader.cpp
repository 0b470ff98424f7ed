#include "demosys/gl/Shader.h"

#include "demosys/gl/Texture.h"
#include "demosys/runtime/MRVDemosys.h"
#include "mrvutils/MRVUtils.h"

#include <GL/glew.h>

#include <iostream>
#include <utility>
#include <vector>

Shader::~Shader()
{
    if (pref)
    {
        if (vref)
            glDetachShader(pref, vref);
        if (fref)
            glDetachShader(pref, fref);
    }
    if (vref)
        glDeleteShader(vref);
    if (fref)
        glDeleteShader(fref);
    if (pref)
        glDeleteProgram(pref);
}

bool Shader::compile(unsigned int stage, const std::string& text, unsigned int& ref)
{
    if (ref)
        glDeleteShader(ref);
    ref = glCreateShader(stage);
    const char* source = text.c_str();
    glShaderSource(ref, 1, &source, nullptr);
    glCompileShader(ref);

    GLint status = GL_FALSE;
    glGetShaderiv(ref, GL_COMPILE_STATUS, &status);
    if (status == GL_TRUE)
        return true;

    GLint length = 0;
    glGetShaderiv(ref, GL_INFO_LOG_LENGTH, &length);
    if (length > 0)
    {
        std::vector<char> log(static_cast<size_t>(length) + 1, '\0');
        GLsizei written = 0;
        glGetShaderInfoLog(ref, length, &written, log.data());
        errorMessage.append(log.data(), static_cast<size_t>(written));
    }
    valid = false;
    return false;
}

bool Shader::setVertexSource(const std::string& text)
{
    vertexSource = text;
    return compile(GL_VERTEX_SHADER, text, vref);
}

bool Shader::setFragmentSource(const std::string& text)
{
    fragmentSource = text;
    return compile(GL_FRAGMENT_SHADER, text, fref);
}

bool Shader::link()
{
    if (pref)
        glDeleteProgram(pref);
    pref = glCreateProgram();
    glAttachShader(pref, vref);
    glAttachShader(pref, fref);
    glLinkProgram(pref);

    GLint status = GL_FALSE;
    glGetProgramiv(pref, GL_LINK_STATUS, &status);
    if (status == GL_TRUE)
    {
        resolveUniforms();
        return true;
    }

    // A failed link is a failure whatever the driver wrote into its log.
    valid = false;
    GLint length = 0;
    glGetProgramiv(pref, GL_INFO_LOG_LENGTH, &length);
    GLsizei written = 0;
    if (length >= 1)
    {
        std::vector<char> log(static_cast<size_t>(length) + 1, '\0');
        glGetProgramInfoLog(pref, length, &written, log.data());
        errorMessage.append(log.data(), static_cast<size_t>(written));
    }
    if (written < 1)
        errorMessage += "Unknown error while linking shader pair";
    return false;
}

int Shader::uniform(const std::string& name)
{
    for (size_t i = 0; i < uniforms.size(); ++i)
        if (uniforms[i].name == name)
            return static_cast<int>(i);
    uniforms.push_back({ name, pref ? glGetUniformLocation(pref, name.c_str()) : -1, false });
    return static_cast<int>(uniforms.size()) - 1;
}

void Shader::resolveUniforms()
{
    for (UniformSlot& slot : uniforms)
    {
        slot.location = glGetUniformLocation(pref, slot.name.c_str());
        slot.reported = false;
    }
}

int Shader::location(int handle, bool report)
{
    if (handle < 0 || static_cast<size_t>(handle) >= uniforms.size())
        return -1;
    UniformSlot& slot = uniforms[static_cast<size_t>(handle)];
    // Set every frame: one line for the whole show, not one per frame.
    if (slot.location == -1 && report && !slot.reported)
    {
        slot.reported = true;
        std::cout << "Error: Uniform variable '" << slot.name << "' not found!" << std::endl;
        MRVDemosys::system_error = true;
    }
    return slot.location;
}

bool Shader::reload(const std::string& vertexText, const std::string& fragmentText, std::string& log)
{
    Shader fresh;
    if (!fresh.setVertexSource(vertexText) || !fresh.setFragmentSource(fragmentText) || !fresh.link())
    {
        log = fresh.getErrorMessage();
        return false;
    }
    // Trade GL objects: the old ones leave with `fresh`'s destructor.
    std::swap(vertexSource, fresh.vertexSource);
    std::swap(fragmentSource, fresh.fragmentSource);
    std::swap(vref, fresh.vref);
    std::swap(fref, fresh.fref);
    std::swap(pref, fresh.pref);
    valid = true;
    resolveUniforms();
    return true;
}

void Shader::use()
{
    glUseProgram(pref);
}

void Shader::release()
{
    glUseProgram(0);
    for (GLenum unit : { GL_TEXTURE1, GL_TEXTURE2, GL_TEXTURE3, GL_TEXTURE0 })
    {
        glActiveTexture(unit);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
}

std::string Shader::toString() const
{
    return "Shader(vshader size = " + MRVUtils::uint2string(static_cast<unsigned int>(vertexSource.size())) +
           ", fragshader size = " + MRVUtils::uint2string(static_cast<unsigned int>(fragmentSource.size())) +
           ", pref=" + MRVUtils::uint2string(pref) + ", vref=" + MRVUtils::uint2string(vref) +
           ", fref=" + MRVUtils::uint2string(fref) + ")";
}

int Shader::location(const std::string& name, bool report) const
{
    const GLint loc = glGetUniformLocation(pref, name.c_str());
    if (loc == -1 && report)
    {
        std::cout << "Error: Uniform variable '" << name << "' not found!" << std::endl;
        MRVDemosys::system_error = true;
    }
    return loc;
}

void Shader::setUniform1f(const std::string& name, float v)
{
    const int loc = location(name, true);
    if (loc != -1)
        glUniform1f(loc, v);
}

void Shader::setUniform1i(const std::string& name, int v)
{
    const int loc = location(name, true);
    if (loc != -1)
        glUniform1f(loc, static_cast<float>(v));
}

void Shader::setUniform2f(const std::string& name, float a, float b)
{
    const int loc = location(name, false);
    if (loc != -1)
        glUniform2f(loc, a, b);
}

void Shader::setUniform3f(const std::string& name, float a, float b, float c)
{
    const int loc = location(name, false);
    if (loc != -1)
        glUniform3f(loc, a, b, c);
}

void Shader::setUniform4f(const std::string& name, float a, float b, float c, float d)
{
    const int loc = location(name, false);
    if (loc != -1)
        glUniform4f(loc, a, b, c, d);
}

void Shader::setUniform2fv(const std::string& name, const Vector<float, 2>& v)
{
    const int loc = location(name, false);
    if (loc != -1)
        glUniform2fv(loc, 1, v.data());
}

void Shader::setUniform3fv(const std::string& name, const Vector<float, 3>& v)
{
    const int loc = location(name, false);
    if (loc != -1)
        glUniform3fv(loc, 1, v.data());
}

void Shader::setUniform4fv(const std::string& name, const Vector<float, 4>& v)
{
    const int loc = location(name, false);
    if (loc != -1)
        glUniform4fv(loc, 1, v.data());
}

void Shader::setUniform3x3m(const std::string& name, const float* m)
{
    const int loc = location(name, true);
    if (loc != -1)
        glUniformMatrix3fv(loc, 1, GL_FALSE, m);
}

void Shader::setUniform4x4m(const std::string& name, const float* m)
{
    const int loc = location(name, true);
    if (loc != -1)
        glUniformMatrix4fv(loc, 1, GL_FALSE, m);
}

void Shader::setUniform1f(int handle, float v)
{
    const int loc = location(handle, true);
    if (loc != -1)
        glUniform1f(loc, v);
}

void Shader::setUniform2f(int handle, float a, float b)
{
    const int loc = location(handle, false);
    if (loc != -1)
        glUniform2f(loc, a, b);
}

void Shader::setUniform3f(int handle, float a, float b, float c)
{
    const int loc = location(handle, false);
    if (loc != -1)
        glUniform3f(loc, a, b, c);
}

void Shader::setUniform4f(int handle, float a, float b, float c, float d)
{
    const int loc = location(handle, false);
    if (loc != -1)
        glUniform4f(loc, a, b, c, d);
}

void Shader::setUniform3x3m(int handle, const float* m)
{
    const int loc = location(handle, true);
    if (loc != -1)
        glUniformMatrix3fv(loc, 1, GL_FALSE, m);
}

void Shader::setUniform4x4m(int handle, const float* m)
{
    const int loc = location(handle, true);
    if (loc != -1)
        glUniformMatrix4fv(loc, 1, GL_FALSE, m);
}

void Shader::setTextureUnit(int unit, int sampler, Texture* texture)
{
    bindTextureUnit(unit, location(sampler, false), texture);
}

void Shader::setTextureUnit(int unit, const std::string& sampler, Texture* texture)
{
    bindTextureUnit(unit, glGetUniformLocation(pref, sampler.c_str()), texture);
}

void Shader::bindTextureUnit(int unit, int loc, Texture* texture)
{
    glActiveTexture(GL_TEXTURE0 + unit);
    if (texture)
        texture->bind();
    glUniform1i(loc, unit);
    if (unit != 0)
        glActiveTexture(GL_TEXTURE0);
}

void Shader::setTextureUnit0(const std::string& sampler, Texture* texture)
{
    setTextureUnit(0, sampler, texture);
}

void Shader::setTextureUnit1(const std::string& sampler, Texture* texture)
{
    setTextureUnit(1, sampler, texture);
}

void Shader::setTextureUnit2(const std::string& sampler, Texture* texture)
{
    setTextureUnit(2, sampler, texture);
}

void Shader::setTextureUnit3(const std::string& sampler, Texture* texture)
{
    setTextureUnit(3, sampler, texture);
}
