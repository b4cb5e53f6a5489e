#pragma once
// View-frustum planes and the two box tests of the culling modes.
#include "Engine/Scene/Math.h"

#include <array>

// a*x + b*y + c*z + d >= 0 on the inner side; (a, b, c) has unit length.
struct Plane {
    float a = 0.0f, b = 0.0f, c = 0.0f, d = 0.0f;
    float distance(Vec3 p) const { return a * p.x + b * p.y + c * p.z + d; }
};

enum FrustumPlane { RightPlane, LeftPlane, TopPlane, BottomPlane, FarPlane, NearPlane, frustumPlaneCount };

struct Frustum {
    std::array<Plane, frustumPlaneCount> planes; // in FrustumPlane order
};

// Where a box lies against a frustum (values as the octree stores them).
enum BoxClass { BoxOutside = 0, BoxIntersecting = 1, BoxInside = 2 };

// The six planes of clip = projection * view (both column-major).
Frustum frustumFromMatrices(const Mat4& projection, const Mat4& view);

// Bit i set: plane i still has to be tested. A box inside a plane needs no
// test against it for any box inside or overlapping it (octree cells).
using PlaneMask = unsigned;
constexpr PlaneMask allPlanes = (1u << frustumPlaneCount) - 1;

// Outside as soon as one plane has the whole box behind it; inside when
// every plane has the whole box in front; otherwise intersecting.
BoxClass classifyBox(const Frustum& frustum, Vec3 boxMin, Vec3 boxMax);
// The same over the planes of `planes`; clears the bits of the planes that
// have the whole box in front.
BoxClass classifyBox(const Frustum& frustum, Vec3 boxMin, Vec3 boxMax, PlaneMask& planes);
// False only when one plane has the whole box behind it (boxes that
// straddle a plane count as visible).
bool isBoxVisible(const Frustum& frustum, Vec3 boxMin, Vec3 boxMax, PlaneMask planes = allPlanes);

// The same tests against the current camera's frustum (CameraState.h).
BoxClass classifyBox(Vec3 boxMin, Vec3 boxMax);
bool isBoxVisible(Vec3 boxMin, Vec3 boxMax);
