#include "tools/mrvmodels/MeshBuilder.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float TWO_PI = 6.28318530718f;
constexpr float PI = 3.14159265359f;

float dot(const Vec3& a, const Vec3& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

} // namespace

MeshBuilder::MeshBuilder(const std::string& name_) : name(name_)
{
}

MeshBuilder& MeshBuilder::colour(float r, float g, float b)
{
    coloured = true;
    rgb = Vec3(r, g, b);
    return *this;
}

MeshBuilder& MeshBuilder::translation(const Vec3& t)
{
    centre = t;
    return *this;
}

Vec3 MeshBuilder::cross(const Vec3& a, const Vec3& b)
{
    return Vec3(a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]);
}

Vec3 MeshBuilder::unit(Vec3 v)
{
    // Degenerate input keeps its zeros rather than turning into NaN.
    if (dot(v, v) > 0.0f)
        v.normalize();
    return v;
}

void MeshBuilder::basis(const Vec3& axis, Vec3& side, Vec3& up)
{
    const Vec3 helper = std::fabs(axis[1]) < 0.9f ? Vec3(0.0f, 1.0f, 0.0f) : Vec3(1.0f, 0.0f, 0.0f);
    side = unit(cross(helper, axis));
    up = cross(axis, side);
}

int MeshBuilder::vertex(const Vec3& position, const Vec3& normal, float u, float v)
{
    positions.push_back(position);
    normals.push_back(normal);
    uvs.push_back(u);
    uvs.push_back(v);
    return vertexCount() - 1;
}

void MeshBuilder::triangle(int a, int b, int c)
{
    indices.insert(indices.end(), { a, b, c });
}

void MeshBuilder::quad(int a, int b, int c, int d)
{
    triangle(a, b, c);
    triangle(a, c, d);
}

void MeshBuilder::face(const Vec3& c0, const Vec3& c1, const Vec3& c2, const Vec3& c3)
{
    const Vec3 n = unit(cross(c2 - c0, c3 - c1));
    const int a = vertex(c0, n, 0.0f, 0.0f);
    const int b = vertex(c1, n, 1.0f, 0.0f);
    const int c = vertex(c2, n, 1.0f, 1.0f);
    const int d = vertex(c3, n, 0.0f, 1.0f);
    quad(a, b, c, d);
}

void MeshBuilder::box(const Vec3& lo, const Vec3& hi)
{
    const float x0 = lo[0], y0 = lo[1], z0 = lo[2];
    const float x1 = hi[0], y1 = hi[1], z1 = hi[2];
    face(Vec3(x0, y0, z1), Vec3(x1, y0, z1), Vec3(x1, y1, z1), Vec3(x0, y1, z1)); // front (+z)
    face(Vec3(x1, y0, z0), Vec3(x0, y0, z0), Vec3(x0, y1, z0), Vec3(x1, y1, z0)); // back
    face(Vec3(x1, y0, z1), Vec3(x1, y0, z0), Vec3(x1, y1, z0), Vec3(x1, y1, z1)); // right (+x)
    face(Vec3(x0, y0, z0), Vec3(x0, y0, z1), Vec3(x0, y1, z1), Vec3(x0, y1, z0)); // left
    face(Vec3(x0, y1, z1), Vec3(x1, y1, z1), Vec3(x1, y1, z0), Vec3(x0, y1, z0)); // top (+y)
    face(Vec3(x0, y0, z0), Vec3(x1, y0, z0), Vec3(x1, y0, z1), Vec3(x0, y0, z1)); // bottom
}

void MeshBuilder::frustum(const Vec3& base, const Vec3& axis, float length, float r0, float r1, int sides,
                          bool capBase, bool capEnd)
{
    Vec3 side, up;
    basis(axis, side, up);
    const Vec3 end = base + axis * length;
    const int first = vertexCount();
    for (int k = 0; k <= sides; ++k)
    {
        const float a = TWO_PI * static_cast<float>(k) / static_cast<float>(sides);
        const Vec3 dir = side * std::cos(a) + up * std::sin(a);
        // Outward on a cone: across the surface, tilted back by the slope.
        const Vec3 n = unit(dir * length - axis * (r1 - r0));
        const float u = static_cast<float>(k) / static_cast<float>(sides);
        vertex(base + dir * r0, n, u, 0.0f);
        vertex(end + dir * r1, n, u, 1.0f);
    }
    for (int k = 0; k < sides; ++k)
    {
        const int b0 = first + 2 * k, e0 = b0 + 1, b1 = b0 + 2, e1 = b0 + 3;
        quad(b0, b1, e1, e0);
    }
    auto cap = [&](const Vec3& at, float radius, const Vec3& normal, bool reversed) {
        const int middle = vertex(at, normal, 0.5f, 0.5f);
        for (int k = 0; k <= sides; ++k)
        {
            const float a = TWO_PI * static_cast<float>(k) / static_cast<float>(sides);
            vertex(at + (side * std::cos(a) + up * std::sin(a)) * radius, normal, 0.5f + 0.5f * std::cos(a),
                   0.5f + 0.5f * std::sin(a));
        }
        for (int k = 0; k < sides; ++k)
        {
            if (reversed)
                triangle(middle, middle + 2 + k, middle + 1 + k);
            else
                triangle(middle, middle + 1 + k, middle + 2 + k);
        }
    };
    if (capBase)
        cap(base, r0, axis * -1.0f, true);
    if (capEnd)
        cap(end, r1, axis, false);
}

void MeshBuilder::sphere(const Vec3& middle, float radius, int rings, int segments)
{
    const int first = vertexCount();
    for (int i = 0; i <= rings; ++i)
    {
        const float theta = PI * static_cast<float>(i) / static_cast<float>(rings);
        for (int j = 0; j <= segments; ++j)
        {
            const float phi = TWO_PI * static_cast<float>(j) / static_cast<float>(segments);
            const Vec3 n(std::sin(theta) * std::cos(phi), std::cos(theta), -std::sin(theta) * std::sin(phi));
            vertex(middle + n * radius, n, static_cast<float>(j) / static_cast<float>(segments),
                   1.0f - static_cast<float>(i) / static_cast<float>(rings));
        }
    }
    const int row = segments + 1;
    for (int i = 0; i < rings; ++i)
        for (int j = 0; j < segments; ++j)
        {
            const int a = first + i * row + j;
            // Top row: a, a + row, a + row + 1, a + 1 runs counter-clockwise
            // seen from outside (phi grows towards -z, i.e. eastwards).
            quad(a, a + row, a + row + 1, a + 1);
        }
}

void MeshBuilder::tiledSphere(const Vec3& middle, float radius, int rings, int segments, float gap)
{
    auto point = [&](int i, int j) {
        const float theta = PI * static_cast<float>(i) / static_cast<float>(rings);
        const float phi = TWO_PI * static_cast<float>(j) / static_cast<float>(segments);
        return Vec3(std::sin(theta) * std::cos(phi), std::cos(theta), -std::sin(theta) * std::sin(phi)) * radius;
    };
    for (int i = 0; i < rings; ++i)
        for (int j = 0; j < segments; ++j)
        {
            Vec3 corner[4] = { point(i, j), point(i + 1, j), point(i + 1, j + 1), point(i, j + 1) };
            const Vec3 mid = (corner[0] + corner[1] + corner[2] + corner[3]) * 0.25f;
            const Vec3 n = unit(mid);
            for (Vec3& c : corner)
                c = middle + c + (mid - c) * gap;
            const int a = vertex(corner[0], n, 0.0f, 1.0f);
            const int b = vertex(corner[1], n, 0.0f, 0.0f);
            const int c = vertex(corner[2], n, 1.0f, 0.0f);
            const int d = vertex(corner[3], n, 1.0f, 1.0f);
            // The polar tiles are triangles: their two pole corners coincide.
            if (i == 0)
                triangle(a, b, c);
            else if (i == rings - 1)
                triangle(a, b, d);
            else
                quad(a, b, c, d);
        }
}

void MeshBuilder::ring(const Vec3& middle, const Vec3& normal, float inner, float outer, int segments)
{
    Vec3 side, up;
    basis(normal, side, up);
    const int first = vertexCount();
    for (int k = 0; k <= segments; ++k)
    {
        const float a = TWO_PI * static_cast<float>(k) / static_cast<float>(segments);
        const Vec3 dir = side * std::cos(a) + up * std::sin(a);
        const float ratio = inner / outer;
        vertex(middle + dir * outer, normal, 0.5f + 0.5f * std::cos(a), 0.5f + 0.5f * std::sin(a));
        vertex(middle + dir * inner, normal, 0.5f + 0.5f * ratio * std::cos(a), 0.5f + 0.5f * ratio * std::sin(a));
    }
    // side x up = normal, so growing angles turn counter-clockwise seen from
    // the front.
    for (int k = 0; k < segments; ++k)
    {
        const int o0 = first + 2 * k, i0 = o0 + 1, o1 = o0 + 2, i1 = o0 + 3;
        if (inner > 0.0f)
            quad(i0, o0, o1, i1);
        else
            triangle(i0, o0, o1);
    }
}

void MeshBuilder::dish(const Vec3& middle, const Vec3& normal, float radius, float depth, int segments)
{
    Vec3 side, up;
    basis(normal, side, up);
    const Vec3 apex = middle - normal * depth;
    const int first = vertexCount();
    for (int k = 0; k <= segments; ++k)
    {
        const float a = TWO_PI * static_cast<float>(k) / static_cast<float>(segments);
        const Vec3 dir = side * std::cos(a) + up * std::sin(a);
        // The inside of the cone, which faces the front.
        const Vec3 n = unit(normal * radius - dir * depth);
        const float u = static_cast<float>(k) / static_cast<float>(segments);
        vertex(middle + dir * radius, n, u, 1.0f);
        vertex(apex, normal, u, 0.0f);
    }
    for (int k = 0; k < segments; ++k)
    {
        const int r0 = first + 2 * k, a0 = r0 + 1, r1 = r0 + 2;
        triangle(a0, r0, r1);
    }
}

MRVObjectFile::Mesh MeshBuilder::build() const
{
    MRVObjectFile::Mesh mesh;
    mesh.name = name;
    if (coloured)
    {
        mesh.materialCount = 1;
        mesh.material.colour1 = rgb * 0.2f;
        mesh.material.colour2 = rgb;
        mesh.material.colour3 = Vec3(0.5f, 0.5f, 0.5f);
    }
    mesh.translation = centre;
    if (!positions.empty())
    {
        mesh.bboxMin = positions[0];
        mesh.bboxMax = positions[0];
        for (const Vec3& p : positions)
            for (int k = 0; k < 3; ++k)
            {
                mesh.bboxMin[k] = std::min(mesh.bboxMin[k], p[k]);
                mesh.bboxMax[k] = std::max(mesh.bboxMax[k], p[k]);
            }
    }
    mesh.vertexCount = vertexCount();
    mesh.positionSize = 3;
    mesh.normalSize = 3;
    mesh.texCoordSize = 2;
    mesh.vertices.reserve(positions.size() * 8);
    for (size_t i = 0; i < positions.size(); ++i)
    {
        mesh.vertices.insert(mesh.vertices.end(), positions[i].data(), positions[i].data() + 3);
        mesh.vertices.insert(mesh.vertices.end(), normals[i].data(), normals[i].data() + 3);
        mesh.vertices.insert(mesh.vertices.end(), { uvs[2 * i], uvs[2 * i + 1] });
    }
    mesh.triangleCount = triangleCount();
    mesh.indices = indices;
    return mesh;
}
