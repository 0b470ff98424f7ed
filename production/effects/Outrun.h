#pragma once

#include <memory>
#include <vector>

class VBODynamic;

// The arcade road: a flat grid of coloured tiles laid out along -z, bent
// sideways by the turn and up or down by the hill, a cosine of each row's
// depth, and slid towards the viewer modulo one colour-map period so that it
// appears to run on for ever. Also the background band, the darkening
// towards the horizon and the two rows of roadside trees, which follow the
// same bend.
//
// The geometry is built once. Per frame only the x and y of the vertices are
// rewritten, in place in the mapped vertex buffer, from two cosines per row.
class Outrun
{
public:
    // colourMap: RGB in 0..1 for rowsPerSegment x tilesAcross tiles, read in
    // the constructor only.
    Outrun(float width, int segments, int tilesAcross, int rowsPerSegment, const float* colourMap);
    ~Outrun();

    Outrun(const Outrun&) = delete;
    Outrun& operator=(const Outrun&) = delete;

    void setEyeHeight(float height) { eyeHeight = height; }
    // Written by the effect each frame before draw, drawLighting and
    // drawTrees; the background drifts by the previous frame's turn.
    void setTurn(float value) { turn = value; }
    void setHill(float value) { hill = value; }
    float getTurn() const { return turn; }
    float getHill() const { return hill; }

    // Advances the road by frameTime x speed and draws it.
    void draw(unsigned int frameTime, float speed);
    void drawBackground(unsigned int frameTime);
    void drawLighting();
    void drawTrees(unsigned int frameTime);
    // The per-frame vertex rewrite for the current turn, hill and position.
    void distortTiles();

    float getRoadPosition() const { return roadPosition; }
    float getTreePosition() const { return treePosition; }
    float getBackgroundOffset() const { return backgroundOffset; }
    float getTileSize() const { return tileSize; }
    int getVertexCount() const { return floatCount / 3; }
    const float* getBasePositions() const { return basePositions.data(); }
    VBODynamic* getVertexBuffer() const { return vertexBuffer.get(); }

private:
    void precalcTiles();
    void precalcColors(const float* colourMap);
    // c(d) - 1 for the row's depth d: the bend grows from 0 at the viewer.
    float bend(float depth) const;

    float roadWidth;
    int segmentCount;
    int tilesAcross;
    int rowsPerSegment;
    float eyeHeight = 0.0f;
    float speed = 0.0f;
    float roadPosition = 0.0f;
    float treePosition = 0.0f;
    float tileSize;
    std::unique_ptr<VBODynamic> vertexBuffer;
    int floatCount;
    std::vector<float> basePositions;
    float backgroundOffset = 0.0f;
    float turn = 0.0f;
    float hill = 0.0f;
};
