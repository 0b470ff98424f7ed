#pragma once

#include "demosys/math/Vector.h"

#include <cmath>

// A rotation as w, x, y, z.
template <typename T>
class Quaternion
{
public:
    Quaternion() : w(T(1)), x(T(0)), y(T(0)), z(T(0)) {}
    Quaternion(T w_, T x_, T y_, T z_) : w(w_), x(x_), y(y_), z(z_) {}

    // Angle in radians; the axis is taken as given (callers pass unit axes).
    void axisAngleRotation(const Vector<T, 3>& axis, T angle)
    {
        const T s = std::sin(angle / T(2));
        w = std::cos(angle / T(2));
        x = s * axis[0];
        y = s * axis[1];
        z = s * axis[2];
    }

    // The rotation matrix of a unit quaternion, column-major.
    void fillGLMatrix(T* out) const
    {
        out[0] = T(1) - T(2) * (y * y + z * z);
        out[1] = T(2) * (x * y + z * w);
        out[2] = T(2) * (x * z - y * w);
        out[3] = T(0);
        out[4] = T(2) * (x * y - z * w);
        out[5] = T(1) - T(2) * (z * z + x * x);
        out[6] = T(2) * (y * z + x * w);
        out[7] = T(0);
        out[8] = T(2) * (x * z + y * w);
        out[9] = T(2) * (y * z - x * w);
        out[10] = T(1) - T(2) * (x * x + y * y);
        out[11] = T(0);
        out[12] = T(0);
        out[13] = T(0);
        out[14] = T(0);
        out[15] = T(1);
    }

    T w, x, y, z;
};

// The Hamilton product a * b.
template <typename T>
Quaternion<T> operator*(const Quaternion<T>& a, const Quaternion<T>& b)
{
    return Quaternion<T>(a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z,
                         a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
                         a.w * b.y + a.y * b.w + a.z * b.x - a.x * b.z,
                         a.w * b.z + a.z * b.w + a.x * b.y - a.y * b.x);
}
