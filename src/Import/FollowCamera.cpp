// The follow camera: the producer perspective camera placed behind and above
// the player, at a smoothed distance that the player zooms.
#include "Import/CameraManager.h"

#include "Fbx/Scene.h"
#include "Import/CameraGeometry.h"

#include <algorithm>

using namespace camera_geometry;

void CameraManager::followPlayer(float turn, float zoomInput, const Vec3* focus, float seconds)
{
    Vec3 target = focus ? Vec3{focus->x, focus->y - focusDrop, focus->z} : Vec3{};
    yaw -= turn; // a positive turn swings the view to the right
    targetDistance = std::clamp(targetDistance + zoomInput * followZoomStep, minFollowDistance, maxFollowDistance);
    const float turnRadians = 6.2831855f;
    if (yaw > turnRadians) yaw -= turnRadians;
    if (yaw < -turnRadians) yaw += turnRadians;

    float omega = 2.0f / followSmoothingTime;
    float x = omega * seconds;
    float e = 1.0f / (1.0f + x + 0.48f * x * x + 0.235f * x * x * x);
    float change = smoothedDistance - targetDistance;
    float temp = (distanceVelocity + omega * change) * seconds;
    distanceVelocity = (distanceVelocity - omega * temp) * e;
    smoothedDistance = targetDistance + (change + temp) * e;

    fbx::Camera* producer = producerPerspective();
    if (!producer)
        return;
    producer->interestPosition = toFbx(target);
    float pitchDegrees = (smoothedDistance / maxFollowDistance) * 1.5707964f * 0.99f * 180.0f / pi;
    Vec3 direction = rotateAbout({0, 0, -1}, pitchDegrees, {1, 0, 0});
    direction = rotateAbout(direction, yaw * 180.0f / pi, {0, 1, 0});
    producer->position = toFbx(target + direction * (smoothedDistance / followDistanceScale));
}
