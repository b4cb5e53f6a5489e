// The free camera: steering of the producer perspective camera by keys and
// mouse motion. Every operation leaves other cameras alone.
#include "Import/CameraManager.h"

#include "Fbx/Scene.h"
#include "Import/CameraGeometry.h"

#include <algorithm>
#include <cmath>

using namespace camera_geometry;

namespace {

constexpr float lookPitchPerUnit = -0.35f; // degrees of pitch per unit of vertical look input
constexpr float minimumPoleAngle = 0.1f;   // degrees kept from straight up or down
constexpr double maxZoomAperture = 179.0;  // square inches
constexpr double minZoomApertureRoot = 0.25;
constexpr double zoomPerUnit = 1.0 / 400.0;
constexpr float panScale = 0.05f;          // world units per unit of pan input

bool isWholeTurn(double rollDegrees) { return static_cast<int>(rollDegrees) % 360 == 0; }

} // namespace

fbx::Camera* CameraManager::steerableCamera()
{
    fbx::Node* node = nullptr;
    fbx::Camera* current = resolveCurrentCamera(node);
    return current && current == producerPerspective() ? current : nullptr;
}

void CameraManager::moveForward(float distance)
{
    fbx::Camera* camera = steerableCamera();
    if (!camera || distance == 0.0f)
        return;
    Vec3 position = toVec3(camera->position), interest = toVec3(camera->interestPosition);
    Vec3 step = normalize(interest - position) * distance;
    camera->position = toFbx(position + step);
    camera->interestPosition = toFbx(interest + step);
}

void CameraManager::strafe(float distance)
{
    fbx::Camera* camera = steerableCamera();
    if (!camera || distance == 0.0f)
        return;
    Vec3 position = toVec3(camera->position), interest = toVec3(camera->interestPosition);
    Vec3 view = interest - position;
    float angle = view.z == 0.0f ? 90.0f : std::atan(view.x / view.z) * 180.0f / pi;
    if (view.z < 0.0f)
        angle += 180.0f;
    if (!isWholeTurn(camera->roll))
        distance = -distance;
    // The horizontal direction to the left of the view.
    float radians = angle * pi / 180.0f;
    Vec3 left{std::cos(radians), 0.0f, -std::sin(radians)};
    Vec3 shift = left * distance;
    camera->position = toFbx(position + shift);
    camera->interestPosition = toFbx(interest + shift);
}

void CameraManager::pan(float dx, float dy)
{
    fbx::Camera* camera = steerableCamera();
    if (!camera || (dx == 0.0f && dy == 0.0f))
        return;
    Vec3 position = toVec3(camera->position), interest = toVec3(camera->interestPosition);
    Vec3 forward = normalize(interest - position);
    Vec3 right = normalize(cross(forward, toVec3(camera->upVector)));
    Vec3 up = normalize(cross(right, forward));
    Vec3 shift = (right * -dx + up * dy) * panScale;
    camera->position = toFbx(position + shift);
    camera->interestPosition = toFbx(interest + shift);
}

void CameraManager::zoom(float amount)
{
    fbx::Camera* camera = steerableCamera();
    if (!camera)
        return;
    if (camera->projection != fbx::ProjectionType::Perspective) {
        orthoZoom *= 0.8;
        return;
    }
    double oldWidth = camera->filmWidth, oldHeight = camera->filmHeight;
    double root = std::sqrt(oldWidth);
    double t = std::max(root - amount * zoomPerUnit, minZoomApertureRoot);
    if (t * t > maxZoomAperture)
        t = std::sqrt(maxZoomAperture);
    double focal = camera->apertureMode == fbx::ApertureMode::FocalLength
                       ? camera->focalLength
                       : camera->computeFocalLength(camera->fieldOfView);
    camera->filmWidth = t * t;
    camera->filmHeight = std::pow((t / root) * std::sqrt(oldHeight), 2.0);
    camera->fieldOfView = camera->computeFieldOfView(focal);
    camera->focalLength = focal;
    camera->filmWidth = oldWidth;
    camera->filmHeight = oldHeight;
}

void CameraManager::orbit(float dx, float dy)
{
    fbx::Camera* camera = steerableCamera();
    if (!camera || (dx == 0.0f && dy == 0.0f))
        return;
    Vec3 centre = toVec3(camera->interestPosition);
    Vec3 current = toVec3(camera->position) - centre;
    Vec3 v = current;
    float rotX = v.z == 0.0f ? 90.0f : float(int(std::atan(v.x / v.z) * 180.0f / 3.14159f));
    bool rolled = !isWholeTurn(camera->roll);
    if ((v.z < 0.0f && !rolled) || (v.z > 0.0f && rolled))
        dy = -dy;
    if (rolled)
        dx = -dx;
    const Vec3 xAxis{1, 0, 0}, yAxis{0, 1, 0};
    v = rotateAbout(v, -rotX, yAxis);
    v = rotateAbout(v, dy, xAxis);
    v = rotateAbout(v, rotX, yAxis);
    v = rotateAbout(v, -dx, yAxis);
    if (v.x * current.x < 0.0f && v.z * current.z < 0.0f)
        camera->roll = 180.0 - camera->roll;
    camera->position = toFbx(v + centre);
}

void CameraManager::lookAround(float dx, float dy)
{
    if (!lookMode) {
        if (status == StatusOrbit) orbit(dx, dy);
        else if (status == StatusZoom) zoom(dy);
        else if (status == StatusPan) pan(dx, dy);
        return;
    }
    fbx::Camera* camera = steerableCamera();
    if (!camera || status != StatusNone)
        return;
    Vec3 position = toVec3(camera->position);
    Vec3 view = toVec3(camera->interestPosition) - position;
    const Vec3 vertical{0, 1, 0};
    view = rotateAbout(view, dx, vertical);
    Vec3 horizontal = cross(view, vertical);
    if (length(horizontal) > 0.0f) {
        float elevation = std::asin(std::clamp(normalize(view).y, -1.0f, 1.0f)) * 180.0f / pi;
        float limit = 90.0f - minimumPoleAngle;
        float pitch = std::clamp(elevation + dy * lookPitchPerUnit, -limit, limit) - elevation;
        view = rotateAbout(view, pitch, horizontal);
    }
    camera->interestPosition = toFbx(position + view);
}

void CameraManager::updateMouseStatus(bool leftAltHeld, MouseButtons held)
{
    lookMode = !leftAltHeld;
    status = held.left ? StatusOrbit : held.middle ? StatusPan : held.right ? StatusZoom : StatusNone;
}
