#pragma once
// Small vector and matrix types for the scene and the renderer.
// Matrices are 4x4 floats in column-major order (element 4 * column + row,
// translation in elements 12, 13, 14), handed to OpenGL untransposed, and act
// on column vectors: p' = M * p. Angles are in degrees unless a name says otherwise.
#include <array>

struct Vec3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

struct Vec4 {
    float x = 0.0f, y = 0.0f, z = 0.0f, w = 0.0f;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline bool operator==(Vec3 a, Vec3 b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
inline bool operator!=(Vec3 a, Vec3 b) { return !(a == b); }
inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 cross(Vec3 a, Vec3 b);
float length(Vec3 v);
// v scaled to unit length; the zero vector stays zero.
Vec3 normalize(Vec3 v);
Vec3 componentMin(Vec3 a, Vec3 b);
Vec3 componentMax(Vec3 a, Vec3 b);

struct Mat4 {
    std::array<float, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; // identity

    float operator[](int i) const { return m[i]; }
    float& operator[](int i) { return m[i]; }
    float at(int row, int column) const { return m[column * 4 + row]; }
    const float* data() const { return m.data(); }

    static Mat4 identity() { return Mat4{}; }
    static Mat4 translation(float x, float y, float z);
    static Mat4 scaling(float x, float y, float z);
    // Rotation by `degrees` about `axis` (need not be unit length), right-handed.
    static Mat4 rotation(float degrees, Vec3 axis);
    static Mat4 rotationY(float degrees);
    // Converts a matrix of doubles in the same element order.
    static Mat4 fromDoubles(const std::array<double, 16>& columnMajor);

    Mat4 operator*(const Mat4& other) const;
    Vec4 operator*(Vec4 v) const;
    // (x, y, z, 1) transformed, divided by nothing: affine use.
    Vec3 transformPoint(Vec3 p) const;
    Vec3 transformDirection(Vec3 d) const;
    Vec3 translationPart() const { return {m[12], m[13], m[14]}; }
    // General inverse; a singular matrix gives the identity.
    Mat4 inverse() const;
};

bool operator==(const Mat4& a, const Mat4& b);
inline bool operator!=(const Mat4& a, const Mat4& b) { return !(a == b); }

// View matrix looking from `eye` towards `centre` with `up` roughly upwards.
Mat4 lookAt(Vec3 eye, Vec3 centre, Vec3 up);
// OpenGL perspective projection: vertical field of view in degrees,
// width / height aspect, positive near and far distances.
Mat4 perspective(float fovYDegrees, float aspect, float nearPlane, float farPlane);

constexpr float degreesToRadians = 3.14159265358979323846f / 180.0f;
constexpr float radiansToDegrees = 180.0f / 3.14159265358979323846f;
