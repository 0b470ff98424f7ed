#pragma once

#include <cmath>
#include <cstddef>
#include <ostream>

// A fixed-size vector: exactly N values of T and nothing else, so arrays of
// vectors are tightly packed and go to the GL as they are.
template <typename T, int N>
class Vector
{
public:
    Vector()
    {
        for (int i = 0; i < N; ++i)
            v[i] = T(0);
    }
    Vector(T x, T y)
    {
        static_assert(N == 2, "two components");
        v[0] = x;
        v[1] = y;
    }
    Vector(T x, T y, T z)
    {
        static_assert(N == 3, "three components");
        v[0] = x;
        v[1] = y;
        v[2] = z;
    }
    Vector(T x, T y, T z, T w)
    {
        static_assert(N == 4, "four components");
        v[0] = x;
        v[1] = y;
        v[2] = z;
        v[3] = w;
    }

    T& operator[](int i) { return v[i]; }
    const T& operator[](int i) const { return v[i]; }

    T& x() { return v[0]; }
    T& y() { return v[1]; }
    T& z() { static_assert(N >= 3, "no z"); return v[2]; }
    T& w() { static_assert(N >= 4, "no w"); return v[3]; }
    const T& x() const { return v[0]; }
    const T& y() const { return v[1]; }
    const T& z() const { static_assert(N >= 3, "no z"); return v[2]; }
    const T& w() const { static_assert(N >= 4, "no w"); return v[3]; }

    T* data() { return v; }
    const T* data() const { return v; }

    Vector operator+(const Vector& o) const
    {
        Vector r;
        for (int i = 0; i < N; ++i)
            r.v[i] = v[i] + o.v[i];
        return r;
    }
    Vector operator-(const Vector& o) const
    {
        Vector r;
        for (int i = 0; i < N; ++i)
            r.v[i] = v[i] - o.v[i];
        return r;
    }
    Vector operator*(T s) const
    {
        Vector r;
        for (int i = 0; i < N; ++i)
            r.v[i] = v[i] * s;
        return r;
    }
    Vector& operator+=(const Vector& o)
    {
        for (int i = 0; i < N; ++i)
            v[i] += o.v[i];
        return *this;
    }
    bool operator==(const Vector& o) const
    {
        for (int i = 0; i < N; ++i)
            if (!(v[i] == o.v[i]))
                return false;
        return true;
    }
    bool operator!=(const Vector& o) const { return !(*this == o); }

    // In place, with no guard: a zero vector becomes NaN.
    void normalize()
    {
        T sum = T(0);
        for (int i = 0; i < N; ++i)
            sum += v[i] * v[i];
        const T length = std::sqrt(sum);
        for (int i = 0; i < N; ++i)
            v[i] /= length;
    }

    // (1 - t) * this + t * other.
    Vector linearInterpolate(const Vector& other, T t) const
    {
        Vector r;
        for (int i = 0; i < N; ++i)
            r.v[i] = (T(1) - t) * v[i] + t * other.v[i];
        return r;
    }

private:
    T v[N];
};

// "[x,y,z]" in the stream's default number format.
template <typename T, int N>
std::ostream& operator<<(std::ostream& out, const Vector<T, N>& vec)
{
    out << "[";
    for (int i = 0; i < N; ++i)
        out << (i ? "," : "") << vec[i];
    return out << "]";
}

static_assert(sizeof(Vector<float, 3>) == 3 * sizeof(float), "vectors must pack tightly");
