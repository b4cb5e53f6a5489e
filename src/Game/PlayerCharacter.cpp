#include "Game/PlayerCharacter.h"

#include "Engine/Collision/CollisionWorld.h"
#include "Engine/Lights/LightManager.h"
#include "Engine/Lights/PointLight.h"
#include "Engine/Lights/SpotLight.h"
#include "Engine/Scene/NodeManager.h"
#include "Import/GameObjects.h"
#include "Navigation/CrowdAgent.h"

#include <DetourCrowd.h>

#include <algorithm>
#include <iostream>

namespace {

const Vec3 shotLightColour{1.0f, 0.9f, 0.6f};
const LightFalloff shotLightFalloff{32.0f, 1.0f, 0.14f, 0.07f};
const Vec3 flashlightColour{1.0f, 0.9f, 0.7f};
const LightFalloff flashlightFalloff{200.0f, 1.0f, 0.022f, 0.0019f};
constexpr float flashlightInnerDegrees = 17.0f;
constexpr float flashlightOuterDegrees = 70.0f;
constexpr float flashlightFrontFactor = 0.9f; // the light sits just inside the lens

SceneGraphNode* copyOf(GameObject which) { return new SceneGraphNode(requireGameObjectTemplate(which)); }

void moveTo(SceneGraphNode& node, Vec3 position)
{
    node.resetTranslation();
    node.translate(position.x, position.y, position.z);
}

} // namespace

Vec3 transformMarker(const SceneGraphNode& node, Vec4 point)
{
    return node.getTransform().transformPoint({point.x, point.y, point.z});
}

Vec4 markerOrWarn(SceneGraphNode& node, const char* name, const char* warning)
{
    Vec4 position;
    if (!node.findMarker(name, position)) {
        std::cout << warning << std::endl;
        return {};
    }
    return position;
}

PlayerCharacter::PlayerCharacter() : ControllablePathFindNode(requireGameObjectTemplate(GameObject::PlayerDummy))
{
    setParent(NodeManager::getInstance()->getRoot());
    setUpAgent();
    setUpWeapon();
    shotLight = new PointLight({}, shotLightColour, "playerWeaponShotLight", shotLightFalloff);
    LightManager::getInstance()->addLight(shotLight);
    shotLight->intensity = 0.0f;
    Vec3 source = transformMarker(*weapon, shotSource);
    shotSourceWorld = {source.x, source.y, source.z, 1.0f};
    muzzleFlash = copyOf(GameObject::MuzzleFlash);
    muzzleFlash->setParent(this);
    muzzleFlash->setVisible(false);
    updateMuzzleFlash(0.0);
    setUpFlashlight();
    CollisionWorld::getInstance()->setOwner(this, this);
}

void PlayerCharacter::setUpAgent()
{
    dtCrowdAgent* agent = crowdAgent(agentIndex);
    if (!agent)
        return;
    agent->params.separationWeight = 0.0f;
    agent->params.maxSpeed = maxSpeed;
}

void PlayerCharacter::setUpWeapon()
{
    weapon = copyOf(GameObject::Pistol);
    addChild(weapon);
    if (findMarker("WeaponTriggerAttachpoint", weaponTriggerAttachPoint))
        placeWeapon();
    else
        std::cout << "Warning: Weapon trigger attachpoint not defined" << std::endl;
    shotSource = markerOrWarn(*weapon, "ShotSource", "Warning: Weapon has no shot source defined");
    flashlightMount =
        markerOrWarn(*weapon, "FlashlightMount", "Warning: Weapon has no flashlight mount point defined");
}

void PlayerCharacter::setUpFlashlight()
{
    flashlight = copyOf(GameObject::Flashlight);
    flashlight->setParent(this);
    flashlightBackCenter =
        markerOrWarn(*flashlight, "FlashlightBackCenter", "Warning: Flashlight has no back point defined");
    flashlightFrontCenter =
        markerOrWarn(*flashlight, "FlashlightFrontCenter", "Warning: Flashlight has no front point defined");
    flashlightLight = new SpotLight({}, {0.0f, 180.0f, 0.0f}, flashlightColour, "playerFlashlightLight",
                                    flashlightInnerDegrees, flashlightOuterDegrees, flashlightFalloff);
    LightManager::getInstance()->addLight(flashlightLight);
    flashlightLight->shaftEnabled = true;
    updateFlashlight();
}

bool PlayerCharacter::update(double dt, float cameraYaw, bool aimValid, Vec3 aimPoint)
{
    if (health <= 0.0f)
        return false;
    steer(cameraYaw);
    followAgent();
    placeWeapon();
    updateMuzzleFlash(dt);
    Vec3 source = transformMarker(*weapon, shotSource);
    shotSourceWorld = {source.x, source.y, source.z, 1.0f};
    updateShotLight(dt);
    updateFlashlight();
    if (aimValid)
        faceTowards(aimPoint);
    return true;
}

void PlayerCharacter::showShot()
{
    shotLight->intensity = std::min(shotLight->intensity + 1.0f, 1.0f);
    muzzleFlashTime = muzzleFlashSeconds;
}

void PlayerCharacter::placeWeapon() { moveTo(*weapon, transformMarker(*this, weaponTriggerAttachPoint)); }

void PlayerCharacter::updateMuzzleFlash(double dt)
{
    moveTo(*muzzleFlash, transformMarker(*weapon, shotSource));
    muzzleFlashTime -= static_cast<float>(dt);
    muzzleFlash->setVisible(muzzleFlashTime >= 0.0f);
}

void PlayerCharacter::updateShotLight(double dt)
{
    moveTo(*shotLight, {shotSourceWorld.x, shotSourceWorld.y, shotSourceWorld.z});
    shotLight->intensity = std::max(shotLight->intensity - shotLightFadePerSecond * float(dt), 0.0f);
}

// The flashlight hangs at the weapon's mount by its back centre; the light
// shines from just inside its front, along the player's facing.
void PlayerCharacter::updateFlashlight()
{
    const Mat4& weaponTransform = weapon->getTransform();
    Vec3 offset{flashlightMount.x - flashlightBackCenter.x, flashlightMount.y - flashlightBackCenter.y,
                flashlightMount.z - flashlightBackCenter.z};
    moveTo(*flashlight, weaponTransform.transformPoint(offset));
    flashlightLight->setTransform(getTransform());
    flashlightLight->rotateY(180.0f);
    Vec3 lens = offset + Vec3{flashlightFrontCenter.x, flashlightFrontCenter.y, flashlightFrontCenter.z} *
                             flashlightFrontFactor;
    moveTo(*flashlightLight, weaponTransform.transformPoint(lens));
}
