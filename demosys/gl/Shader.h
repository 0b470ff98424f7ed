#pragma once

#include "demosys/math/Vector.h"

#include <string>
#include <vector>

class Texture;

// One GLSL program of exactly one vertex and one fragment shader. The object
// owns its three GL objects.
//
// The name-based setters look the uniform up at every call and serve set-up
// code. What is set every frame goes through a handle from uniform(name),
// asked for once (in an effect's init()): its location is resolved at every
// link and reload, so a handle stays good when the program is rebuilt.
class Shader
{
public:
    Shader() = default;
    ~Shader();

    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    bool setVertexSource(const std::string& text);
    bool setFragmentSource(const std::string& text);
    bool link();
    // Rebuilds the program from new sources in place, so that every holder of
    // this object sees the new program. On any failure the running program
    // stays as it was and the compiler's log is returned in `log`.
    bool reload(const std::string& vertexText, const std::string& fragmentText, std::string& log);

    void use();
    // No program current; units 1, 2, 3 and then 0 lose their 2D texture,
    // unit 0 stays active.
    void release();

    unsigned int getProgramHandle() const { return pref; }
    unsigned int getVertexHandle() const { return vref; }
    unsigned int getFragmentHandle() const { return fref; }
    bool isValid() const { return valid; }
    std::string getErrorMessage() const { return errorMessage; }
    std::string toString() const;

    // Missing names are reported (1f, 1i and the matrices) or ignored (rest).
    void setUniform1f(const std::string& name, float v);
    // Sets the value as a float, so it serves float uniforms (samplers are
    // pointed at their unit by setTextureUnit).
    void setUniform1i(const std::string& name, int v);
    void setUniform2f(const std::string& name, float a, float b);
    void setUniform3f(const std::string& name, float a, float b, float c);
    void setUniform4f(const std::string& name, float a, float b, float c, float d);
    void setUniform2fv(const std::string& name, const Vector<float, 2>& v);
    void setUniform3fv(const std::string& name, const Vector<float, 3>& v);
    void setUniform4fv(const std::string& name, const Vector<float, 4>& v);
    void setUniform3x3m(const std::string& name, const float* m);
    void setUniform4x4m(const std::string& name, const float* m);

    // A handle for the setters below; the same name gives the same handle.
    // The handle outlives links and reloads; a name the program lacks has
    // location -1 and its sets do nothing (1f, 1i and the matrices say so once).
    int uniform(const std::string& name);
    void setUniform1f(int handle, float v);
    void setUniform2f(int handle, float a, float b);
    void setUniform3f(int handle, float a, float b, float c);
    void setUniform4f(int handle, float a, float b, float c, float d);
    void setUniform3x3m(int handle, const float* m);
    void setUniform4x4m(int handle, const float* m);
    // Activates unit N, binds the texture there, points the sampler at N and,
    // for N > 0, makes unit 0 active again.
    void setTextureUnit(int unit, int sampler, Texture* texture);

    void setTextureUnit0(const std::string& sampler, Texture* texture);
    void setTextureUnit1(const std::string& sampler, Texture* texture);
    void setTextureUnit2(const std::string& sampler, Texture* texture);
    void setTextureUnit3(const std::string& sampler, Texture* texture);

private:
    bool compile(unsigned int stage, const std::string& text, unsigned int& ref);
    int location(const std::string& name, bool report) const;
    int location(int handle, bool report);
    void resolveUniforms();
    void setTextureUnit(int unit, const std::string& sampler, Texture* texture);
    void bindTextureUnit(int unit, int location, Texture* texture);

    struct UniformSlot
    {
        std::string name;
        int location;
        bool reported;
    };

    std::string vertexSource;
    std::string fragmentSource;
    unsigned int vref = 0;
    unsigned int fref = 0;
    unsigned int pref = 0;
    bool valid = true;
    std::string errorMessage;
    std::vector<UniformSlot> uniforms;
};
