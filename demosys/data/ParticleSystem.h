#pragma once

#include <string>
#include <vector>

class Shader;
class Texture;

// A GPU particle cloud: width x height points with random start positions,
// colours, velocities and start times, uploaded once into buffer objects and
// animated entirely by the effect's vertex shader from its "Time" uniform.
//
// The shader reads the built-in vertex and colour arrays (start position,
// colour) and the attributes "Velocity" (3 floats) and "StartTime" (1
// float); drawPointSprites also sets "PointSize" and the sampler "particle".
// The object owns its client arrays and GL buffers. A grid of more than
// 2^24 points is taken as empty.
class ParticleSystem
{
public:
    ParticleSystem(int width, int height, bool withAttributes);
    ~ParticleSystem();

    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    // Seeds every point and uploads the arrays. The arguments are not used:
    // the sizes given to the constructor count. A system made without
    // attributes gets them here, since the shader needs them.
    void createPoints(int width, int height);
    // Every point starts at time 0, so that the cloud leaves its centre as
    // one burst; after createPoints, which seeds random start times.
    void launchTogether();
    // The texture coordinates (2 floats per point, all 0 when new).
    float* initTexCoordBuffer();

    // Draws every point with the program state as it is.
    void drawSystem(Shader* shader);
    void drawPoints(Shader* shader, float time);
    // Additive point sprites with the texture on unit 0.
    void drawPointSprites(Shader* shader, Texture* texture, float time);
    // The same with the caller's program, uniforms and texture.
    void drawPointSprites(Shader* shader);

    void setPointSize(float size) { pointSize = size; }
    float getPointSize() const { return pointSize; }
    int getWidth() const { return width; }
    int getHeight() const { return height; }
    void setVerbose(bool on) { verbose = on; }

    float* getVertexData() { return arrayOrNull(vertexData); }
    float* getColorData() { return arrayOrNull(colorData); }
    float* getVelocityData() { return arrayOrNull(velocityData); }
    float* getTexCoordData() { return arrayOrNull(texCoordData); }
    float* getStartData() { return arrayOrNull(startData); }

    unsigned int getVertexBuffer() const { return vertexBuffer; }
    unsigned int getColorBuffer() const { return colorBuffer; }
    unsigned int getVelocityBuffer() const { return velocityBuffer; }
    unsigned int getStartBuffer() const { return startBuffer; }
    unsigned int getTexCoordBuffer() const { return texCoordBuffer; }

private:
    static float* arrayOrNull(std::vector<float>& values) { return values.empty() ? nullptr : values.data(); }
    int points() const { return width * height; }
    struct UniformHandles
    {
        int time = -1;
        int particle = -1;
        int pointSize = -1;
    };
    const UniformHandles& uniformsOf(Shader* shader);
    void upload(unsigned int& buffer, const std::vector<float>& values, const char* label);
    void deleteBuffers();

    std::vector<float> vertexData;
    std::vector<float> colorData;
    std::vector<float> velocityData;
    std::vector<float> texCoordData;
    std::vector<float> startData;
    int width;
    int height;
    float pointSize = 100.0f;
    unsigned int vertexBuffer = 0;
    unsigned int colorBuffer = 0;
    unsigned int velocityBuffer = 0;
    unsigned int startBuffer = 0;
    unsigned int texCoordBuffer = 0;
    Shader* uniformShader = nullptr;
    UniformHandles uniforms;
    int velocityAttrib = -1;
    int startAttrib = -1;
    // The program the two locations were looked up in.
    unsigned int attribProgram = 0;
    bool verbose = true;
};
