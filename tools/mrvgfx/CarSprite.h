#pragma once

class Canvas;

// The player's car seen from behind, 256 x 256 RGBA, in the five poses the
// road effect switches between. The car is a small solid model (a wedge
// body, wheels, a cabin with two heads, a neon tail-light grille) projected
// from a camera behind and above it, turned for the curves and tilted for
// the hills, so the five pictures match each other.
//
// The effect's quad reaches below the screen: only the part of the picture
// above VISIBLE_FROM (fraction of the height, from the bottom) is seen, so
// the car stands on that line and the rows below it stay empty.
class CarSprite
{
public:
    enum class Pose
    {
        Straight,
        // Road falling away ahead: the nose dips.
        Down,
        // Road rising ahead: the nose lifts.
        Up,
        // Road bending left: the nose swings left and the left flank shows.
        Left,
        Right,
    };

    static Canvas draw(Pose pose);

    static constexpr float VISIBLE_FROM = 0.342f;
};
