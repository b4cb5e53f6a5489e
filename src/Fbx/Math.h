// Small value types of the FBX layer: vectors and a 4x4 double matrix.
// Matrices are column-major (element 4*column + row) with the translation in
// elements 12..14, and act on column vectors: p' = M * p.
#pragma once

#include <array>
#include <cstdint>

namespace fbx {

struct Vec2 {
  double x = 0, y = 0;
};

struct Vec3 {
  double x = 0, y = 0, z = 0;
  double operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
  double& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
};

inline bool operator==(Vec3 a, Vec3 b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
inline bool operator!=(Vec3 a, Vec3 b) { return !(a == b); }
inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }

// Order in which the three Euler rotations are applied ("XYZ": X first).
enum class RotationOrder { XYZ = 0, XZY = 1, YZX = 2, YXZ = 3, ZXY = 4, ZYX = 5, SphericXYZ = 6 };

class Matrix4 {
 public:
  Matrix4();  // identity
  explicit Matrix4(const std::array<double, 16>& columnMajor) : m_(columnMajor) {}

  static Matrix4 translation(Vec3 t);
  static Matrix4 scaling(Vec3 s);
  // Rotation from Euler angles in degrees, applied in the given order.
  static Matrix4 rotation(Vec3 degrees, RotationOrder order = RotationOrder::XYZ);

  double operator[](int i) const { return m_[i]; }
  double& operator[](int i) { return m_[i]; }
  double at(int row, int column) const { return m_[column * 4 + row]; }
  const std::array<double, 16>& data() const { return m_; }

  Matrix4 operator*(const Matrix4& other) const;
  Vec3 transformPoint(Vec3 p) const;
  Vec3 transformVector(Vec3 v) const;
  Vec3 getTranslation() const { return {m_[12], m_[13], m_[14]}; }
  // General inverse; a singular matrix gives the identity.
  Matrix4 inverse() const;
  // The rotation part with the scale divided out (columns orthonormalised).
  Matrix4 rotationPart() const;

 private:
  std::array<double, 16> m_;
};

}  // namespace fbx
