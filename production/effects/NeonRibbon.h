#pragma once

#include "mrvutils/PerlinNoise.h"

#include <memory>

class MRVMesh;
class VBODynamic;

// A thick glowing line along a smooth noise path, drawn as GL_LINES whose
// vertex pairs (0, 1), (2, 3), ... join into one polyline: vertex i sits on
// path point (i + 1) / 2.
class NeonRibbon
{
public:
    NeonRibbon(float scale, int pointCount, const float colour[4]);
    ~NeonRibbon();

    NeonRibbon(const NeonRibbon&) = delete;
    NeonRibbon& operator=(const NeonRibbon&) = delete;

    // Path point k: each coordinate a noise value of k scaled, less 1.
    void calcPoint(float* vertex, int k);
    // The first count vertices; all of them for 0, none below 0.
    void draw(int count);
    // Puts the camera on vertex index (clamped into the ribbon), looking
    // along the path, spinning slowly about it.
    void moveCamera(int index, float frameTime);

    int getPointCount() const { return pointCount; }
    float getCameraSpin() const { return cameraSpin; }
    const float* getVertex(int index) const;

private:
    int pointCount;
    float scale;
    float colour[4];
    PerlinNoise pathNoise;
    std::unique_ptr<MRVMesh> mesh;
    std::unique_ptr<VBODynamic> vertexBuffer;
    float cameraSpin = 10.0f;
};
