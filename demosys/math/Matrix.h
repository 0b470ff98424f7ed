#pragma once

#include "demosys/math/Vector.h"

// A matrix of `size` values in OpenGL's column-major order: element i + rows*j
// is row i, column j, so a 4x4 float matrix goes to glMultMatrixf as it is.
template <typename T, int rows, int cols, int size>
class Matrix
{
public:
    static_assert(rows * cols == size, "size must be rows * cols");

    Matrix()
    {
        for (int i = 0; i < size; ++i)
            m[i] = T(0);
        for (int i = 0; i < rows && i < cols; ++i)
            m[i + rows * i] = T(1);
    }

    T& operator[](int i) { return m[i]; }
    const T& operator[](int i) const { return m[i]; }
    T& at(int row, int col) { return m[row + rows * col]; }
    const T& at(int row, int col) const { return m[row + rows * col]; }
    T* data() { return m; }
    const T* data() const { return m; }

    // The rotation part only: translation and the fourth row are ignored.
    Vector<T, 3> transformVector(const Vector<T, 3>& v) const
    {
        static_assert(rows == 4 && cols == 4, "4x4 only");
        Vector<T, 3> r;
        for (int i = 0; i < 3; ++i)
            r[i] = v[0] * m[i] + v[1] * m[i + 4] + v[2] * m[i + 8];
        return r;
    }

private:
    T m[size];
};
