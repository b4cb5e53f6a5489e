#include "Fbx/Math.h"

#include <cmath>

namespace fbx {

namespace {

constexpr double kDegreesToRadians = 3.14159265358979323846 / 180.0;

Matrix4 axisRotation(int axis, double degrees) {
  const double c = std::cos(degrees * kDegreesToRadians);
  const double s = std::sin(degrees * kDegreesToRadians);
  Matrix4 r;
  const int a = (axis + 1) % 3;  // the two axes spanning the rotation plane
  const int b = (axis + 2) % 3;
  r[a * 4 + a] = c;
  r[b * 4 + b] = c;
  r[a * 4 + b] = s;   // column a, row b
  r[b * 4 + a] = -s;  // column b, row a
  return r;
}

// Axis indices in application order for each rotation order.
constexpr int kOrderAxes[7][3] = {{0, 1, 2}, {0, 2, 1}, {1, 2, 0}, {1, 0, 2},
                                  {2, 0, 1}, {2, 1, 0}, {0, 1, 2}};

Vec3 normalized(Vec3 v) {
  const double len = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return len > 0 ? v * (1.0 / len) : v;
}

double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec3 cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

}  // namespace

Matrix4::Matrix4() : m_{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1} {}

Matrix4 Matrix4::translation(Vec3 t) {
  Matrix4 r;
  r[12] = t.x;
  r[13] = t.y;
  r[14] = t.z;
  return r;
}

Matrix4 Matrix4::scaling(Vec3 s) {
  Matrix4 r;
  r[0] = s.x;
  r[5] = s.y;
  r[10] = s.z;
  return r;
}

Matrix4 Matrix4::rotation(Vec3 degrees, RotationOrder order) {
  const int* axes = kOrderAxes[static_cast<int>(order)];
  // The first axis applied is the rightmost factor.
  return axisRotation(axes[2], degrees[axes[2]]) * axisRotation(axes[1], degrees[axes[1]]) *
         axisRotation(axes[0], degrees[axes[0]]);
}

Matrix4 Matrix4::operator*(const Matrix4& o) const {
  Matrix4 r;
  for (int c = 0; c < 4; ++c) {
    for (int row = 0; row < 4; ++row) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += m_[k * 4 + row] * o.m_[c * 4 + k];
      r.m_[c * 4 + row] = sum;
    }
  }
  return r;
}

Vec3 Matrix4::transformPoint(Vec3 p) const {
  return {m_[0] * p.x + m_[4] * p.y + m_[8] * p.z + m_[12],
          m_[1] * p.x + m_[5] * p.y + m_[9] * p.z + m_[13],
          m_[2] * p.x + m_[6] * p.y + m_[10] * p.z + m_[14]};
}

Vec3 Matrix4::transformVector(Vec3 v) const {
  return {m_[0] * v.x + m_[4] * v.y + m_[8] * v.z, m_[1] * v.x + m_[5] * v.y + m_[9] * v.z,
          m_[2] * v.x + m_[6] * v.y + m_[10] * v.z};
}

Matrix4 Matrix4::inverse() const {
  const auto& a = m_;
  std::array<double, 16> inv;
  inv[0] = a[5] * a[10] * a[15] - a[5] * a[11] * a[14] - a[9] * a[6] * a[15] +
           a[9] * a[7] * a[14] + a[13] * a[6] * a[11] - a[13] * a[7] * a[10];
  inv[4] = -a[4] * a[10] * a[15] + a[4] * a[11] * a[14] + a[8] * a[6] * a[15] -
           a[8] * a[7] * a[14] - a[12] * a[6] * a[11] + a[12] * a[7] * a[10];
  inv[8] = a[4] * a[9] * a[15] - a[4] * a[11] * a[13] - a[8] * a[5] * a[15] +
           a[8] * a[7] * a[13] + a[12] * a[5] * a[11] - a[12] * a[7] * a[9];
  inv[12] = -a[4] * a[9] * a[14] + a[4] * a[10] * a[13] + a[8] * a[5] * a[14] -
            a[8] * a[6] * a[13] - a[12] * a[5] * a[10] + a[12] * a[6] * a[9];
  inv[1] = -a[1] * a[10] * a[15] + a[1] * a[11] * a[14] + a[9] * a[2] * a[15] -
           a[9] * a[3] * a[14] - a[13] * a[2] * a[11] + a[13] * a[3] * a[10];
  inv[5] = a[0] * a[10] * a[15] - a[0] * a[11] * a[14] - a[8] * a[2] * a[15] +
           a[8] * a[3] * a[14] + a[12] * a[2] * a[11] - a[12] * a[3] * a[10];
  inv[9] = -a[0] * a[9] * a[15] + a[0] * a[11] * a[13] + a[8] * a[1] * a[15] -
           a[8] * a[3] * a[13] - a[12] * a[1] * a[11] + a[12] * a[3] * a[9];
  inv[13] = a[0] * a[9] * a[14] - a[0] * a[10] * a[13] - a[8] * a[1] * a[14] +
            a[8] * a[2] * a[13] + a[12] * a[1] * a[10] - a[12] * a[2] * a[9];
  inv[2] = a[1] * a[6] * a[15] - a[1] * a[7] * a[14] - a[5] * a[2] * a[15] +
           a[5] * a[3] * a[14] + a[13] * a[2] * a[7] - a[13] * a[3] * a[6];
  inv[6] = -a[0] * a[6] * a[15] + a[0] * a[7] * a[14] + a[4] * a[2] * a[15] -
           a[4] * a[3] * a[14] - a[12] * a[2] * a[7] + a[12] * a[3] * a[6];
  inv[10] = a[0] * a[5] * a[15] - a[0] * a[7] * a[13] - a[4] * a[1] * a[15] +
            a[4] * a[3] * a[13] + a[12] * a[1] * a[7] - a[12] * a[3] * a[5];
  inv[14] = -a[0] * a[5] * a[14] + a[0] * a[6] * a[13] + a[4] * a[1] * a[14] -
            a[4] * a[2] * a[13] - a[12] * a[1] * a[6] + a[12] * a[2] * a[5];
  inv[3] = -a[1] * a[6] * a[11] + a[1] * a[7] * a[10] + a[5] * a[2] * a[11] -
           a[5] * a[3] * a[10] - a[9] * a[2] * a[7] + a[9] * a[3] * a[6];
  inv[7] = a[0] * a[6] * a[11] - a[0] * a[7] * a[10] - a[4] * a[2] * a[11] +
           a[4] * a[3] * a[10] + a[8] * a[2] * a[7] - a[8] * a[3] * a[6];
  inv[11] = -a[0] * a[5] * a[11] + a[0] * a[7] * a[9] + a[4] * a[1] * a[11] -
            a[4] * a[3] * a[9] - a[8] * a[1] * a[7] + a[8] * a[3] * a[5];
  inv[15] = a[0] * a[5] * a[10] - a[0] * a[6] * a[9] - a[4] * a[1] * a[10] +
            a[4] * a[2] * a[9] + a[8] * a[1] * a[6] - a[8] * a[2] * a[5];
  const double det = a[0] * inv[0] + a[1] * inv[4] + a[2] * inv[8] + a[3] * inv[12];
  if (det == 0 || !std::isfinite(det)) return Matrix4();
  for (double& v : inv) v /= det;
  return Matrix4(inv);
}

Matrix4 Matrix4::rotationPart() const {
  // Gram-Schmidt on the three axis columns: scale and shear are removed.
  Vec3 x = normalized({m_[0], m_[1], m_[2]});
  Vec3 y = {m_[4], m_[5], m_[6]};
  y = normalized(y - x * dot(x, y));
  Vec3 z = cross(x, y);
  if (dot(z, Vec3{m_[8], m_[9], m_[10]}) < 0) z = z * -1.0;  // keep a mirrored basis mirrored
  Matrix4 r;
  for (int i = 0; i < 3; ++i) {
    r[i] = x[i];
    r[4 + i] = y[i];
    r[8 + i] = z[i];
  }
  return r;
}

}  // namespace fbx
