#include "renderLevel.h"

#include "Engine/Base/Config.h"
#include "Engine/Lights/LightManager.h"
#include "Engine/Lights/SpotLight.h"
#include "Engine/Render/Octree.h"
#include "Engine/Scene/NodeManager.h"
#include "Import/SceneLoader.h"

#include <cmath>
#include <iostream>

namespace renderlevel {

namespace {
constexpr Vec3 flashlightColour{1.0f, 0.9f, 0.7f};
constexpr float flashlightInner = 17.0f; // degrees
constexpr float flashlightOuter = 70.0f;
constexpr LightFalloff flashlightFalloff{200.0f, 1.0f, 0.022f, 0.0019f};

// Angles about X and Y (degrees) that turn the light's -Z axis onto `direction`.
Vec3 anglesFor(Vec3 direction)
{
    Vec3 d = normalize(direction);
    float pitch = std::asin(std::fmax(-1.0f, std::fmin(1.0f, d.y)));
    float yaw = std::atan2(-d.x, -d.z);
    return {pitch * radiansToDegrees, yaw * radiansToDegrees, 0.0f};
}
} // namespace

bool load()
{
    NodeManager* nodes = NodeManager::getInstance();
    if (!nodes->getRoot())
        nodes->createRoot();
    SceneLoader* loader = SceneLoader::getInstance();
    loader->loadScene(config::sphereFile, config::spherePrefix);
    if (SceneGraphNode* sphere = nodes->findByName(config::sphereNode))
        sphere->setVisible(false); // a leaf: only its own flag
    LightManager::getInstance()->buildPointLightVolume();
    loader->loadScene(config::levelFile, config::levelPrefix);
    SceneGraphNode* level = nodes->findByName(config::levelRootNode);
    if (!level) {
        std::cerr << "render level: " << config::levelFile << " did not load (run from bin/)" << std::endl;
        return false;
    }
    level->setParent(nodes->getRoot());
    nodes->getRoot()->update();
    Octree::getInstance()->build();
    return true;
}

void levelBounds(Vec3& boxMin, Vec3& boxMax)
{
    SceneGraphNode* level = NodeManager::getInstance()->findByName(config::levelRootNode);
    boxMin = level ? level->getBoundsMin() : Vec3{};
    boxMax = level ? level->getBoundsMax() : Vec3{};
}

SpotLight* addFlashlight(Vec3 position, Vec3 direction)
{
    auto* light = new SpotLight(position, anglesFor(direction), flashlightColour, "benchFlashlight", flashlightInner,
                                flashlightOuter, flashlightFalloff);
    light->shaftEnabled = true;
    LightManager::getInstance()->addLight(light);
    return light;
}

void aimFlashlight(SpotLight& light, Vec3 position, Vec3 direction)
{
    Vec3 angles = anglesFor(direction);
    light.setTransform(Mat4::translation(position.x, position.y, position.z)
                       * Mat4::rotation(angles.y, {0.0f, 1.0f, 0.0f})
                       * Mat4::rotation(angles.x, {1.0f, 0.0f, 0.0f}));
    light.computeBounds();
}

} // namespace renderlevel
