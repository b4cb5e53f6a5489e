#pragma once
// The player: a copy of the player model walking as a crowd agent, carrying a
// pistol (with muzzle flash and a shot light) and a flashlight (a spot light
// with a light shaft). Each frame it follows its agent, places its equipment
// at the model's markers and turns towards the aim point.
#include "Game/ControllablePathFindNode.h"
#include "Game/HealthObject.h"

class PointLight;
class SpotLight;

class PlayerCharacter : public ControllablePathFindNode, public HealthObject {
public:
    // Crowd parameters of the player's agent.
    static constexpr float maxSpeed = 5.0f; // metres per second
    static constexpr float muzzleFlashSeconds = 0.07f;
    static constexpr float shotLightFadePerSecond = 2.0f;

    // Copies the player template, attaches itself below the scene root and
    // builds its equipment and lights.
    PlayerCharacter();

    // One frame: steering (relative to `cameraYaw`, radians), equipment,
    // lights and facing `aimPoint` when `aimValid`. Returns false when the
    // player is dead (nothing moved).
    bool update(double dt, float cameraYaw, bool aimValid, Vec3 aimPoint);
    // Lights the shot light and shows the muzzle flash.
    void showShot();

    Vec4 weaponTriggerAttachPoint; // marker positions in their model's space
    Vec4 shotSource;
    Vec4 flashlightMount;
    Vec4 shotSourceWorld;
    Vec4 flashlightBackCenter;
    Vec4 flashlightFrontCenter;
    PointLight* shotLight = nullptr;     // owned by the light manager
    SpotLight* flashlightLight = nullptr; // owned by the light manager
    SceneGraphNode* weapon = nullptr;     // children of the player
    SceneGraphNode* flashlight = nullptr;
    SceneGraphNode* muzzleFlash = nullptr;
    float muzzleFlashTime = -1.0f; // seconds the flash still shows; below 0 it is hidden

private:
    void setUpAgent();
    void setUpWeapon();
    void setUpFlashlight();
    void placeWeapon();
    void updateMuzzleFlash(double dt);
    void updateShotLight(double dt);
    void updateFlashlight();
};

// `point` (w = 1) transformed by `node`'s transform.
Vec3 transformMarker(const SceneGraphNode& node, Vec4 point);
// Looks `name` up below `node`; prints `warning` when it is missing.
Vec4 markerOrWarn(SceneGraphNode& node, const char* name, const char* warning);
