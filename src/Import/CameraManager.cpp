// The camera list and publishing: the scene's camera nodes, the default
// camera, the animation clock, and the view, projection and frustum that the
// current camera gives each frame.
#include "Import/CameraManager.h"

#include "Engine/Base/Globals.h"
#include "Engine/Scene/CameraState.h"
#include "Fbx/Evaluator.h"
#include "Fbx/Scene.h"
#include "Import/CameraGeometry.h"

#include <cmath>
#include <iostream>

using namespace camera_geometry;

namespace {

constexpr double producerFarPlane = 1000.0;
constexpr double producerNearPlane = static_cast<double>(0.1f);
constexpr double producerFieldOfView = 60.0; // degrees

void collectCameras(fbx::Node* node, std::vector<fbx::Node*>& out)
{
    if (!node)
        return;
    if (node->attributeType() == fbx::AttributeType::Camera)
        out.push_back(node);
    for (fbx::Node* child : node->children)
        collectCameras(child, out);
}

} // namespace

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
    // Looked up every frame: the name is made once, not on each call.
    static const std::string producerName = fbx::kProducerPerspective;
    fbx::Camera* producer = scene->producerCamera(producerName);
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
    camera.fieldOfView = currentLayerValue(camera, "FieldOfView", camera.fieldOfView);
    if (camera.apertureMode == fbx::ApertureMode::HorizontalAndVertical) {
        camera.fieldOfViewX = currentLayerValue(camera, "FieldOfViewX", camera.fieldOfViewX);
        camera.fieldOfViewY = currentLayerValue(camera, "FieldOfViewY", camera.fieldOfViewY);
        if (camera.filmWidth * camera.fieldOfViewY != 0.0)
            camera.squeezeRatio = camera.filmHeight * camera.fieldOfViewX / (camera.filmWidth * camera.fieldOfViewY);
    }
}

// The field of view follows the current layer's own curve, not the blend of
// the stack's layers; before a stack is chosen it keeps the stored value.
double CameraManager::currentLayerValue(const fbx::Camera& camera, const char* property, double stored) const
{
    const fbx::AnimCurveNode* curveNode = currentLayer ? currentLayer->find(&camera, property) : nullptr;
    return curveNode && !curveNode->channels.empty() ? curveNode->channelValue(0, time) : stored;
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
    double fovY = camera.verticalFieldOfView();
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

