#include "Engine/Scene/Frustum.h"

#include "Engine/Scene/CameraState.h"

#include <cmath>

namespace {

// Row i of a column-major matrix as (m[i], m[4+i], m[8+i], m[12+i]).
Vec4 row(const Mat4& m, int i) { return {m[i], m[4 + i], m[8 + i], m[12 + i]}; }

Plane normalizedPlane(Vec4 r)
{
    float len = std::sqrt(r.x * r.x + r.y * r.y + r.z * r.z);
    if (len == 0.0f)
        return Plane{};
    return Plane{r.x / len, r.y / len, r.z / len, r.w / len};
}

Vec4 add(Vec4 p, Vec4 q, float sign) { return {p.x + sign * q.x, p.y + sign * q.y, p.z + sign * q.z, p.w + sign * q.w}; }

// The box corner furthest along the plane normal.
Vec3 positiveVertex(const Plane& p, Vec3 boxMin, Vec3 boxMax)
{
    return {p.a >= 0.0f ? boxMax.x : boxMin.x, p.b >= 0.0f ? boxMax.y : boxMin.y, p.c >= 0.0f ? boxMax.z : boxMin.z};
}

Vec3 negativeVertex(const Plane& p, Vec3 boxMin, Vec3 boxMax)
{
    return {p.a >= 0.0f ? boxMin.x : boxMax.x, p.b >= 0.0f ? boxMin.y : boxMax.y, p.c >= 0.0f ? boxMin.z : boxMax.z};
}

} // namespace

Frustum frustumFromMatrices(const Mat4& projection, const Mat4& view)
{
    Mat4 clip = projection * view;
    Vec4 r0 = row(clip, 0), r1 = row(clip, 1), r2 = row(clip, 2), r3 = row(clip, 3);
    Frustum f;
    f.planes[RightPlane] = normalizedPlane(add(r3, r0, -1.0f));
    f.planes[LeftPlane] = normalizedPlane(add(r3, r0, 1.0f));
    f.planes[TopPlane] = normalizedPlane(add(r3, r1, -1.0f));
    f.planes[BottomPlane] = normalizedPlane(add(r3, r1, 1.0f));
    f.planes[FarPlane] = normalizedPlane(add(r3, r2, -1.0f));
    f.planes[NearPlane] = normalizedPlane(add(r3, r2, 1.0f));
    return f;
}

BoxClass classifyBox(const Frustum& frustum, Vec3 boxMin, Vec3 boxMax)
{
    PlaneMask planes = allPlanes;
    return classifyBox(frustum, boxMin, boxMax, planes);
}

BoxClass classifyBox(const Frustum& frustum, Vec3 boxMin, Vec3 boxMax, PlaneMask& planes)
{
    BoxClass result = BoxInside;
    for (int i = 0; i < frustumPlaneCount; ++i) {
        if (!(planes & (1u << i)))
            continue;
        const Plane& plane = frustum.planes[i];
        if (plane.distance(positiveVertex(plane, boxMin, boxMax)) < 0.0f)
            return BoxOutside;
        if (plane.distance(negativeVertex(plane, boxMin, boxMax)) < 0.0f)
            result = BoxIntersecting;
        else
            planes &= ~(1u << i);
    }
    return result;
}

bool isBoxVisible(const Frustum& frustum, Vec3 boxMin, Vec3 boxMax, PlaneMask planes)
{
    for (int i = 0; i < frustumPlaneCount; ++i) {
        const Plane& plane = frustum.planes[i];
        if ((planes & (1u << i)) && plane.distance(positiveVertex(plane, boxMin, boxMax)) < 0.0f)
            return false;
    }
    return true;
}

BoxClass classifyBox(Vec3 boxMin, Vec3 boxMax) { return classifyBox(currentCamera.frustum, boxMin, boxMax); }

bool isBoxVisible(Vec3 boxMin, Vec3 boxMax) { return isBoxVisible(currentCamera.frustum, boxMin, boxMax); }
