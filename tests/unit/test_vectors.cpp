#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <initializer_list>

#include "constants.h"
#include "gl_support.h"
#include "vec_support.h"

static void expectVec(const Vector3D& v, float x, float y, float z, float tol = 1e-6f)
{
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

TEST(Vectors, RotationsAreRightHandedAndInDegrees)
{
    Vector3D v(0, 0, 1), xAxis(1, 0, 0);
    vec_rotate(&v, &xAxis, 90);
    expectVec(v, 0, -1, 0);

    Vector3D w(0, 0, 1), yAxis(0, 1, 0);
    vec_rotate(&w, &yAxis, 90);
    expectVec(w, 1, 0, 0);

    // The sine/cosine form is the same rotation.
    Vector3D a(0.3f, -0.4f, 0.5f), b = a, axis(1, 2, 3);
    Vector3D axis2 = axis;
    vec_rotate(&a, &axis, 33);
    vec_rotate(&b, &axis2, sinf(33 * DEG_TO_RAD), cosf(33 * DEG_TO_RAD));
    expectVec(a, b.x, b.y, b.z);
    EXPECT_NEAR(a.magnitude(), sqrtf(0.5f), 1e-6f);
}

TEST(Vectors, FreeRotateNormalisesTheAxisButMemberRotateDoesNot)
{
    Vector3D v(0, 0, 1), axis(0, 0, 2);
    vec_rotate(&v, &axis, 90);
    expectVec(axis, 0, 0, 1);
    expectVec(v, 0, 0, 1);

    Vector3D m(0, 0, 1), unnormalised(0, 0, 2);
    m.rotate(&unnormalised, 90);
    expectVec(m, 0, 0, 4, 1e-5f);
    expectVec(unnormalised, 0, 0, 2);
}

TEST(Vectors, CrossProductMayWriteIntoAnInput)
{
    Vector3D a(1, 0, 0), b(0, 1, 0);
    vec_cross(&a, &b);
    expectVec(a, 0, 0, 1);

    Vector3D c(1, 2, 3), d(4, 5, 6);
    vec_cross(&c, &d, &d);
    expectVec(d, -3, 6, -3);
}

TEST(Vectors, Arithmetic)
{
    Vector3D a(3, 4, 12), b(1, 1, 1);
    EXPECT_FLOAT_EQ(vec_magnitude(&a), 13);
    EXPECT_FLOAT_EQ(vec_dot(&a, &b), 19);
    EXPECT_FLOAT_EQ(vec_dist(&a, &b), sqrtf(4 + 9 + 121));
    vec_subtract(&a, &b);
    expectVec(a, 2, 3, 11);
    a += Vector3D(1, 1, 1);
    vec_multiply(&a, 2);
    expectVec(a, 6, 8, 24);
    vec_normalize(&a);
    expectVec(a, 6 / 26.0f, 8 / 26.0f, 24 / 26.0f);
    vec_set(&a, 7, 8, 9);
    expectVec(a, 7, 8, 9);
}

TEST(Vectors, RandomHelpersStayInTheirRanges)
{
    srand(1234);
    for (int i = 0; i < 20000; i++) {
        Vector3D v;
        vec_getRandomVec(&v);
        for (float c : {v.x, v.y, v.z}) {
            EXPECT_GE(c, -49.9f - 1e-4f);
            EXPECT_LE(c, 50.0f);
        }
        Vector3D s(1, 2, 3), before = s;
        vec_spiceUp(&s);
        EXPECT_LE(fabsf(s.x - before.x), 0.5f);
        EXPECT_LE(fabsf(s.y - before.y), 0.5f);
        EXPECT_LE(fabsf(s.z - before.z), 0.5f);
        const float r = rand_FloatRange(2, 5);
        EXPECT_GE(r, 2.0f);
        EXPECT_LE(r, 5.0f);
    }
}

TEST(Vectors, RandomHelpersDrawInComponentOrder)
{
    srand(99);
    const int r1 = rand(), r2 = rand(), r3 = rand();
    srand(99);
    Vector3D v;
    vec_getRandomVec(&v);
    EXPECT_FLOAT_EQ(v.x, 0.1f + (99.9f * RAND_SCALE) * (float)r1 - 50);
    EXPECT_FLOAT_EQ(v.y, 0.1f + (99.9f * RAND_SCALE) * (float)r2 - 50);
    EXPECT_FLOAT_EQ(v.z, 0.1f + (99.9f * RAND_SCALE) * (float)r3 - 50);
}

// Column-major product a x b.
static void mul(const float* a, const float* b, float* out)
{
    for (int c = 0; c < 4; c++)
        for (int r = 0; r < 4; r++) {
            out[c * 4 + r] = 0;
            for (int k = 0; k < 4; k++)
                out[c * 4 + r] += a[k * 4 + r] * b[c * 4 + k];
        }
}

TEST(Camera, AccumulatedMatrixFollowsTheVectorRotations)
{
    // Columns of the accumulated matrix must stay the rotated frame: x, y and position.
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    Vector3D pos(0, 0, 1), xRef(1, 0, 0), yRef(0, 1, 0);
    const float steps[][2] = {{256, 0}, {0, -256}, {181, 181}, {-100, 40}};
    for (int i = 0; i < 40; i++) {
        const float x = steps[i % 4][0], y = steps[i % 4][1];
        OpenGLAccumulateMatrix(m, x / 210, y / 210);
        vec_rotate(&pos, &xRef, y / 210);
        vec_rotate(&yRef, &xRef, y / 210);
        vec_rotate(&pos, &yRef, x / 210);
        vec_rotate(&xRef, &yRef, x / 210);
    }
    expectVec(Vector3D(m[0], m[1], m[2]), xRef.x, xRef.y, xRef.z, 1e-4f);
    expectVec(Vector3D(m[4], m[5], m[6]), yRef.x, yRef.y, yRef.z, 1e-4f);
    expectVec(Vector3D(m[8], m[9], m[10]), pos.x, pos.y, pos.z, 1e-4f);
    EXPECT_FLOAT_EQ(m[15], 1);
}

TEST(Camera, AccumulatePostMultipliesRxThenRy)
{
    float start[16] = {0.5f, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1};
    float m[16];
    std::copy(start, start + 16, m);
    OpenGLAccumulateMatrix(m, 30, 0);  // Ry(30) only
    const float s = sinf(30 * DEG_TO_RAD), c = cosf(30 * DEG_TO_RAD);
    const float ry[16] = {c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1};
    float expected[16];
    mul(start, ry, expected);
    for (int i = 0; i < 16; i++)
        EXPECT_NEAR(m[i], expected[i], 1e-6f) << i;

    std::copy(start, start + 16, m);
    OpenGLAccumulateMatrix(m, 0, 30);  // Rx(30) only
    const float rx[16] = {1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1};
    mul(start, rx, expected);
    for (int i = 0; i < 16; i++)
        EXPECT_NEAR(m[i], expected[i], 1e-6f) << i;
}

TEST(Camera, LookAtRowsAreSideUpAndViewAxis)
{
    float m[16];
    lookAtMatrix(m, 0, 0, 4, 0, 1, 0);
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; i++)
        EXPECT_FLOAT_EQ(m[i], identity[i]) << i;

    lookAtMatrix(m, 4, 0, 0, 0, 0, 1);  // eye on +x, up +z: side = up x view = +y
    EXPECT_FLOAT_EQ(m[0], 0);
    EXPECT_FLOAT_EQ(m[4], 1);
    EXPECT_FLOAT_EQ(m[8], 0);
    EXPECT_FLOAT_EQ(m[2], 1);  // view axis row
    EXPECT_FLOAT_EQ(m[9], 1);  // up row

    // The view row is the eye divided by its length (here exactly 7); multiplying
    // by the reciprocal instead rounds differently.
    lookAtMatrix(m, 2, 3, 6, 0, 1, 0);
    EXPECT_EQ(m[2], 2.0f / 7);
    EXPECT_EQ(m[6], 3.0f / 7);
    EXPECT_EQ(m[10], 6.0f / 7);

    // An eye at the origin is not divided by zero: the view row stays zero.
    lookAtMatrix(m, 0, 0, 0, 0, 1, 0);
    EXPECT_EQ(m[2], 0);
    EXPECT_EQ(m[6], 0);
    EXPECT_EQ(m[10], 0);
}

// The hit checks compare squared distances; they must decide exactly as vec_dist(a, b) < reach.
TEST(Vectors, CloserThanDecidesExactlyAsTheDistanceDoes)
{
    Vector3D origin(0, 0, 0), quarter(0.25f, 0, 0);
    EXPECT_FALSE(vec_closerThan(origin, quarter, 0.25f));  // exactly at the reach: not closer
    EXPECT_TRUE(vec_closerThan(origin, quarter, nextafterf(0.25f, 1)));
    EXPECT_FALSE(vec_closerThan(origin, origin, 0));
    EXPECT_FALSE(vec_closerThan(origin, origin, -1));
    EXPECT_TRUE(vec_closerThan(origin, origin, 1e-30f));
    EXPECT_FALSE(vec_closerThan(origin, Vector3D(NAN, 0, 0), 1));

    // Probes around game-sized reaches, each a few float steps either side of the boundary and
    // a little further out, where the squares and the roots round differently.
    const float reaches[] = {0.03f + 0.02f, 0.03f + 0.0125f, 0.04f + 0.08f, 1.0f + 0.03f, 0.03f + 0.2f, 1.0f + 0.3f};
    srand(4);
    int checked = 0, disagreements = 0;
    for (float reach : reaches) {
        for (int trial = 0; trial < 200; trial++) {
            Vector3D a, direction;
            vec_getRandomVec(&a);
            vec_normalize(&a);
            vec_getRandomVec(&direction);
            vec_normalize(&direction);
            for (int step = -40; step <= 40; step++) {
                float length = reach * (1 + step * 0x1p-23f);
                for (float scale : {1.0f, 1 + 0x1p-20f, 1 - 0x1p-20f, 1 + 0x1p-19f, 1 - 0x1p-19f}) {
                    Vector3D b(a.x + direction.x * length * scale, a.y + direction.y * length * scale,
                               a.z + direction.z * length * scale);
                    const bool expected = vec_dist(&a, &b) < reach;
                    disagreements += vec_closerThan(a, b, reach) != expected ? 1 : 0;
                    checked++;
                }
            }
        }
    }
    EXPECT_EQ(disagreements, 0) << "of " << checked << " probes";
}
