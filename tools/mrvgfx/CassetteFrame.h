#pragma once

class Canvas;

// The tape in the stereo's deck, 512 x 512 RGB, in four frames whose reel
// hubs stand 15 degrees apart: the effect shows tape4, tape3, tape2, tape1
// in turn every 100 ms, and the hubs' six teeth repeat every 60 degrees, so
// the reels turn without a jump. The effect maps only s 0.001-0.623 and
// t 0.209-0.999 of the picture onto a 1.05 x 0.656 quad: the cassette is
// drawn at that quad's proportions into exactly that region.
class CassetteFrame
{
public:
    // frame 1 to 4, as in the file names tape1.png to tape4.png.
    static Canvas draw(int frame);

    static constexpr float S0 = 0.001f;
    static constexpr float S1 = 0.623f;
    static constexpr float T0 = 0.209f;
    static constexpr float T1 = 0.999f;
};
