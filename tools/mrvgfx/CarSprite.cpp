#include "tools/mrvgfx/CarSprite.h"

#include "mrvutils/BitmapFont.h"
#include "tools/mrvgfx/Canvas.h"
#include "tools/mrvgfx/Palette.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

constexpr float PI = 3.14159265358979f;
constexpr int SIZE = 256;
// Camera: EYE units above the ground, DISTANCE units behind the rear face.
constexpr float EYE = 2.0f;
constexpr float DISTANCE = 5.5f;
constexpr float SCALE = 92.0f;
// Turns pivot near the middle of the car, tilts about the rear axle.
constexpr float YAW_PIVOT = 1.6f;
constexpr float PITCH_PIVOT = 0.7f;
constexpr float LENGTH = 4.2f;
constexpr float WHEEL_REAR = 0.35f;
constexpr float WHEEL_FRONT = 2.95f;
constexpr float WHEEL_LENGTH = 0.72f;

// Car coordinates: u across (right positive, half-width 1), v up from the
// ground, d forwards from the rear face.
struct P3
{
    float u, v, d;
};

struct View
{
    float yaw = 0.0f;
    float pitch = 0.0f;
    float shiftX = 0.0f;
    float ground = 0.0f;

    // Into camera space: x right, y up, z away from the camera.
    P3 camera(P3 p) const
    {
        const float d0 = p.d - YAW_PIVOT;
        const float u1 = p.u * std::cos(yaw) + d0 * std::sin(yaw);
        const float d1 = -p.u * std::sin(yaw) + d0 * std::cos(yaw) + YAW_PIVOT - PITCH_PIVOT;
        const float v2 = p.v * std::cos(pitch) + d1 * std::sin(pitch);
        const float d2 = -p.v * std::sin(pitch) + d1 * std::cos(pitch) + PITCH_PIVOT;
        return { u1, v2, d2 + DISTANCE };
    }
    P3 direction(P3 n) const
    {
        const float u1 = n.u * std::cos(yaw) + n.d * std::sin(yaw);
        const float d1 = -n.u * std::sin(yaw) + n.d * std::cos(yaw);
        return { u1, n.v * std::cos(pitch) + d1 * std::sin(pitch), -n.v * std::sin(pitch) + d1 * std::cos(pitch) };
    }
    float scale(P3 p) const { return DISTANCE / camera(p).d; }
    Shape::Point project(P3 p) const
    {
        const P3 c = camera(p);
        const float k = DISTANCE / c.d;
        return { static_cast<float>(SIZE) * 0.5f + shiftX + SCALE * c.u * k, ground - SCALE * (EYE + (c.v - EYE) * k) };
    }
    std::vector<Shape::Point> project(const std::vector<P3>& points) const
    {
        std::vector<Shape::Point> out;
        for (const P3& p : points)
            out.push_back(project(p));
        return out;
    }
    // A face is seen when its outward normal points back at the camera.
    bool faces(const std::vector<P3>& points, P3 normal) const
    {
        P3 centre { 0.0f, 0.0f, 0.0f };
        for (const P3& p : points)
        {
            const P3 c = camera(p);
            centre = { centre.u + c.u, centre.v + c.v, centre.d + c.d };
        }
        const float n = static_cast<float>(points.size());
        const P3 toFace { centre.u / n, centre.v / n - EYE, centre.d / n };
        const P3 m = direction(normal);
        return m.u * toFace.u + m.v * toFace.v + m.d * toFace.d < 0.0f;
    }
};

struct Item
{
    float depth;
    std::function<void(Canvas&)> paint;
};

Canvas::Paint verticalGradient(const std::vector<Shape::Point>& polygon, Colour top, Colour bottom)
{
    float y0 = polygon[0].y, y1 = polygon[0].y;
    for (const Shape::Point& p : polygon)
    {
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    const float span = std::max(1.0f, y1 - y0);
    return [=](float, float y) {
        return Colour::mix(top, bottom, std::min(1.0f, std::max(0.0f, (y - y0) / span)));
    };
}

// A rectangle with rounded corners on the rear face (d = 0), as a polygon.
std::vector<P3> rearRect(float u0, float v0, float u1, float v1, float radius, float d = -0.001f)
{
    std::vector<P3> out;
    const float r = std::min({ radius, (u1 - u0) * 0.5f, (v1 - v0) * 0.5f });
    const float cu[4] = { u1 - r, u1 - r, u0 + r, u0 + r };
    const float cv[4] = { v0 + r, v1 - r, v1 - r, v0 + r };
    for (int corner = 0; corner < 4; ++corner)
        for (int k = 0; k <= 4; ++k)
        {
            const float a = PI * 0.5f * (static_cast<float>(corner) + static_cast<float>(k) / 4.0f) - PI * 0.5f;
            out.push_back({ cu[corner] + r * std::cos(a), cv[corner] + r * std::sin(a), d });
        }
    return out;
}

std::vector<P3> quad(P3 a, P3 b, P3 c, P3 e)
{
    return { a, b, c, e };
}

class CarPainter
{
public:
    explicit CarPainter(const View& view) : view(view) {}

    void face(const std::vector<P3>& points, P3 normal, Colour top, Colour bottom,
              std::function<void(Canvas&)> decal = nullptr, float bias = 0.0f)
    {
        if (!view.faces(points, normal))
            return;
        float depth = bias;
        for (const P3& p : points)
            depth += view.camera(p).d;
        depth /= static_cast<float>(points.size());
        const std::vector<Shape::Point> polygon = view.project(points);
        items.push_back({ depth, [polygon, top, bottom, decal](Canvas& canvas) {
                             canvas.fill(Shape::polygon(polygon), verticalGradient(polygon, top, bottom));
                             if (decal)
                                 decal(canvas);
                         } });
    }

    // A box from lo to hi, every face toward the camera. A positive bias
    // draws it before nearer things it would wrongly cover by its centre.
    void box(P3 lo, P3 hi, Colour top, Colour side, Colour back, float bias = 0.0f)
    {
        const P3 a { lo.u, lo.v, lo.d }, b { hi.u, lo.v, lo.d }, c { hi.u, hi.v, lo.d }, e { lo.u, hi.v, lo.d };
        const P3 a2 { lo.u, lo.v, hi.d }, b2 { hi.u, lo.v, hi.d }, c2 { hi.u, hi.v, hi.d }, e2 { lo.u, hi.v, hi.d };
        face(quad(a, b, c, e), { 0.0f, 0.0f, -1.0f }, back, back * 0.7f, nullptr, bias);
        face(quad(e, c, c2, e2), { 0.0f, 1.0f, 0.0f }, top, top * 0.85f, nullptr, bias);
        face(quad(b, b2, c2, c), { 1.0f, 0.0f, 0.0f }, side, side * 0.6f, nullptr, bias);
        face(quad(a, a2, e2, e), { -1.0f, 0.0f, 0.0f }, side, side * 0.6f, nullptr, bias);
    }

    void ball(P3 centre, float radius, Colour colour, Colour rim)
    {
        const Shape::Point c = view.project(centre);
        const float r = radius * SCALE * view.scale(centre);
        items.push_back({ view.camera(centre).d, [c, r, colour, rim](Canvas& canvas) {
                             canvas.fill(Shape::circle(c.x, c.y, r), [=](float, float y) {
                                 // Lit from the sunset ahead and above: a bright rim at the top.
                                 const float t = std::max(0.0f, (c.y - y) / r - 0.35f);
                                 return Colour::mix(colour, rim, std::min(1.0f, t * 1.6f));
                             });
                         } });
    }

    void paint(Canvas& canvas)
    {
        std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.depth > b.depth; });
        for (const Item& item : items)
            item.paint(canvas);
    }

    const View& view;
    std::vector<Item> items;
};

void addWheels(CarPainter& car)
{
    const Colour tyre = Colour::hex(0x0b0710);
    const Colour tread = Colour::hex(0x221a2c);
    for (float d0 : { WHEEL_REAR, WHEEL_FRONT })
        for (int side : { -1, 1 })
        {
            const float s = static_cast<float>(side);
            const float inner = 0.64f * s, outer = 1.0f * s;
            // The body hides all but the tyres' lower halves: they go first.
            car.box({ std::min(inner, outer), 0.0f, d0 }, { std::max(inner, outer), 0.62f, d0 + WHEEL_LENGTH }, tread,
                    tyre, tyre, 100.0f);
        }
}

void addRearDetails(Canvas& canvas, const View& view)
{
    auto polygon = [&](const std::vector<P3>& pts) {
        return Shape::polygon(view.project(pts));
    };
    // Bumper and the dark band of the light grille.
    canvas.fill(polygon(rearRect(-1.0f, 0.3f, 1.0f, 0.42f, 0.05f)), Colour::hex(0x170a22));
    const Shape grille = polygon(rearRect(-0.92f, 0.46f, 0.92f, 0.66f, 0.04f));
    canvas.fill(grille, Colour::hex(0x12040f));
    // The neon slats: a glow first, then the tubes.
    std::vector<Shape> slats;
    for (int k = 0; k < 4; ++k)
    {
        const float v = 0.49f + 0.045f * static_cast<float>(k);
        slats.push_back(polygon(rearRect(-0.88f, v, 0.88f, v + 0.022f, 0.01f, -0.002f)));
    }
    const Shape lights = Shape::unite(slats);
    canvas.glow(lights, Colour::hex(0xff1f5e), 3.5f, 0.65f);
    canvas.fill(lights, Colour::hex(0xff5a8c));
    canvas.fill(polygon(rearRect(-0.12f, 0.5f, 0.12f, 0.62f, 0.02f, -0.003f)), Colour::hex(0x12040f));
    canvas.glow(polygon(rearRect(-0.07f, 0.53f, 0.07f, 0.59f, 0.02f, -0.004f)), Palette::cyan(), 1.5f, 0.8f);
    // Number plate with the production's name in the pixel font.
    canvas.fill(polygon(rearRect(-0.25f, 0.31f, 0.25f, 0.44f, 0.02f, -0.002f)), Colour::hex(0xd8d0f0));
    const std::vector<uint8_t> text = BitmapFont::columns("KLV84");
    const float cell = 0.42f / static_cast<float>(text.size());
    const float cellV = 0.1f / 8.0f;
    std::vector<Shape> dots;
    for (size_t c = 0; c < text.size(); ++c)
        for (int r = 0; r < 7; ++r)
            if ((text[c] >> r) & 1u)
            {
                const float u0 = -0.21f + static_cast<float>(c) * cell;
                const float v1 = 0.425f - static_cast<float>(r) * cellV;
                dots.push_back(polygon({ { u0, v1 - cellV, -0.003f },
                                         { u0 + cell, v1 - cellV, -0.003f },
                                         { u0 + cell, v1, -0.003f },
                                         { u0, v1, -0.003f } }));
            }
    canvas.fill(Shape::unite(dots), Colour::hex(0x2a0c40));
    // Exhausts with a hot glow inside.
    for (int side : { -1, 1 })
    {
        const Shape::Point c = view.project({ 0.6f * static_cast<float>(side), 0.33f, -0.002f });
        const float r = 0.065f * SCALE * view.scale({ 0.0f, 0.33f, 0.0f });
        canvas.fill(Shape::ellipse(c.x, c.y, r, r * 0.8f), Colour::hex(0x3a3040));
        canvas.fill(Shape::ellipse(c.x, c.y, r * 0.65f, r * 0.5f), Colour::hex(0x05020a));
        canvas.glow(Shape::ellipse(c.x, c.y, r * 0.3f, r * 0.22f), Palette::orange(), 1.2f, 0.6f);
    }
}

} // namespace

Canvas CarSprite::draw(Pose pose)
{
    View view;
    switch (pose)
    {
    case Pose::Straight:
        break;
    case Pose::Down:
        view.pitch = -0.09f;
        break;
    case Pose::Up:
        view.pitch = 0.11f;
        break;
    case Pose::Left:
        view.yaw = -0.32f;
        break;
    case Pose::Right:
        view.yaw = 0.32f;
        break;
    }
    view.ground = static_cast<float>(SIZE) * (1.0f - VISIBLE_FROM) - 6.0f;
    // Centre the turned car on the picture again, and stand its lowest wheel
    // on the picture's visible bottom line.
    {
        float x0 = 1e9f, x1 = -1e9f, yMax = -1e9f;
        for (float u : { -1.0f, 1.0f })
        {
            for (float v : { 0.3f, 0.75f })
                for (float d : { 0.0f, LENGTH })
                {
                    const Shape::Point p = view.project({ u, v, d });
                    x0 = std::min(x0, p.x);
                    x1 = std::max(x1, p.x);
                }
            for (float d : { WHEEL_REAR, WHEEL_FRONT, WHEEL_REAR + WHEEL_LENGTH, WHEEL_FRONT + WHEEL_LENGTH })
                yMax = std::max(yMax, view.project({ u, 0.0f, d }).y);
        }
        view.shiftX = static_cast<float>(SIZE) * 0.5f - (x0 + x1) * 0.5f;
        view.ground -= yMax - (static_cast<float>(SIZE) * (1.0f - VISIBLE_FROM) - 3.0f);
    }

    Canvas canvas(SIZE, SIZE);
    // Light thrown on the road: a neon pool under the car.
    {
        const Shape::Point c = view.project({ 0.0f, 0.0f, 1.6f });
        const Shape::Point l = view.project({ -1.2f, 0.0f, 1.6f });
        const float rx = std::fabs(c.x - l.x);
        canvas.glow(Shape::ellipse(c.x, c.y + 2.0f, rx, rx * 0.22f), Palette::magenta(), 6.0f, 0.45f);
        canvas.fill(Shape::ellipse(c.x, c.y + 2.0f, rx * 0.95f, rx * 0.2f), Colour(0.02f, 0.0f, 0.05f, 0.8f));
    }

    CarPainter car(view);
    addWheels(car);
    // Body: a wedge, slightly narrower at the shoulders than at the sills.
    const P3 rb0 { -1.0f, 0.3f, 0.0f }, rb1 { 1.0f, 0.3f, 0.0f };
    const P3 rt0 { -0.95f, 0.74f, 0.03f }, rt1 { 0.95f, 0.74f, 0.03f };
    const P3 fb0 { -1.0f, 0.3f, LENGTH }, fb1 { 1.0f, 0.3f, LENGTH };
    const P3 ft0 { -0.93f, 0.6f, LENGTH - 0.05f }, ft1 { 0.93f, 0.6f, LENGTH - 0.05f };
    const Colour deckTop = Colour::hex(0xe04aa8), deckBottom = Colour::hex(0x8a2a9e);
    const Colour flankTop = Colour::hex(0xa52a9a), flankBottom = Colour::hex(0x2c0c40);
    car.face(quad(rt0, rt1, ft1, ft0), { 0.0f, 1.0f, 0.0f }, deckTop, deckBottom);
    for (int side : { -1, 1 })
    {
        const bool right = side > 0;
        const P3 a = right ? rb1 : fb0, b = right ? fb1 : rb0, c = right ? ft1 : rt0, e = right ? rt1 : ft0;
        const float s = static_cast<float>(side);
        car.face(quad(a, b, c, e), { s, 0.0f, 0.0f }, flankTop, flankBottom, [view, s](Canvas& canvas) {
            // The side strakes in front of the rear wheel.
            std::vector<Shape> strakes;
            for (int k = 0; k < 4; ++k)
            {
                const float v = 0.42f + 0.07f * static_cast<float>(k);
                strakes.push_back(Shape::polygon(view.project({ { s * 1.001f, v, 1.2f },
                                                                { s * 1.001f, v, 2.5f },
                                                                { s * 1.001f, v + 0.03f, 2.5f },
                                                                { s * 1.001f, v + 0.03f, 1.2f } })));
            }
            canvas.fill(Shape::unite(strakes), Colour::hex(0x12041c));
        });
    }
    car.face(quad(rb0, rb1, rt1, rt0), { 0.0f, 0.0f, -1.0f }, Colour::hex(0x9a2898), Colour::hex(0x2a0a3a),
             [view](Canvas& canvas) {
                 addRearDetails(canvas, view);
                 // Sunset light catching the rear edge of the deck.
                 const Shape edge =
                     Shape::stroke(view.project({ { -0.95f, 0.74f, 0.03f }, { 0.95f, 0.74f, 0.03f } }), 0.7f, 0.7f);
                 canvas.glow(edge, Palette::pink(), 1.5f, 0.5f);
                 canvas.fill(edge, Colour::hex(0xffc0e0));
             });

    // Cabin: two seats with headrests, two heads, the windscreen beyond.
    for (int side : { -1, 1 })
    {
        const float s = static_cast<float>(side);
        const float u0 = s > 0 ? 0.12f : -0.74f, u1 = s > 0 ? 0.74f : -0.12f;
        car.box({ u0, 0.74f, 1.45f }, { u1, 1.02f, 1.62f }, Colour::hex(0x40204e), Colour::hex(0x1a0a26),
                Colour::hex(0x2a1236));
        const float mid = (u0 + u1) * 0.5f;
        car.box({ mid - 0.14f, 1.02f, 1.5f }, { mid + 0.14f, 1.16f, 1.6f }, Colour::hex(0x4a2658),
                Colour::hex(0x1e0c2a), Colour::hex(0x2e143a));
        const bool driver = s < 0;
        car.ball({ mid, 1.26f, 1.78f }, 0.17f, driver ? Colour::hex(0x1c0a2a) : Colour::hex(0xffb0cf),
                 driver ? Colour::hex(0x6a3a8a) : Colour::hex(0xfff0d0));
    }
    // Windscreen frame and tinted glass.
    {
        const P3 g0 { -0.88f, 0.72f, 2.55f }, g1 { 0.88f, 0.72f, 2.55f };
        const P3 g2 { 0.76f, 1.22f, 2.2f }, g3 { -0.76f, 1.22f, 2.2f };
        const std::vector<P3> glass { g0, g1, g2, g3 };
        const std::vector<Shape::Point> outline = view.project(glass);
        car.items.push_back(
            { view.camera({ 0.0f, 0.95f, 2.4f }).d, [outline](Canvas& canvas) {
                 canvas.fill(Shape::polygon(outline), Colour(0.35f, 0.85f, 1.0f, 0.22f));
                 std::vector<Shape::Point> loop = outline;
                 loop.push_back(outline.front());
                 canvas.fill(Shape::stroke(loop, 1.3f, 1.3f), Colour::hex(0x1a0a26));
                 canvas.fill(Shape::stroke({ outline[3], outline[2] }, 0.6f, 0.6f), Colour::hex(0xff9ad0));
             } });
    }
    // Mirrors on the doors.
    for (int side : { -1, 1 })
    {
        const float s = static_cast<float>(side);
        car.box({ s > 0 ? 0.98f : -1.16f, 0.8f, 2.35f }, { s > 0 ? 1.16f : -0.98f, 0.92f, 2.45f },
                Colour::hex(0xd050a8), Colour::hex(0x5a1a6a), Colour::hex(0x3a1048));
    }
    car.paint(canvas);
    canvas.bleed(3);
    return canvas;
}
