// The player on a real crowd: steering relative to the camera's yaw, walking
// and stopping, the muzzle flash and shot light after shots, and a model
// without markers.
#include "GameFixture.h"

#include "Engine/Lights/PointLight.h"
#include "Engine/Lights/SpotLight.h"
#include "Game/GameSession.h"
#include "Game/PlayerCharacter.h"
#include "Import/CameraManager.h"
#include "Navigation/NavigationHolder.h"

#include <DetourCrowd.h>
#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float halfPi = 1.5707964f;
constexpr float tolerance = 1e-4f; // metres

float horizontalDistance(Vec3 a, Vec3 b) { return std::hypot(a.x - b.x, a.z - b.z); }

class PlayerTest : public GameTest {
protected:
    // Turns the follow camera by `turn` radians (positive: to the right).
    static void turnCamera(float turn) { CameraManager::getInstance()->followPlayer(turn, 0.0f, nullptr, 0.0f); }

    // The move target one session update gives for the inputs, with the crowd standing still.
    Vec3 moveTargetFor(PlayerCharacter& player, float sideways, float forward)
    {
        player.sidewaysInput = sideways;
        player.forwardInput = forward;
        session->update(frameSeconds);
        return player.targetPosition;
    }

    const dtCrowdAgent& agentOf(const PlayerCharacter& player)
    {
        return *NavigationHolder::crowd()->getCrowd().getAgent(player.agentIndex);
    }
};

TEST_F(PlayerTest, MoveTargetIsOneUnitAheadInTheInputDirectionTurnedByTheCameraYaw)
{
    PlayerCharacter& player = startGame();
    const Vec3 here = agentPositionOf(player.agentIndex);
    EXPECT_LT(horizontalDistance(here, {}), tolerance) << "a new game starts at the origin";

    // The camera starts at a yaw of pi/2: forward is +x, right (D) is +z.
    Vec3 target = moveTargetFor(player, -1.0f, 1.0f); // W and D
    EXPECT_NEAR(horizontalDistance(target, here), 1.0f, tolerance) << "the diagonal is normalised";
    EXPECT_NEAR(target.x - here.x, std::sqrt(0.5f), tolerance);
    EXPECT_NEAR(target.z - here.z, std::sqrt(0.5f), tolerance);
    EXPECT_NEAR(agentOf(player).targetPos[0], target.x, 0.01f) << "the crowd got the target";
    EXPECT_NEAR(agentOf(player).targetPos[2], target.z, 0.01f);

    // The turns add up: at yaw 0 forward is +z and left (A) is +x; at yaw pi forward is -z.
    struct Case {
        float turn, sideways, forward;
        Vec3 step;
    };
    const Case cases[] = {{halfPi, 0, 1, {0, 0, 1}}, {0, 1, 0, {1, 0, 0}}, {0, 0, -1, {0, 0, -1}},
                          {-2 * halfPi, 0, 1, {0, 0, -1}}};
    for (const Case& c : cases) {
        turnCamera(c.turn);
        target = moveTargetFor(player, c.sideways, c.forward);
        EXPECT_NEAR(target.x - here.x, c.step.x, tolerance) << c.sideways << "," << c.forward;
        EXPECT_NEAR(target.z - here.z, c.step.z, tolerance) << c.sideways << "," << c.forward;
    }
}

TEST_F(PlayerTest, WalksWhileAKeyIsHeldAndStopsWhereItStandsWhenReleased)
{
    PlayerCharacter& player = startGame();
    turnCamera(halfPi); // forward is +z, away from the box on the floor
    player.forwardInput = 1.0f;
    for (int i = 0; i < 30; ++i) // one second
        frame();
    Vec3 walked = player.position();
    EXPECT_GT(walked.z, 2.0f);
    EXPECT_LE(walked.z, PlayerCharacter::maxSpeed * 1.0f + 0.1f) << "faster than the player's top speed";
    EXPECT_NEAR(walked.x, 0.0f, 0.1f);
    EXPECT_LT(horizontalDistance(walked, agentPositionOf(player.agentIndex)), tolerance) << "the node follows";

    player.forwardInput = 0.0f;
    frame();
    const Vec3 released = agentPositionOf(player.agentIndex);
    EXPECT_LT(horizontalDistance(player.targetPosition, released), tolerance)
        << "the first frame without a key sends the player to where he stands";
    for (int i = 0; i < 90; ++i)
        frame();
    const float* velocity = agentOf(player).vel;
    EXPECT_LT(std::hypot(velocity[0], velocity[2]), 0.05f) << "still walking three seconds after the release";
    EXPECT_LT(horizontalDistance(player.position(), released), 2.0f) << "ran on after the release";
}

TEST_F(PlayerTest, MuzzleFlashShowsFor70MillisecondsAfterTheLastShot)
{
    PlayerCharacter& player = startGame();
    session->update(frameSeconds);
    ASSERT_NE(player.muzzleFlash, nullptr);
    EXPECT_FALSE(player.muzzleFlash->isVisible());

    session->fire();
    session->update(0.03);
    EXPECT_TRUE(player.muzzleFlash->isVisible());
    EXPECT_TRUE(player.muzzleFlash->getChildren().front()->isVisible()) << "its model shows too";
    session->update(0.03);
    EXPECT_TRUE(player.muzzleFlash->isVisible());
    session->update(0.02);
    EXPECT_FALSE(player.muzzleFlash->isVisible());
    EXPECT_FALSE(player.muzzleFlash->getChildren().front()->isVisible());

    // A second shot 50 ms after the first keeps the flash until 70 ms after the second.
    session->fire();
    session->update(0.05);
    session->fire();
    session->update(0.05);
    EXPECT_TRUE(player.muzzleFlash->isVisible());
    session->update(0.015);
    EXPECT_TRUE(player.muzzleFlash->isVisible());
    session->update(0.01);
    EXPECT_FALSE(player.muzzleFlash->isVisible());

    session->fire();
    session->update(0.07);
    EXPECT_TRUE(player.muzzleFlash->isVisible()) << "exactly 70 ms after the shot";
}

TEST_F(PlayerTest, ShotLightFlashesAtFullIntensityAndFadesInHalfASecond)
{
    PlayerCharacter& player = startGame();
    session->update(frameSeconds);
    EXPECT_EQ(player.shotLight->intensity, 0.0f);
    session->fire();
    session->fire();
    EXPECT_EQ(player.shotLight->intensity, 1.0f) << "two shots do not light it brighter";
    session->update(0.25);
    EXPECT_NEAR(player.shotLight->intensity, 0.5f, 1e-6f);
    session->update(0.5);
    EXPECT_EQ(player.shotLight->intensity, 0.0f);
    const Vec3 lightAt = player.shotLight->getTransform().translationPart();
    EXPECT_LT(length(lightAt - Vec3{player.shotSourceWorld.x, player.shotSourceWorld.y, player.shotSourceWorld.z}),
              tolerance)
        << "the light sits at the muzzle";
}

TEST_F(PlayerTest, FacesTheAimPointWhileWalkingWithWeaponAndMuzzleInPlace)
{
    PlayerCharacter& player = startGame();
    turnCamera(halfPi);
    player.forwardInput = 1.0f; // walks towards +z while the cursor is on the wall behind him
    lookThroughCursor({0.0f, 6.0f, 8.0f}, {1.0f, 1.5f, wallZ});
    for (int i = 0; i < 20; ++i)
        frame();
    // The equipment is placed before the player turns in a frame, so it is
    // checked once he stands still.
    player.forwardInput = 0.0f;
    for (int i = 0; i < 90; ++i)
        frame();
    ASSERT_TRUE(session->aimValid);
    EXPECT_NEAR(session->aimPoint.z, wallZ, 0.01f);
    const Vec3 body = player.position();
    const Vec3 ahead = player.getTransform().transformPoint({0.0f, 0.0f, 1.0f}) - body;
    const Vec3 towardsAim = normalize(Vec3{session->aimPoint.x - body.x, 0.0f, session->aimPoint.z - body.z});
    EXPECT_NEAR(dot(ahead, towardsAim), 1.0f, tolerance) << "the player does not face the aim point";

    const Vec3 muzzle{player.shotSourceWorld.x, player.shotSourceWorld.y, player.shotSourceWorld.z};
    // The muzzle is the trigger attach point plus the shot source, turned with the player.
    const Vec3 expected = player.getTransform().transformPoint({0.25f, 1.2f + 0.05f, 0.35f + 0.3f});
    EXPECT_LT(length(muzzle - expected), tolerance);
    EXPECT_GT(length(muzzle - body), 0.5f);
    EXPECT_LT(length(player.muzzleFlash->getTransform().translationPart() - muzzle), tolerance);

    // The flashlight hangs at the pistol's mount by its back centre; its light shines from inside the lens.
    const Mat4& weapon = player.weapon->getTransform();
    EXPECT_TRUE(player.flashlight->isInScene());
    EXPECT_LT(length(player.flashlight->getTransform().translationPart() - weapon.transformPoint({0.0f, -0.05f, 0.2f})),
              tolerance);
    EXPECT_LT(length(player.flashlightLight->getTransform().translationPart() -
                     weapon.transformPoint({0.0f, -0.05f, 0.2f + 0.9f * 0.1f})),
              tolerance);
}

class MarkerlessPlayerTest : public PlayerTest {
protected:
    TemplateMarkers templateMarkers() const override { return {false, false}; }
};

TEST_F(MarkerlessPlayerTest, WarnsOnceAtSetUpAndFiresFromTheWeaponOrigin)
{
    const std::string printed = stdoutOf([&] { session->setUp(); });
    for (const char* warning :
         {"Warning: Weapon trigger attachpoint not defined\n", "Warning: Weapon has no shot source defined\n",
          "Warning: Weapon has no flashlight mount point defined\n", "Warning: Flashlight has no back point defined\n",
          "Warning: Flashlight has no front point defined\n"}) {
        const size_t first = printed.find(warning);
        EXPECT_NE(first, std::string::npos) << warning;
        EXPECT_EQ(printed.find(warning, first + 1), std::string::npos) << "twice: " << warning;
    }

    session->startGame();
    PlayerCharacter& player = *session->player();
    const std::string later = stdoutOf([&] {
        for (int i = 0; i < 3; ++i)
            frame();
        session->fire();
    });
    EXPECT_EQ(later, "") << "warnings belong to the set-up only";
    const Vec3 weaponOrigin = player.weapon->getTransform().translationPart();
    EXPECT_LT(length(weaponOrigin - player.position()), tolerance);
    EXPECT_LT(length(Vec3{player.shotSourceWorld.x, player.shotSourceWorld.y, player.shotSourceWorld.z} -
                     weaponOrigin),
              tolerance);
}

} // namespace
