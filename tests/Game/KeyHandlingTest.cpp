// The game's keys over synthetic input snapshots, on the real camera manager
// and session: which key wins, what the free camera does, camera switching and
// Shift+F, and firing on the press only.
#include "GameFixture.h"

#include "Engine/Base/Globals.h"
#include "Engine/KeyHandling.h"
#include "Fbx/Scene.h"
#include "Game/GameSession.h"
#include "Game/PlayerCharacter.h"
#include "Import/CameraManager.h"
#include "Input/InputSystem.h"

#include <gtest/gtest.h>

#include <vector>

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
        producer = cameras->producerPerspective();
        ASSERT_NE(producer, nullptr);
        startCamera = *producer;
        playerMode = false;
    }

    void TearDown() override
    {
        playerMode = true;
        cameraState = 1;
        GameTest::TearDown();
    }

    // One frame of `dt` seconds with exactly `keys` held (and the left button
    // when `fire`); true when the player fired.
    bool step(const std::vector<KeyCode>& keys, bool fire = false, double dt = 0.1)
    {
        for (KeyCode key : held)
            keyboard.setKeyDown(key, false);
        for (KeyCode key : keys)
            keyboard.setKeyDown(key, true);
        held = keys;
        mouse.setButtonDown(0, fire);
        input.Update();
        return KeyHandling(input.keyboard, input.mouse, *cameras, *session, 1024).update(dt);
    }

    // Where the free camera stands after one frame with `keys`, from the start.
    Vec3 freeCameraAfter(const std::vector<KeyCode>& keys)
    {
        *producer = startCamera;
        step(keys);
        step({});
        return {float(producer->position.x), float(producer->position.y), float(producer->position.z)};
    }

    Keyboard keyboard;
    Mouse mouse;
    InputSystem input;
    std::vector<KeyCode> held;
    fbx::Scene cameraScene;
    CameraManager* cameras = CameraManager::getInstance();
    fbx::Camera* producer = nullptr;
    fbx::Camera startCamera;
};

// S wins over W and D over A; the left button fires on its press only, and
// only in player mode.
TEST_F(KeyHandlingTest, PlayerKeysGiveTheMovementAndFireOnThePress)
{
    PlayerCharacter& player = startGame();
    playerMode = true;
    struct Case {
        std::vector<KeyCode> keys;
        float forward, sideways;
    } cases[] = {{{KC_W}, 1, 0}, {{KC_W, KC_S}, -1, 0}, {{KC_A}, 0, 1}, {{KC_A, KC_D}, 0, -1}, {{}, 0, 0}};
    for (const Case& c : cases) {
        step(c.keys);
        EXPECT_EQ(player.forwardInput, c.forward) << c.keys.size();
        EXPECT_EQ(player.sidewaysInput, c.sideways) << c.keys.size();
    }
    for (bool fires : {true, false}) // pressed, then held
        EXPECT_EQ(step({}, true), fires);
    step({});
    playerMode = false;
    EXPECT_FALSE(step({}, true));
}

// The arrows move as W, S, A and D do; Space or either Shift triples the
// speed; + and - zoom opposite ways.
TEST_F(KeyHandlingTest, FreeCameraMovesWithArrowsOrLettersBoostsAndZooms)
{
    Vec3 start = freeCameraAfter({});
    const std::pair<KeyCode, KeyCode> arrows[] = {{KC_UP, KC_W}, {KC_LEFT, KC_S}, {KC_RIGHT, KC_A}, {KC_DOWN, KC_D}};
    for (const auto& [arrow, letter] : arrows) {
        Vec3 byArrow = freeCameraAfter({arrow});
        EXPECT_GT(length(byArrow - start), 0.1f) << arrow;
        EXPECT_LT(length(byArrow - freeCameraAfter({letter})), 1e-4f) << arrow;
    }
    float normal = length(freeCameraAfter({KC_W}) - start);
    for (KeyCode boost : {KC_SPACE, KC_LSHIFT, KC_RSHIFT})
        EXPECT_NEAR(length(freeCameraAfter({KC_W, boost}) - start), 3.0f * normal, 1e-3f) << boost;
    freeCameraAfter({KC_ADD});
    EXPECT_LT(producer->fieldOfView, startCamera.fieldOfView);
    freeCameraAfter({KC_MINUS});
    EXPECT_GT(producer->fieldOfView, startCamera.fieldOfView);
}

// Shift+F switches player mode only in camera state 1, and stops the player
// when it leaves it; 1 wins over 0 in the same frame.
TEST_F(KeyHandlingTest, ShiftFAndTheCameraKeys)
{
    PlayerCharacter& player = startGame();
    cameraState = 0;
    step({KC_LSHIFT, KC_F});
    EXPECT_FALSE(playerMode);
    step({KC_0, KC_1});
    EXPECT_EQ(cameraState, 1);
    step({KC_LSHIFT, KC_F});
    ASSERT_TRUE(playerMode);
    step({KC_W, KC_A});
    EXPECT_EQ(player.forwardInput, 1.0f);
    step({KC_W, KC_A, KC_LSHIFT, KC_F});
    EXPECT_FALSE(playerMode);
    EXPECT_EQ(player.forwardInput, 0.0f);
    EXPECT_EQ(player.sidewaysInput, 0.0f);
}

} // namespace
