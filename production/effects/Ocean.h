#pragma once

#include "mrvutils/PerlinNoise.h"

#include <memory>

class MRVMesh;
class VBODynamic;

// An endless sea: an n x n noise heightfield that scrolls towards the
// viewer. The sub-row part of the travel is a translation; each time it
// passes a row spacing the heights move one row forward inside the mapped
// vertex buffer and only the new back row is computed, from the next noise
// row, so the sea never repeats.
class Ocean
{
public:
    Ocean(float width, float depth, int resolution);
    ~Ocean();

    Ocean(const Ocean&) = delete;
    Ocean& operator=(const Ocean&) = delete;

    void move(unsigned int time, unsigned int frameTime);
    // Tilts and scrolls the current model-view (not pushed) and draws.
    void draw();

    // The sub-row scroll offset, in [0, depth / resolution).
    float getTranslated() const { return translated; }
    int getNoiseRow() const { return noiseRow; }
    int getResolution() const { return resolution; }
    float getRowSpacing() const { return depth / static_cast<float>(resolution); }
    VBODynamic* getVertexBuffer() const { return vertexBuffer.get(); }
    // The wave height source: -getValue(column, noise row) is a vertex's y.
    PerlinNoise& getWaveNoise() { return waveNoise; }

private:
    void generatePlane();
    void shift();
    float columnX(int c) const;

    float width;
    float depth;
    int resolution;
    std::unique_ptr<MRVMesh> mesh;
    std::unique_ptr<VBODynamic> vertexBuffer;
    PerlinNoise waveNoise;
    int noiseRow = 0;
    float translated = 0.0f;
};
