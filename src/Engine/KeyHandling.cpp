#include "Engine/KeyHandling.h"

#include "Engine/Base/Config.h"
#include "Engine/Base/Globals.h"
#include "Fbx/Scene.h"
#include "Game/GameSession.h"
#include "Game/PlayerCharacter.h"
#include "Import/CameraManager.h"
#include "Input/InputSystem.h"

namespace {

// Mouse steering of the cameras: wheel units (120 per notch) and pixels.
constexpr float freeCameraWheelStep = 0.03f;  // distance per wheel unit
constexpr float freeCameraLookStep = 0.08f;   // degrees per pixel
constexpr float playerCameraTurnStep = 0.6f;  // radians per window width
constexpr float playerCameraWheelStep = 0.002f;

} // namespace

KeyHandling::KeyHandling(const KeyboardSlot& keys, const MouseSlot& mouse, CameraManager& cameras,
                         GameSession& session, int windowWidth)
    : keys(keys), mouse(mouse), cameras(cameras), session(session), windowWidth(windowWidth)
{
}

bool KeyHandling::update(double dt)
{
    handleCameraMode(dt);
    handleCameraSwitch();
    return playerMode && movePlayer();
}

// W/A/S/D into the player's movement input (S over W, D over A); the left
// button fires on its press only.
bool KeyHandling::movePlayer()
{
    PlayerCharacter* player = session.player();
    if (!player)
        return false;
    player->forwardInput = keys.isDown(KC_S) ? -1.0f : keys.isDown(KC_W) ? 1.0f : 0.0f;
    player->sidewaysInput = keys.isDown(KC_D) ? -1.0f : keys.isDown(KC_A) ? 1.0f : 0.0f;
    if (!mouse.wentDown(0))
        return false;
    session.fire();
    return true;
}

// The keys that moved the player are no longer his once the free camera
// takes them: without this he would walk on by himself.
void KeyHandling::stopPlayer()
{
    if (PlayerCharacter* player = session.player()) {
        player->forwardInput = 0.0f;
        player->sidewaysInput = 0.0f;
    }
}

void KeyHandling::handleCameraMode(double dt)
{
    if (cameraState != 1)
        return;
    if (keys.isDown(KC_LSHIFT) && keys.wentDown(KC_F)) {
        playerMode = !playerMode;
        if (!playerMode)
            stopPlayer();
    }
    if (!playerMode)
        moveFreeCamera(dt);
    else
        movePlayerCamera(static_cast<float>(dt));
}

// 1: the level's second camera, or the free/player camera when it has one
// camera at most; 0: the level's first camera with its animation running.
void KeyHandling::handleCameraSwitch()
{
    const std::vector<fbx::Node*>& list = cameras.cameraNodes();
    if (keys.wentDown(KC_1)) {
        cameras.setDefaultCamera(list.size() > 1 ? list[1]->name : fbx::kProducerPerspective);
        cameraState = 1;
    } else if (keys.wentDown(KC_0)) {
        if (!list.empty())
            cameras.setDefaultCamera(list[0]->name);
        cameraState = 0;
        cameras.selectAnimationStack();
    }
}

void KeyHandling::moveFreeCamera(double dt)
{
    bool boosted = keys.isDown(KC_SPACE) || keys.isDown(KC_LSHIFT) || keys.isDown(KC_RSHIFT);
    float d = static_cast<float>((boosted ? config::freeCameraBoostedSpeed : config::freeCameraSpeed) * dt);
    if (keys.isDown(KC_W) || keys.isDown(KC_UP)) cameras.moveForward(d);
    if (keys.isDown(KC_S) || keys.isDown(KC_LEFT)) cameras.moveForward(-d);
    if (keys.isDown(KC_A) || keys.isDown(KC_RIGHT)) cameras.strafe(d);
    if (keys.isDown(KC_D) || keys.isDown(KC_DOWN)) cameras.strafe(-d);
    if (mouse.device)
        cameras.moveForward(mouse.device->state().Z.rel * freeCameraWheelStep);
    if (keys.isDown(KC_ADD)) cameras.zoom(d);
    if (keys.isDown(KC_MINUS)) cameras.zoom(-d);
    if (mouse.device && (mouse.isDown(1) || keys.isDown(KC_LCONTROL))) {
        const MouseState& state = mouse.device->state();
        cameras.lookAround(-state.X.rel * freeCameraLookStep, state.Y.rel * freeCameraLookStep);
    }
}

void KeyHandling::movePlayerCamera(float dt)
{
    float turn = (float(keys.isDown(KC_RIGHT)) - float(keys.isDown(KC_LEFT))) * dt;
    float move = (float(keys.isDown(KC_DOWN)) - float(keys.isDown(KC_UP))) * dt;
    if (mouse.device) {
        if (mouse.isDown(1))
            turn += mouse.device->state().X.rel * playerCameraTurnStep / static_cast<float>(windowWidth);
        move -= mouse.device->state().Z.rel * playerCameraWheelStep;
    }
    PlayerCharacter* player = session.player();
    Vec3 focus;
    if (player)
        focus = player->position() + Vec3{0.0f, PathFindObject::kAgentHeight, 0.0f};
    cameras.followPlayer(turn, move, player ? &focus : nullptr, dt);
}
