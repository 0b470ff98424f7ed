#pragma once

#include "tools/mrvgfx/Colour.h"

// The production's colours: a synthwave night, from the deep blue-black of
// the sky's top through violet and magenta to the orange and gold of a
// sunset, with cyan for the cold neon. Every picture draws from these.
struct Palette
{
    static Colour ink() { return Colour::hex(0x07020f); }
    static Colour night() { return Colour::hex(0x0c0520); }
    static Colour indigo() { return Colour::hex(0x1d0b45); }
    static Colour violet() { return Colour::hex(0x4a177e); }
    static Colour purple() { return Colour::hex(0x8a1fa8); }
    static Colour magenta() { return Colour::hex(0xff2bd6); }
    static Colour pink() { return Colour::hex(0xff4f9a); }
    static Colour orange() { return Colour::hex(0xff8a3d); }
    static Colour gold() { return Colour::hex(0xffd640); }
    static Colour cyan() { return Colour::hex(0x2de2ff); }
    static Colour ice() { return Colour::hex(0xd2f8ff); }
    static Colour white() { return Colour(1.0f, 1.0f, 1.0f); }
};
