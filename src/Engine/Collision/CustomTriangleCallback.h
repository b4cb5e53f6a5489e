#pragma once
// Ray-against-triangles callback for the BVH ray casts of the collision
// queries: remembers the nearest hit fraction and counts every reported hit.
// Bullet only reports a triangle that lies nearer than the last reported one,
// so the traversal narrows itself as hits come in.
#include <BulletCollision/NarrowPhaseCollision/btRaycastCallback.h>

#include <array>

class CustomTriangleCallback : public btTriangleRaycastCallback {
public:
    // Fraction reported when nothing was hit (far beyond the segment's 0..1).
    static constexpr float noHitFraction = 1e17f;
    // Fractions kept in `hitFractions`; further hits are only counted (no heap
    // use: the ray queries run every frame).
    static constexpr int maxRecordedHits = 16;

    // The segment from `from` to `to`, in the space of the mesh it is cast into.
    CustomTriangleCallback(const btVector3& from, const btVector3& to);

    btScalar reportHit(const btVector3& hitNormalLocal, btScalar hitFraction, int partId,
                       int triangleIndex) override;

    bool hasHit() const { return hitCount > 0; }
    float nearestFraction() const { return smallestFraction; }
    int getHitCount() const { return hitCount; }
    // The first min(hitCount, maxRecordedHits) reported fractions, in report order.
    const std::array<float, maxRecordedHits>& getHitFractions() const { return hitFractions; }

private:
    float smallestFraction = noHitFraction;
    int hitCount = 0;
    std::array<float, maxRecordedHits> hitFractions{};
};
