// The game's keys over synthetic input snapshots, on the real camera manager
// and session: Shift+F and firing on the press only.
#include "GameFixture.h"

#include "Engine/KeyHandling.h"
#include "Fbx/Scene.h"
#include "Import/CameraManager.h"
#include "Input/InputSystem.h"

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

// The left button fires on its press only, and only in player mode. Shift+F
// switches player mode only in camera state 1, and stops the player when it
// leaves it: he does not walk on by himself while the free camera flies.
TEST_F(KeyHandlingTest, FireOnThePressAndShiftFLeavesPlayerModeStoppingThePlayer)
{
    PlayerCharacter& player = startGame();
    for (bool fires : {true, false}) // pressed, then held
        EXPECT_EQ(step({}, true), fires);
    cameraState = 0;
    step({KC_LSHIFT, KC_F});
    EXPECT_TRUE(playerMode);
    cameraState = 1;
    step({KC_W, KC_A});
    ASSERT_EQ(player.forwardInput, 1.0f);
    step({KC_W, KC_A, KC_LSHIFT, KC_F});
    EXPECT_FALSE(playerMode);
    EXPECT_EQ(player.forwardInput, 0.0f);
    EXPECT_EQ(player.sidewaysInput, 0.0f);
    EXPECT_FALSE(step({}, true));
}

} // namespace
