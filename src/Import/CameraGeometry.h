#pragma once
// Conversions between the FBX reader's double vectors and the engine's float
// ones, and the rotations the camera operations share.
#include "Engine/Scene/Math.h"
#include "Fbx/Math.h"

namespace camera_geometry {

constexpr float pi = 3.14159265f;

inline Vec3 toVec3(const fbx::Vec3& v) { return {float(v.x), float(v.y), float(v.z)}; }
inline fbx::Vec3 toFbx(Vec3 v) { return {v.x, v.y, v.z}; }
inline Mat4 toMat4(const fbx::Matrix4& m) { return Mat4::fromDoubles(m.data()); }

inline Vec3 rotateAbout(Vec3 v, float degrees, Vec3 axis)
{
    return Mat4::rotation(degrees, axis).transformDirection(v);
}

} // namespace camera_geometry
