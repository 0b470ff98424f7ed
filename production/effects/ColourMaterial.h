#pragma once

// Fixed-function drawing in which the vertex colour is the material: the
// scene effects' glow sprites, LEDs and dots are coloured this way.
class ColourMaterial
{
public:
    // Vertex colours drive ambient and diffuse of both faces.
    static void enable();
    static void disable();
    // The vertex colour every pass leaves behind for the next one.
    static void white();
};
