#include "Engine/Collision/CustomTriangleCallback.h"

CustomTriangleCallback::CustomTriangleCallback(const btVector3& from, const btVector3& to)
    : btTriangleRaycastCallback(from, to)
{
}

btScalar CustomTriangleCallback::reportHit(const btVector3& /*hitNormalLocal*/, btScalar hitFraction,
                                           int /*partId*/, int /*triangleIndex*/)
{
    if (hitFraction < smallestFraction)
        smallestFraction = hitFraction;
    if (hitCount < maxRecordedHits)
        hitFractions[hitCount] = hitFraction;
    ++hitCount;
    return hitFraction;
}
