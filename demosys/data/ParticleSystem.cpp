#include "demosys/data/ParticleSystem.h"

#include "demosys/gl/Shader.h"
#include "demosys/gl/Texture.h"
#include "demosys/runtime/MRVDemosys.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>

namespace {

// rand() / 2^31, kept below 1 after the rounding to float.
float random01()
{
    const float value = static_cast<float>(static_cast<double>(std::rand()) / 2147483648.0);
    return std::min(value, 0.99999994f);
}

} // namespace

ParticleSystem::ParticleSystem(int width_, int height_, bool withAttributes)
    : width(std::max(width_, 0)), height(std::max(height_, 0))
{
    // The product is bounded so that the arrays and the draw count stay in
    // range whatever an effect passes.
    if (static_cast<long long>(width) * height > (1 << 24))
        width = height = 0;
    vertexData.assign(static_cast<size_t>(points()) * 3, 0.0f);
    if (withAttributes)
    {
        colorData.assign(static_cast<size_t>(points()) * 3, 0.0f);
        velocityData.assign(static_cast<size_t>(points()) * 3, 0.0f);
        startData.assign(static_cast<size_t>(points()), 0.0f);
    }
}

ParticleSystem::~ParticleSystem()
{
    deleteBuffers();
}

void ParticleSystem::deleteBuffers()
{
    unsigned int* buffers[] = { &vertexBuffer, &colorBuffer, &velocityBuffer, &startBuffer, &texCoordBuffer };
    for (unsigned int* name : buffers)
    {
        if (*name != 0)
            glDeleteBuffers(1, name);
        *name = 0;
    }
}

float* ParticleSystem::initTexCoordBuffer()
{
    if (texCoordData.empty())
        texCoordData.assign(static_cast<size_t>(points()) * 2, 0.0f);
    return arrayOrNull(texCoordData);
}

void ParticleSystem::createPoints(int /*width*/, int /*height*/)
{
    const size_t n = static_cast<size_t>(points());
    if (colorData.empty())
    {
        colorData.assign(n * 3, 0.0f);
        velocityData.assign(n * 3, 0.0f);
        startData.assign(n, 0.0f);
    }

    int index = 0;
    for (int column = 0; column < width; ++column)
    {
        for (int row = 0; row < height; ++row, ++index)
        {
            float* position = &vertexData[static_cast<size_t>(index) * 3];
            float* colour = &colorData[static_cast<size_t>(index) * 3];
            float* velocity = &velocityData[static_cast<size_t>(index) * 3];
            for (int k = 0; k < 3; ++k)
                position[k] = random01() * 0.01f - 0.005f;
            for (int k = 0; k < 3; ++k)
                colour[k] = random01();
            for (int k = 0; k < 3; ++k)
                velocity[k] = (random01() - 0.5f) / 5.0f;
            startData[static_cast<size_t>(index)] = random01() * 100.0f;
        }
    }
    if (verbose)
        std::cout << "Index = " << index << std::endl;

    // Seeding twice replaces the buffers of the first time.
    deleteBuffers();
    upload(vertexBuffer, vertexData, "VertexBuffer: ");
    upload(texCoordBuffer, texCoordData, "TextureCoords: ");
    upload(colorBuffer, colorData, "ColorBuffer: ");
    upload(velocityBuffer, velocityData, "VelocityBuffer: ");
    upload(startBuffer, startData, "StartBuffer: ");
}

void ParticleSystem::launchTogether()
{
    std::fill(startData.begin(), startData.end(), 0.0f);
    if (startBuffer == 0 || startData.empty())
        return;
    glBindBuffer(GL_ARRAY_BUFFER, startBuffer);
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(startData.size() * sizeof(float)), startData.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ParticleSystem::upload(unsigned int& buffer, const std::vector<float>& values, const char* label)
{
    if (values.empty())
        return;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(values.size() * sizeof(float)), values.data(),
                 GL_STREAM_DRAW);
    if (verbose)
    {
        std::cout << label << buffer << std::endl;
        GLint size = 0;
        glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
        std::cout << "Buffer size = " << size << std::endl;
        MRVDemosys::glErrPrint("VBO::validateBuffer");
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ParticleSystem::drawSystem(Shader* shader)
{
    // Nothing uploaded yet: the arrays would point at client address 0.
    if (vertexBuffer == 0)
        return;

    const unsigned int program = shader ? shader->getProgramHandle() : 0;
    if (program != attribProgram)
    {
        velocityAttrib = startAttrib = -1;
        if (program != 0 && velocityBuffer != 0)
            velocityAttrib = glGetAttribLocation(program, "Velocity");
        if (program != 0 && startBuffer != 0)
            startAttrib = glGetAttribLocation(program, "StartTime");
        attribProgram = program;
    }

    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    glEnableClientState(GL_VERTEX_ARRAY);
    if (texCoordBuffer != 0)
    {
        glBindBuffer(GL_ARRAY_BUFFER, texCoordBuffer);
        glClientActiveTexture(GL_TEXTURE0);
        glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    if (colorBuffer != 0)
    {
        glBindBuffer(GL_ARRAY_BUFFER, colorBuffer);
        glColorPointer(3, GL_FLOAT, 0, nullptr);
        glEnableClientState(GL_COLOR_ARRAY);
    }
    if (startAttrib >= 0)
    {
        glBindBuffer(GL_ARRAY_BUFFER, startBuffer);
        glVertexAttribPointer(static_cast<GLuint>(startAttrib), 1, GL_FLOAT, GL_FALSE, 0, nullptr);
        glEnableVertexAttribArray(static_cast<GLuint>(startAttrib));
    }
    if (velocityAttrib >= 0)
    {
        glBindBuffer(GL_ARRAY_BUFFER, velocityBuffer);
        glVertexAttribPointer(static_cast<GLuint>(velocityAttrib), 3, GL_FLOAT, GL_FALSE, 0, nullptr);
        glEnableVertexAttribArray(static_cast<GLuint>(velocityAttrib));
    }

    glDrawArrays(GL_POINTS, 0, points());

    if (velocityAttrib >= 0)
        glDisableVertexAttribArray(static_cast<GLuint>(velocityAttrib));
    if (startAttrib >= 0)
        glDisableVertexAttribArray(static_cast<GLuint>(startAttrib));
    if (colorBuffer != 0)
        glDisableClientState(GL_COLOR_ARRAY);
    if (texCoordBuffer != 0)
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

const ParticleSystem::UniformHandles& ParticleSystem::uniformsOf(Shader* shader)
{
    // Asked once per shader: the handles stay good across its reloads.
    if (shader != uniformShader)
    {
        uniforms.time = shader->uniform("Time");
        uniforms.particle = shader->uniform("particle");
        uniforms.pointSize = shader->uniform("PointSize");
        uniformShader = shader;
    }
    return uniforms;
}

void ParticleSystem::drawPoints(Shader* shader, float time)
{
    if (!shader)
        return;
    shader->use();
    shader->setUniform1f(uniformsOf(shader).time, time);
    drawSystem(shader);
    shader->release();
}

void ParticleSystem::drawPointSprites(Shader* shader, Texture* texture, float time)
{
    if (!shader)
        return;
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    shader->use();
    const UniformHandles& uniforms = uniformsOf(shader);
    shader->setUniform1f(uniforms.time, time);
    shader->setTextureUnit(0, uniforms.particle, texture);
    shader->setUniform1f(uniforms.pointSize, pointSize);
    const GLfloat attenuation[3] = { 1.0f, 0.0f, 0.01f };
    glPointParameterfv(GL_POINT_DISTANCE_ATTENUATION, attenuation);
    glTexEnvf(GL_POINT_SPRITE, GL_COORD_REPLACE, 1.0f);
    glEnable(GL_POINT_SPRITE);
    glEnable(GL_VERTEX_PROGRAM_POINT_SIZE);
    drawSystem(shader);
    glDisable(GL_POINT_SPRITE);
    glDisable(GL_VERTEX_PROGRAM_POINT_SIZE);
    shader->release();
    glDisable(GL_BLEND);
}

void ParticleSystem::drawPointSprites(Shader* shader)
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glTexEnvf(GL_POINT_SPRITE, GL_COORD_REPLACE, 1.0f);
    glEnable(GL_POINT_SPRITE);
    glEnable(GL_VERTEX_PROGRAM_POINT_SIZE);
    drawSystem(shader);
    glDisable(GL_POINT_SPRITE);
    glDisable(GL_VERTEX_PROGRAM_POINT_SIZE);
    glDisable(GL_BLEND);
}
