// The game's keys over synthetic input snapshots, on the real camera manager
// and session: which key wins, camera switching and Shift+F, and firing on the
// press only.
#include "GameFixture.h"

#include "Engine/KeyHandling.h"
#include "Fbx/Scene.h"
#include "Import/CameraManager.h"
#include "Input/InputSystem.h"

#include <cmath>

namespace {

class KeyHandlingTest : public GameTest {
protected:
    void setUpGame() override
    {
        input.keyboard.device = &keyboard;
        input.mouse.device = &mouse;
        input.Update();
        cameras->setCameraScene(&cameraScene);
        cameras->initCameras(1024, 768);
        playerMode = false;
    }

    // One frame with exactly `keys` held (and the left button when `fire`);
    // true when the player fired.
    bool step(const std::vector<KeyCode>& keys, bool fire = false)
    {
        for (KeyCode key : held)
            keyboard.setKeyDown(key, false);
        for (KeyCode key : keys)
            keyboard.setKeyDown(key, true);
        held = keys;
        mouse.setButtonDown(0, fire);
        input.Update();
        return KeyHandling(input.keyboard, input.mouse, *cameras, *session, 1024).update(0.1);
    }

    Keyboard keyboard;
    Mouse mouse;
    InputSystem input;
    std::vector<KeyCode> held;
    fbx::Scene cameraScene;
    CameraManager* cameras = CameraManager::getInstance();
};

// The player's move target lies one unit ahead in the keys' direction, turned
// by the camera's yaw; S wins over W and D over A, and no key leaves him where
// he stands. The camera starts at a yaw of pi/2: forward is +x, right (D) is
// +z; the turns add up: at yaw 0 forward is +z and left (A) is +x; at yaw pi
// forward is -z. The left button fires on its press only, and only in player
// mode. Shift+F switches player mode only in camera state 1, and stops the
// player when it leaves it; 1 wins over 0 in the same frame.
TEST_F(KeyHandlingTest, PlayerKeysSteerByTheCameraYawFireAndSwitchModes)
{
    PlayerCharacter& player = startGame();
    playerMode = true;
    const Vec3 here = agentPosition(player.agentIndex, {1, 1, 1});
    const float diagonal = std::sqrt(0.5f), halfPi = 1.5707964f;
    struct Case {
        float turn;
        std::vector<KeyCode> keys;
        Vec3 step;
    } cases[] = {{0, {KC_W, KC_A, KC_D}, {diagonal, 0, diagonal}}, {halfPi, {KC_W}, {0, 0, 1}}, {0, {KC_A}, {1, 0, 0}},
                 {0, {KC_W, KC_S}, {0, 0, -1}}, {-2 * halfPi, {KC_W}, {0, 0, -1}}, {0, {}, {0, 0, 0}}};
    for (const Case& c : cases) {
        cameras->followPlayer(c.turn, 0.0f, nullptr, 0.0f);
        step(c.keys);
        session->update(frameSeconds);
        const Vec3 miss = player.targetPosition - here - c.step;
        EXPECT_LT(std::hypot(miss.x, miss.z), 1e-4f) << &c - cases;
    }
    for (bool fires : {true, false}) // pressed, then held
        EXPECT_EQ(step({}, true), fires);
    cameraState = 0;
    step({KC_LSHIFT, KC_F});
    EXPECT_TRUE(playerMode);
    step({KC_0, KC_1});
    EXPECT_EQ(cameraState, 1);
    step({KC_W, KC_A});
    step({KC_W, KC_A, KC_LSHIFT, KC_F});
    EXPECT_FALSE(playerMode);
    EXPECT_EQ(player.forwardInput, 0.0f);
    EXPECT_EQ(player.sidewaysInput, 0.0f);
    EXPECT_FALSE(step({}, true));
    step({KC_LSHIFT, KC_F});
    EXPECT_TRUE(playerMode);
}

} // namespace
