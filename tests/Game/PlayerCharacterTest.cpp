// The player on a real crowd: the muzzle flash after shots, the equipment in
// its place while he walks and aims, and a model without markers.
#include "GameFixture.h"

#include "Engine/Lights/SpotLight.h"
#include "Import/CameraManager.h"

namespace {

constexpr float tolerance = 1e-4f; // metres

Vec3 xyz(Vec4 v) { return {v.x, v.y, v.z}; }

class PlayerTest : public GameTest {
protected:
    void setUpGame() override { player = &startGame(); }

    PlayerCharacter* player = nullptr;
};

// No flash before the first shot, not even in a frame without time; it then
// shows until 70 ms after the last shot, exactly 70 ms included; a second
// shot 50 ms after the first keeps it 70 ms longer.
TEST_F(PlayerTest, ShotsShowTheMuzzleFlashForItsTime)
{
    struct Step {
        bool fire;
        double seconds;
        bool visible;
    };
    const Step steps[] = {{false, 0.0, false}, {true, 0.03, true}, {false, 0.03, true}, {false, 0.02, false},
                          {true, 0.05, true},  {true, 0.05, true}, {false, 0.015, true}, {false, 0.01, false},
                          {true, 0.07, true}};
    for (const Step& s : steps) {
        if (s.fire)
            session->fire();
        session->update(s.seconds);
        EXPECT_EQ(player->muzzleFlash->isVisible(), s.visible) << &s - steps;
        EXPECT_EQ(player->muzzleFlash->getChildren().front()->isVisible(), s.visible) << "its model, step " << &s - steps;
    }
}

// The player faces the point he aims at; the muzzle is the trigger attach
// point plus the shot source, turned with him; the flashlight hangs at the
// pistol's mount by its back centre, its light shines from inside the lens.
TEST_F(PlayerTest, FacesTheAimPointWhileWalkingWithWeaponAndMuzzleInPlace)
{
    CameraManager::getInstance()->followPlayer(1.5707964f, 0.0f, nullptr, 0.0f); // forward is now +z
    player->forwardInput = 1.0f; // walks away from the wall while the cursor is on it
    lookThroughCursor({0.0f, 6.0f, 8.0f}, {1.0f, 1.5f, wallZ});
    for (int i = 0; i < 20; ++i)
        frame();
    EXPECT_GT(player->position().z, 0.5f) << "forward input does not follow the camera's yaw";
    // The equipment is placed before the player turns in a frame, so it is
    // checked once he stands still.
    player->forwardInput = 0.0f;
    for (int i = 0; i < 90; ++i)
        frame();
    ASSERT_TRUE(session->aimValid);
    EXPECT_NEAR(session->aimPoint.z, wallZ, 0.01f);
    const Vec3 body = player->position();
    const Vec3 ahead = player->getTransform().transformPoint({0.0f, 0.0f, 1.0f}) - body;
    const Vec3 towardsAim = normalize(Vec3{session->aimPoint.x - body.x, 0.0f, session->aimPoint.z - body.z});
    EXPECT_NEAR(dot(ahead, towardsAim), 1.0f, tolerance) << "the player does not face the aim point";
    const Mat4& weapon = player->weapon->getTransform();
    const Vec3 muzzle = xyz(player->shotSourceWorld);
    const std::pair<Vec3, Vec3> places[] = {
        {muzzle, player->getTransform().transformPoint({0.25f, 1.2f + 0.05f, 0.35f + 0.3f})},
        {player->muzzleFlash->getTransform().translationPart(), muzzle},
        {player->flashlight->getTransform().translationPart(), weapon.transformPoint({0.0f, -0.05f, 0.2f})},
        {player->flashlightLight->getTransform().translationPart(),
         weapon.transformPoint({0.0f, -0.05f, 0.2f + 0.9f * 0.1f})}};
    for (const auto& [place, expected] : places)
        EXPECT_LT(length(place - expected), tolerance) << &place - &places[0].first;
    EXPECT_TRUE(player->flashlight->isInScene());
}

class MarkerlessPlayerTest : public GameTest {
protected:
    bool templateMarkers() const override { return false; }
};

TEST_F(MarkerlessPlayerTest, WarnsOnceAtSetUpAndFiresFromTheWeaponOrigin)
{
    EXPECT_EQ(stdoutOf([&] { session->setUp(); }), "Warning: Weapon trigger attachpoint not defined\nWarning: Weapon has no shot source defined\n"
                       "Warning: Weapon has no flashlight mount point defined\n"
                       "Warning: Flashlight has no back point defined\nWarning: Flashlight has no front point defined\n");
    session->startGame();
    PlayerCharacter& player = *session->player();
    EXPECT_EQ(stdoutOf([&] {
        for (int i = 0; i < 3; ++i)
            frame();
        session->fire();
    }), "") << "warnings belong to the set-up only";
    const Vec3 weaponOrigin = player.weapon->getTransform().translationPart();
    EXPECT_LT(length(weaponOrigin - player.position()), tolerance);
    EXPECT_LT(length(xyz(player.shotSourceWorld) - weaponOrigin), tolerance);
}

} // namespace
