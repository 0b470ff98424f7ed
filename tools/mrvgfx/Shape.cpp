#include "tools/mrvgfx/Shape.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

float Shape::Bounds::distance(float x, float y) const
{
    const float dx = std::max({ x0 - x, 0.0f, x - x1 });
    const float dy = std::max({ y0 - y, 0.0f, y - y1 });
    return std::sqrt(dx * dx + dy * dy);
}

Shape Shape::circle(float cx, float cy, float radius)
{
    return Shape([=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; },
                 { cx - radius, cy - radius, cx + radius, cy + radius });
}

Shape Shape::ellipse(float cx, float cy, float rx, float ry)
{
    const float k = std::min(rx, ry);
    return Shape(
        [=](float x, float y) {
            const float u = (x - cx) / rx, v = (y - cy) / ry;
            const float len = std::sqrt(u * u + v * v);
            if (len < 1e-6f)
                return -k;
            // Scale the radial error by the local radius along this direction.
            const float local = std::hypot(u * rx, v * ry) / len;
            return (len - 1.0f) * local;
        },
        { cx - rx, cy - ry, cx + rx, cy + ry });
}

Shape Shape::box(float x0, float y0, float x1, float y1, float cornerRadius)
{
    const float cx = (x0 + x1) * 0.5f, cy = (y0 + y1) * 0.5f;
    const float hx = (x1 - x0) * 0.5f, hy = (y1 - y0) * 0.5f;
    const float r = std::min({ cornerRadius, hx, hy });
    return Shape(
        [=](float x, float y) {
            const float qx = std::fabs(x - cx) - (hx - r), qy = std::fabs(y - cy) - (hy - r);
            const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
            return outside + std::min(std::max(qx, qy), 0.0f) - r;
        },
        { x0, y0, x1, y1 });
}

Shape Shape::capsule(Point a, Point b, float r0, float r1)
{
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float len2 = dx * dx + dy * dy;
    const float rmax = std::max(r0, r1);
    return Shape(
        [=](float x, float y) {
            float h = len2 > 0.0f ? ((x - a.x) * dx + (y - a.y) * dy) / len2 : 0.0f;
            h = std::min(std::max(h, 0.0f), 1.0f);
            return std::hypot(x - a.x - dx * h, y - a.y - dy * h) - (r0 + (r1 - r0) * h);
        },
        { std::min(a.x, b.x) - rmax, std::min(a.y, b.y) - rmax, std::max(a.x, b.x) + rmax, std::max(a.y, b.y) + rmax });
}

Shape Shape::polygon(std::vector<Point> points)
{
    Bounds b { std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
               std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest() };
    for (const Point& p : points)
    {
        b.x0 = std::min(b.x0, p.x);
        b.y0 = std::min(b.y0, p.y);
        b.x1 = std::max(b.x1, p.x);
        b.y1 = std::max(b.y1, p.y);
    }
    auto pts = std::make_shared<const std::vector<Point>>(std::move(points));
    return Shape(
        [pts](float x, float y) {
            const std::vector<Point>& v = *pts;
            float best = std::numeric_limits<float>::max();
            bool inside = false;
            for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i++)
            {
                const Point& p = v[i];
                const Point& q = v[j];
                const float ex = q.x - p.x, ey = q.y - p.y;
                const float wx = x - p.x, wy = y - p.y;
                const float len2 = ex * ex + ey * ey;
                float h = len2 > 0.0f ? (wx * ex + wy * ey) / len2 : 0.0f;
                h = std::min(std::max(h, 0.0f), 1.0f);
                best = std::min(best, std::hypot(wx - ex * h, wy - ey * h));
                if ((p.y > y) != (q.y > y) && x < p.x + (y - p.y) * ex / ey)
                    inside = !inside;
            }
            return inside ? -best : best;
        },
        b);
}

Shape Shape::ring(float cx, float cy, float radius, float halfThickness)
{
    const float outer = radius + halfThickness;
    return Shape([=](float x, float y) { return std::fabs(std::hypot(x - cx, y - cy) - radius) - halfThickness; },
                 { cx - outer, cy - outer, cx + outer, cy + outer });
}

Shape Shape::stroke(const std::vector<Point>& points, float r0, float r1)
{
    std::vector<Shape> parts;
    if (points.size() == 1)
        parts.push_back(circle(points[0].x, points[0].y, r0));
    const float n = static_cast<float>(points.size() > 1 ? points.size() - 1 : 1);
    for (size_t k = 0; k + 1 < points.size(); ++k)
    {
        const float ra = r0 + (r1 - r0) * static_cast<float>(k) / n;
        const float rb = r0 + (r1 - r0) * static_cast<float>(k + 1) / n;
        parts.push_back(capsule(points[k], points[k + 1], ra, rb));
    }
    return unite(std::move(parts));
}

Shape Shape::unite(std::vector<Shape> shapes)
{
    Bounds b { std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
               std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest() };
    for (const Shape& s : shapes)
    {
        b.x0 = std::min(b.x0, s.area.x0);
        b.y0 = std::min(b.y0, s.area.y0);
        b.x1 = std::max(b.x1, s.area.x1);
        b.y1 = std::max(b.y1, s.area.y1);
    }
    auto parts = std::make_shared<const std::vector<Shape>>(std::move(shapes));
    return Shape(
        [parts](float x, float y) {
            float best = std::numeric_limits<float>::max();
            for (const Shape& s : *parts)
            {
                // A part whose box is farther away than the best distance so
                // far cannot be nearer; skipping it keeps long texts cheap.
                if (s.area.distance(x, y) >= best)
                    continue;
                best = std::min(best, s.distance(x, y));
            }
            return best;
        },
        b);
}

Shape Shape::intersect(const Shape& other) const
{
    const Shape a = *this, b = other;
    const Bounds box { std::max(a.area.x0, b.area.x0), std::max(a.area.y0, b.area.y0), std::min(a.area.x1, b.area.x1),
                       std::min(a.area.y1, b.area.y1) };
    return Shape([a, b](float x, float y) { return std::max(a.distance(x, y), b.distance(x, y)); }, box);
}

Shape Shape::subtract(const Shape& other) const
{
    const Shape a = *this, b = other;
    return Shape([a, b](float x, float y) { return std::max(a.distance(x, y), -b.distance(x, y)); }, a.area);
}
