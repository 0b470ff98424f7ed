#pragma once

#include "demosys/math/Vector.h"
#include "demosys/scene/MRVObjectFile.h"

#include <string>
#include <vector>

using Vec3 = Vector<float, 3>;

// Builds one mesh record of a 3D object file from simple solids: every
// vertex carries a position, a unit normal and a (u, v) texture coordinate,
// triangles wind counter-clockwise seen from the side their normal points to,
// and the box is taken from the positions when the record is made. Positions
// are final: the player draws them as they are, so each solid is placed
// where it stands in the scene.
class MeshBuilder
{
public:
    explicit MeshBuilder(const std::string& name);

    // The object's colour (ambient and diffuse in the player); without one
    // the record has no material and the drawing effect chooses the colour.
    MeshBuilder& colour(float r, float g, float b);
    // Where effects that turn or scale the object about its own centre take
    // that centre from; the origin unless set.
    MeshBuilder& translation(const Vec3& t);

    int vertex(const Vec3& position, const Vec3& normal, float u, float v);
    void triangle(int a, int b, int c);
    // Two triangles a-b-c and a-c-d.
    void quad(int a, int b, int c, int d);

    // A flat face through four corners given counter-clockwise as seen from
    // the front; (u, v) runs 0..1 from the first corner to the third.
    void face(const Vec3& c0, const Vec3& c1, const Vec3& c2, const Vec3& c3);
    // An axis-aligned box, six outward faces.
    void box(const Vec3& min, const Vec3& max);
    // A tube along the unit axis from base, radius r0 at the base and r1 at
    // the far end, with optional flat caps; u runs around, v along.
    void frustum(const Vec3& base, const Vec3& axis, float length, float r0, float r1, int sides, bool capBase,
                 bool capEnd);
    // A smooth sphere.
    void sphere(const Vec3& centre, float radius, int rings, int segments);
    // A sphere of flat tiles, each shrunk towards its own centre by the gap
    // (a fraction of its size), as a mirror ball is.
    void tiledSphere(const Vec3& centre, float radius, int rings, int segments, float gap);
    // A flat ring facing along the unit normal; inner radius 0 gives a disc.
    void ring(const Vec3& centre, const Vec3& normal, float inner, float outer, int segments);
    // A shallow cone opening along the unit normal: rim of radius `radius` at
    // centre, apex `depth` behind it, seen from the front (a speaker cone).
    void dish(const Vec3& centre, const Vec3& normal, float radius, float depth, int segments);

    int vertexCount() const { return static_cast<int>(positions.size()); }
    int triangleCount() const { return static_cast<int>(indices.size() / 3); }

    MRVObjectFile::Mesh build() const;

    // Two unit vectors at right angles to the unit axis and to each other.
    static void basis(const Vec3& axis, Vec3& side, Vec3& up);
    static Vec3 cross(const Vec3& a, const Vec3& b);
    static Vec3 unit(Vec3 v);

private:
    std::string name;
    bool coloured = false;
    Vec3 rgb;
    Vec3 centre;
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;
    std::vector<float> uvs;
    std::vector<int> indices;
};
