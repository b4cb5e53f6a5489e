#include "Import/CameraManager.h"

#include "Engine/Base/Globals.h"
#include "Engine/Scene/CameraState.h"
#include "Fbx/Evaluator.h"
#include "Fbx/Scene.h"
#include "Input/InputSystem.h"

#include <algorithm>
#include <cmath>
#include <iostream>

namespace {

CameraManager* instance = nullptr;

constexpr double producerFarPlane = 1000.0;
constexpr double producerNearPlane = static_cast<double>(0.1f);
constexpr double producerFieldOfView = 60.0;        // degrees
constexpr float lookPitchPerUnit = -0.35f;          // degrees of pitch per unit of vertical look input
constexpr float minimumPoleAngle = 0.1f;            // degrees kept from straight up or down
constexpr double maxZoomAperture = 179.0;           // square inches
constexpr double minZoomApertureRoot = 0.25;
constexpr double zoomPerUnit = 1.0 / 400.0;
constexpr float panScale = 0.05f;                   // world units per unit of pan input
constexpr float pi = 3.14159265f;

Vec3 toVec3(const fbx::Vec3& v) { return {float(v.x), float(v.y), float(v.z)}; }
fbx::Vec3 toFbx(Vec3 v) { return {v.x, v.y, v.z}; }

void collectCameras(fbx::Node* node, std::vector<fbx::Node*>& out)
{
    if (!node)
        return;
    if (node->attributeType() == fbx::AttributeType::Camera)
        out.push_back(node);
    for (fbx::Node* child : node->children)
        collectCameras(child, out);
}

Mat4 toMat4(const fbx::Matrix4& m) { return Mat4::fromDoubles(m.data()); }

Vec3 rotateAbout(Vec3 v, float degrees, Vec3 axis) { return Mat4::rotation(degrees, axis).transformDirection(v); }

bool isWholeTurn(double rollDegrees) { return static_cast<int>(rollDegrees) % 360 == 0; }

} // namespace

CameraManager* CameraManager::getInstance()
{
    if (!instance)
        instance = new CameraManager();
    return instance;
}

void CameraManager::destroyInstance()
{
    delete instance;
    instance = nullptr;
}

CameraManager::CameraManager() = default;
CameraManager::~CameraManager() = default;

void CameraManager::setCameraScene(fbx::Scene* newScene)
{
    if (!newScene) {
        std::cout << "CameraManager: No FBXLoader given." << std::endl;
        return;
    }
    scene = newScene;
    evaluator = std::make_unique<fbx::Evaluator>(*scene);
    cameras.clear();
    collectCameras(scene->rootNode(), cameras);
    stackNames = scene->animStackNames();
    currentStack = nullptr;
    currentLayer = nullptr;
    start = stop = time = 0;
    period = fbx::fromSeconds(1.0 / scene->globalSettings.frameRate());
    producerDefaultsApplied = false;
}

void CameraManager::reset()
{
    scene = nullptr;
    evaluator.reset();
    cameras.clear();
    stackNames.clear();
    currentStack = nullptr;
    currentLayer = nullptr;
    start = stop = time = 0;
}

void CameraManager::initCameras(float width, float height)
{
    screenWidth = width;
    screenHeight = height;
    setDefaultCamera(cameras.size() >= 2 ? cameras[1]->name : fbx::kProducerPerspective);
    cameraState = 1;
    if (defaultCamera() == fbx::kProducerPerspective) {
        if (fbx::Camera* producer = producerPerspective())
            producer->position = {1, 1, 1};
    }
}

void CameraManager::setDefaultCamera(const std::string& name)
{
    if (scene)
        scene->globalSettings.defaultCamera = name;
}

const std::string& CameraManager::defaultCamera() const
{
    static const std::string none = fbx::kProducerPerspective;
    return scene ? scene->globalSettings.defaultCamera : none;
}

void CameraManager::selectAnimationStack()
{
    if (!scene || stackNames.empty())
        return;
    fbx::AnimStack* stack = scene->findAnimStack(stackNames.front());
    if (!stack)
        return;
    currentStack = stack;
    currentLayer = stack->layer(0);
    evaluator->setContext(stack);
    if (const fbx::TakeInfo* take = scene->takeInfo(stack->name)) {
        start = time = take->localStart;
        stop = take->localStop;
    } else {
        stop = scene->globalSettings.timeSpanStop;
    }
}

void CameraManager::advanceClock(double seconds)
{
    if (stop <= start)
        return;
    period = fbx::fromSeconds(clockSpeedUp * seconds);
    time += period;
    if (time > stop)
        time = start;
}

fbx::Camera* CameraManager::producerPerspective()
{
    if (!scene)
        return nullptr;
    fbx::Camera* producer = scene->producerCamera(fbx::kProducerPerspective);
    if (producer && !producerDefaultsApplied) {
        producer->farPlane = producerFarPlane;
        producer->nearPlane = producerNearPlane;
        producer->fieldOfView = producerFieldOfView;
        producerDefaultsApplied = true;
    }
    return producer;
}

fbx::Camera* CameraManager::resolveCurrentCamera(fbx::Node*& node)
{
    node = nullptr;
    fbx::Camera* producer = producerPerspective();
    if (!scene || defaultCamera() == fbx::kProducerPerspective)
        return producer;
    for (fbx::Node* candidate : cameras) {
        if (candidate->name == defaultCamera() && candidate->camera()) {
            node = candidate;
            refreshFromNode(*candidate->camera(), *candidate);
            return candidate->camera();
        }
    }
    return producer;
}

void CameraManager::refreshFromNode(fbx::Camera& camera, const fbx::Node& node)
{
    Vec3 position = toMat4(evaluator->globalTransform(node, time)).translationPart();
    camera.position = toFbx(position);
    camera.fieldOfView = evaluator->evaluateNumber(camera, "FieldOfView", camera.fieldOfView, time);
    if (camera.apertureMode == fbx::ApertureMode::HorizontalAndVertical) {
        camera.fieldOfViewX = evaluator->evaluateNumber(camera, "FieldOfViewX", camera.fieldOfViewX, time);
        camera.fieldOfViewY = evaluator->evaluateNumber(camera, "FieldOfViewY", camera.fieldOfViewY, time);
        if (camera.filmWidth * camera.fieldOfViewY != 0.0)
            camera.squeezeRatio = camera.filmHeight * camera.fieldOfViewX / (camera.filmWidth * camera.fieldOfViewY);
    }
}

void CameraManager::applyCamera()
{
    fbx::Node* node = nullptr;
    fbx::Camera* camera = resolveCurrentCamera(node);
    Vec3 eye{0, 0, 1}, centre{0, 0, 0}, up{0, 1, 0};
    if (camera) {
        eye = toVec3(camera->position);
        up = toVec3(camera->upVector);
        if (node && node->target) {
            centre = toMat4(evaluator->globalTransform(*node->target, time)).translationPart();
        } else if (!node) {
            centre = toVec3(camera->interestPosition);
        } else {
            Mat4 global = toMat4(evaluator->globalTransform(*node, time));
            float distance = length(toVec3(camera->interestPosition) - global.translationPart());
            centre = eye + normalize(global.transformDirection({1, 0, 0})) * distance;
            up = normalize(global.transformDirection({0, 1, 0}));
        }
    }
    Vec3 forward = normalize(centre - eye);
    Vec3 right = normalize(cross(forward, up));
    up = normalize(cross(right, forward));
    float roll = camera ? float(camera->roll) * 3.1416f / 180.0f : 0.0f;
    up = up * std::cos(roll) + right * std::sin(roll);
    right = right * std::sin(roll);
    if (camera)
        publish(*camera, eye, centre, up, right, forward);
}

void CameraManager::publish(const fbx::Camera& camera, Vec3 eye, Vec3 centre, Vec3 up, Vec3 right, Vec3 forward)
{
    float nearPlane = float(camera.nearPlane), farPlane = float(camera.farPlane);
    if (camera.projection != fbx::ProjectionType::Perspective)
        return;
    double aspect = camera.filmWidth * camera.squeezeRatio / camera.filmHeight;
    double fovY = 0.0;
    switch (camera.apertureMode) {
    case fbx::ApertureMode::Horizontal: fovY = camera.fieldOfView / aspect; break;
    case fbx::ApertureMode::Vertical: fovY = camera.fieldOfView; break;
    case fbx::ApertureMode::FocalLength: fovY = camera.computeFieldOfView(camera.focalLength) / aspect; break;
    case fbx::ApertureMode::HorizontalAndVertical: fovY = camera.fieldOfViewY; break;
    }
    publishedCentre = centre;
    publishedUp = up;
    publishedRight = right;
    currentCamera.eye = eye;
    currentCamera.direction = forward;
    currentCamera.nearPlane = nearPlane;
    currentCamera.farPlane = farPlane;
    fovYRadians = float(fovY) * 3.1415927410125732f / 180.0f;
    float screenAspect = screenHeight > 0.0f ? screenWidth / screenHeight : 1.0f;
    currentCamera.setMatrices(lookAt(eye, centre, up), perspective(float(fovY), screenAspect, nearPlane, farPlane));
}

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

void CameraManager::updateMouseStatus()
{
    lookMode = !inputSystem.keyboard.isDown(KC_LMENU);
    const MouseSlot& mouse = inputSystem.mouse;
    status = mouse.isDown(0) ? StatusOrbit : mouse.isDown(2) ? StatusPan : mouse.isDown(1) ? StatusZoom : StatusNone;
}

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
