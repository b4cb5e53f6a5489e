#pragma once
// A small but complete game world for the gameplay tests: a real GL context,
// a Recast-built 24 x 24 m floor as the navigation mesh with a real Detour
// crowd on it, a Bullet level made of one wall, and the six game-object
// templates built from boxes with the markers the player's equipment hangs on.
//
//   the floor  x, z in [-12, 12] at height 0 (a box stands on x 2..6, z -2..2)
//   the wall   x in [-3, 3], y in [0, 3], z in [-4.2, -4]: in the level mesh only
#include "SceneTestSupport.h"

#include "Engine/Base/Globals.h"
#include "Engine/Scene/Math.h"
#include "Game/AIAgent.h"
#include "Game/GameSession.h"
#include "Game/PlayerCharacter.h"
#include "Navigation/CrowdAgent.h"

#include <gtest/gtest.h>

#include <string>

constexpr float wallZ = -4.0f; // the wall's face towards the origin

class GameTest : public SceneTest {
protected:
    static constexpr double frameSeconds = 1.0 / 30.0;

    void SetUp() override;
    void TearDown() override;
    // A test's own set-up, run once the game's set-up has succeeded.
    virtual void setUpGame() {}

    // Whether the templates carry the markers the player's equipment hangs on.
    virtual bool templateMarkers() const { return true; }

    // The session set up (no spawn points yet: no enemies) and a game started.
    PlayerCharacter& startGame();
    // A waiting skull on the floor point nearest to `where`, its node on its
    // agent, listed in the session.
    AIAgent& addSkull(Vec3 where);

    // One game frame as the engine runs it: the crowd, then the session.
    void frame(double dt = frameSeconds);

    // Puts the camera at `eye` looking at `target` and the GUI cursor at the
    // centre of the screen, so that the next update aims along that line.
    void lookThroughCursor(Vec3 eye, Vec3 target);

    GameSession* session = nullptr;
};

// Runs `action` and returns what it wrote to standard output.
template <typename Action>
std::string stdoutOf(Action action)
{
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}
