#include "demosys/math/Matrix.h"
#include "demosys/math/Quaternion.h"
#include "demosys/math/Vector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

TEST(Vector, PackedDefaultZeroAndArithmetic)
{
    Vector<float, 4> zero;
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(zero[i], 0.0f);
    Vector<float, 3> arr[4];
    EXPECT_EQ(reinterpret_cast<char*>(&arr[1]) - reinterpret_cast<char*>(&arr[0]), 12);

    Vector<float, 3> v(3, 0, 4);
    v.normalize();
    EXPECT_FLOAT_EQ(v.x(), 0.6f);
    EXPECT_FLOAT_EQ(v.y(), 0.0f);
    EXPECT_FLOAT_EQ(v.z(), 0.8f);

    Vector<float, 3> n;
    n.normalize();
    EXPECT_TRUE(std::isnan(n.x())) << "no guard for a zero vector";

    const Vector<float, 3> a, b(2, 4, 6);
    const Vector<float, 3> q = a.linearInterpolate(b, 0.25f);
    EXPECT_EQ(q, (Vector<float, 3>(0.5f, 1.0f, 1.5f)));
    EXPECT_EQ(a.linearInterpolate(b, 1.0f), b);

    std::ostringstream out;
    out << Vector<float, 3>(1.0f, 0.5f, -2.0f);
    EXPECT_EQ(out.str(), "[1,0.5,-2]");
}

TEST(Matrix, ColumnMajorRotationOnly)
{
    Matrix<float, 4, 4, 16> m;
    EXPECT_EQ(m[0], 1.0f);
    EXPECT_EQ(m[5], 1.0f);
    EXPECT_EQ(m[1], 0.0f);
    m.at(0, 3) = 10.0f; // translation is ignored
    m.at(0, 1) = 2.0f;  // row 0, column 1
    EXPECT_EQ(m[4], 2.0f);
    const Vector<float, 3> r = m.transformVector(Vector<float, 3>(1, 1, 1));
    EXPECT_FLOAT_EQ(r[0], 3.0f);
    EXPECT_FLOAT_EQ(r[1], 1.0f);
    EXPECT_FLOAT_EQ(r[2], 1.0f);
}

TEST(Quaternion, AxisAngleProductAndMatrix)
{
    Quaternion<float> q;
    q.axisAngleRotation(Vector<float, 3>(0, 1, 0), 3.1415927f / 2.0f);
    EXPECT_NEAR(q.w, 0.7071f, 1e-4f);
    EXPECT_NEAR(q.x, 0.0f, 1e-6f);
    EXPECT_NEAR(q.y, 0.7071f, 1e-4f);
    EXPECT_NEAR(q.z, 0.0f, 1e-6f);

    float m[16];
    q.fillGLMatrix(m);
    EXPECT_NEAR(m[0], 0.0f, 1e-6f);
    EXPECT_NEAR(m[2], -1.0f, 1e-6f);
    EXPECT_NEAR(m[8], 1.0f, 1e-6f);
    EXPECT_NEAR(m[10], 0.0f, 1e-6f);
    EXPECT_EQ(m[15], 1.0f);
    EXPECT_EQ(m[12], 0.0f);

    const Quaternion<float> one;
    for (const Quaternion<float>& p : { one * q, q * one })
    {
        EXPECT_FLOAT_EQ(p.w, q.w);
        EXPECT_FLOAT_EQ(p.y, q.y);
    }

    // i * j = k and j * i = -k: the product is not commutative.
    const Quaternion<float> i(0, 1, 0, 0), j(0, 0, 1, 0);
    EXPECT_EQ((i * j).z, 1.0f);
    EXPECT_EQ((j * i).z, -1.0f);
}
