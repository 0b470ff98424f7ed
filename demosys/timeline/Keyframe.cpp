#include "demosys/timeline/Keyframe.h"

#include <iostream>

Keyframe::Keyframe(const Vector<float, 3>& position_, float pitch_, float heading_)
    : position(position_), pitch(pitch_), heading(heading_)
{
}

void Keyframe::print() const
{
    std::cout << "pos " << position.x() << " " << position.y() << " " << position.z() << std::endl;
    std::cout << "rot " << pitch << " " << heading << std::endl;
}
