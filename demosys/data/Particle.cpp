#include "demosys/data/Particle.h"

#include <GL/glew.h>

#include <algorithm>

Particle* Particle::setPosition(float x, float y, float z)
{
    position = Vector<float, 3>(x, y, z);
    return this;
}

Particle* Particle::setDirection(float x, float y, float z)
{
    direction = Vector<float, 3>(x, y, z);
    return this;
}

Particle* Particle::setGravity(float x, float y, float z)
{
    gravity = Vector<float, 3>(x, y, z);
    return this;
}

Particle* Particle::setAcceleration(float a)
{
    acceleration = a;
    return this;
}

Particle* Particle::setSize(float s)
{
    size = s;
    return this;
}

Particle* Particle::setColor(float r, float g, float b)
{
    color[0] = r;
    color[1] = g;
    color[2] = b;
    return this;
}

Particle* Particle::setColor(float r, float g, float b, float a)
{
    color = Vector<float, 4>(r, g, b, a);
    return this;
}

Particle* Particle::setLifespan(float seconds)
{
    lifespan = seconds;
    return this;
}

Particle* Particle::setEnergy(float e)
{
    energy = e;
    return this;
}

Particle* Particle::setRotation(float spin_)
{
    spin = spin_;
    angle = 0.0f;
    return this;
}

bool Particle::advance(float dt)
{
    if (isDead())
        return false;

    position += direction * dt + gravity * dt;
    direction += direction * ((acceleration - 1.0f) * dt * 10.0f);

    angle += dt * spin;
    if (angle > 360.0f)
        angle -= 360.0f;
    else if (angle < 0.0f)
        angle += 360.0f;

    energy = std::max(0.0f, energy - dt);
    if (lifespan != -1.0f)
        lifespan = std::max(0.0f, lifespan - dt);
    return true;
}

void Particle::drawQuad(bool extraRotation, float extraAngle, const Vector<int, 3>& axis) const
{
    glPushMatrix();
    glColor4f(color[0], color[1], color[2], getAlpha());

    glTranslatef(position[0], position[1], position[2]);
    glRotatef(angle, 0.0f, 0.0f, 1.0f);
    if (extraRotation)
        glRotatef(-extraAngle, static_cast<float>(axis[0]), static_cast<float>(axis[1]), static_cast<float>(axis[2]));

    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-size, -size, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(size, -size, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(size, size, 0.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-size, size, 0.0f);
    glEnd();
    glPopMatrix();
}

void Particle::draw(float dt)
{
    if (advance(dt))
        drawQuad(false, 0.0f, Vector<int, 3>());
}

void Particle::draw(float dt, float extraAngle, const Vector<int, 3>& axis)
{
    if (advance(dt))
        drawQuad(true, extraAngle, axis);
}
