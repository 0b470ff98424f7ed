#pragma once

#include <functional>
#include <vector>

// A 2D region described by its signed distance in pixels: negative inside,
// positive outside, zero on the outline. Painting turns the distance into
// coverage (antialiased edges) or into a glow falloff, so every shape gets
// both for free. Coordinates are pixels of the canvas, y downwards.
class Shape
{
public:
    struct Point
    {
        float x;
        float y;
    };

    // Axis-aligned box that holds every point with distance <= 0.
    struct Bounds
    {
        float x0, y0, x1, y1;
        // Distance from p to the box, 0 inside: a lower bound of any shape's
        // distance within these bounds.
        float distance(float x, float y) const;
    };

    using Function = std::function<float(float, float)>;

    Shape(Function distance, Bounds bounds) : function(std::move(distance)), area(bounds) {}

    float distance(float x, float y) const { return function(x, y); }
    const Bounds& bounds() const { return area; }

    static Shape circle(float cx, float cy, float radius);
    // Approximate distance, exact on the axes; good enough for antialiasing.
    static Shape ellipse(float cx, float cy, float rx, float ry);
    static Shape box(float x0, float y0, float x1, float y1, float cornerRadius = 0.0f);
    // A segment with round ends whose radius goes from r0 at a to r1 at b.
    static Shape capsule(Point a, Point b, float r0, float r1);
    static Shape capsule(Point a, Point b, float radius) { return capsule(a, b, radius, radius); }
    // Any simple or self-intersecting polygon, filled by the even-odd rule.
    static Shape polygon(std::vector<Point> points);
    static Shape ring(float cx, float cy, float radius, float halfThickness);
    // A thick polyline of capsules, radius varying linearly from start to end.
    static Shape stroke(const std::vector<Point>& points, float r0, float r1);

    static Shape unite(std::vector<Shape> shapes);
    Shape intersect(const Shape& other) const;
    Shape subtract(const Shape& other) const;

private:
    Function function;
    Bounds area;
};
