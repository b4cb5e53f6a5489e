#pragma once
// Conversions between the engine's vectors and Bullet's.
#include "Engine/Scene/Math.h"

#include <LinearMath/btVector3.h>

inline btVector3 toBullet(Vec3 v) { return {v.x, v.y, v.z}; }
inline Vec3 fromBullet(const btVector3& v) { return {v.x(), v.y(), v.z()}; }
