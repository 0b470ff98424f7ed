#include "demosys/authoring/FlyCamera.h"

#include "demosys/runtime/MRVDemosys.h"
#include "demosys/timeline/TimelineSyntax.h"
#include "demosys/timeline/CameraTakeover.h"

#include <SDL.h>

#include <cmath>
#include <string>

namespace {

const float DEGREES = 3.14159265358979f / 180.0f;

} // namespace

bool FlyCamera::isFlying() const
{
    return takeover.flying;
}

void FlyCamera::start()
{
    const Camera& camera = MRVDemosys::camera;
    set(camera.getPosition().x(), camera.getPosition().y(), camera.getPosition().z(), camera.getPitch(),
        camera.getHeading());
}

void FlyCamera::set(float x, float y, float z, float pitch, float heading)
{
    takeover.position = Vector<float, 3>(x, y, z);
    takeover.pitch = pitch;
    takeover.heading = heading;
    takeover.flying = true;
}

void FlyCamera::stop()
{
    takeover.flying = false;
}

void FlyCamera::move(const unsigned char* keys, bool fast, float seconds)
{
    if (!takeover.flying || !keys)
        return;
    const float step = SPEED * (fast ? 5.0f : 1.0f) * seconds;
    const float h = takeover.heading * DEGREES, p = takeover.pitch * DEGREES;
    const float forward[3] = { std::sin(h) * std::cos(p), -std::sin(p), -std::cos(h) * std::cos(p) };
    const float right[3] = { std::cos(h), 0.0f, std::sin(h) };
    const float ahead = static_cast<float>(keys[SDL_SCANCODE_W] - keys[SDL_SCANCODE_S]);
    const float aside = static_cast<float>(keys[SDL_SCANCODE_D] - keys[SDL_SCANCODE_A]);
    const float up = static_cast<float>(keys[SDL_SCANCODE_E] - keys[SDL_SCANCODE_Q]);
    for (int c = 0; c < 3; ++c)
        takeover.position[c] += step * (ahead * forward[c] + aside * right[c] + (c == 1 ? up : 0.0f));
}

void FlyCamera::look(float dx, float dy)
{
    if (!takeover.flying)
        return;
    takeover.heading = std::fmod(takeover.heading + dx * LOOK, 360.0f);
    // Straight up or down, the heading would lose its meaning.
    takeover.pitch = std::fmax(-89.0f, std::fmin(89.0f, takeover.pitch + dy * LOOK));
}

std::string FlyCamera::describe() const
{
    return "[" + TimelineSyntax::formatThousandths(takeover.position.x()) + ", " +
           TimelineSyntax::formatThousandths(takeover.position.y()) + ", " +
           TimelineSyntax::formatThousandths(takeover.position.z()) + "] pitch " +
           TimelineSyntax::formatThousandths(takeover.pitch) + " heading " + TimelineSyntax::formatThousandths(takeover.heading);
}
