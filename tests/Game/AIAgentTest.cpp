// The skulls on a real crowd: sight range, the reaches that start and keep an
// attack, the rhythm of the hits and the player's death, and a chase through
// the crowd that ends in an attack.
#include "GameFixture.h"

#include "Engine/Base/Globals.h"
#include "Game/AIAgent.h"
#include "Game/GameSession.h"
#include "Game/PlayerCharacter.h"
#include "Import/GameObjects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

class SkullTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        player = &startGame();
        session->update(frameSeconds);
    }

    // Moves the player's node (not his agent) to `offset` from the skull's node.
    void placePlayerFrom(const AIAgent& skull, Vec3 offset)
    {
        const Vec3 wanted = skull.getTransform().translationPart() + offset;
        const Vec3 move = wanted - player->position();
        player->translate(move.x, move.y, move.z);
    }

    void step(AIAgent& skull, double dt = frameSeconds) { skull.update(dt, session->players); }

    PlayerCharacter* player = nullptr;
};

TEST_F(SkullTest, ChasesAPlayerExactly65AwayButNot65Point01)
{
    AIAgent& seeing = addSkull({-10.0f, 0.0f, 0.0f});
    AIAgent& blind = addSkull({-10.0f, 0.0f, 0.0f});

    placePlayerFrom(seeing, {65.0f, 0.0f, 0.0f});
    step(seeing);
    EXPECT_EQ(seeing.targetDistance, 65.0f);
    EXPECT_EQ(seeing.aiState, AIAgent::Chase);

    placePlayerFrom(blind, {65.01f, 0.0f, 0.0f});
    blind.targetPosition = {5.0f, 0.0f, 5.0f}; // as if it had been sent somewhere
    for (int i = 0; i < 10; ++i)
        step(blind);
    EXPECT_GT(blind.targetDistance, 65.0f);
    EXPECT_EQ(blind.target, player);
    EXPECT_EQ(blind.aiState, AIAgent::Wait);
    EXPECT_LT(length(blind.targetPosition - agentPositionOf(blind.agentIndex)), 1e-4f)
        << "a waiting skull is told to stay where it is";
}

TEST_F(SkullTest, StartsAttackingWithinTheStartReachAndKeepsAttackingWithinTheKeepReach)
{
    // Both agents have radius 0.4 and the reach is 1: an attack starts within
    // 0.5 + 0.8 = 1.3 and goes on within 1 + 0.8 = 1.8.
    AIAgent& skull = addSkull({-6.0f, 0.0f, -6.0f});
    placePlayerFrom(skull, {10.0f, 0.0f, 0.0f});
    step(skull);
    ASSERT_EQ(skull.aiState, AIAgent::Chase);

    placePlayerFrom(skull, {1.5f, 0.0f, 0.0f});
    step(skull);
    EXPECT_EQ(skull.aiState, AIAgent::Chase) << "between the reaches a chase goes on";
    placePlayerFrom(skull, {0.0f, 0.0f, 1.25f});
    step(skull);
    EXPECT_EQ(skull.aiState, AIAgent::Attack);
    placePlayerFrom(skull, {1.75f, 0.0f, 0.0f});
    for (int i = 0; i < 5; ++i)
        step(skull);
    EXPECT_EQ(skull.aiState, AIAgent::Attack) << "between the reaches an attack goes on";
    placePlayerFrom(skull, {1.85f, 0.0f, 0.0f});
    step(skull);
    EXPECT_EQ(skull.aiState, AIAgent::Chase);
}

TEST_F(SkullTest, HitsEveryTwoSecondsAndThe34thHitKillsThePlayer)
{
    constexpr double dt = 0.125; // seconds, exact in binary
    AIAgent& skull = addSkull({-6.0f, 0.0f, -6.0f});
    placePlayerFrom(skull, {1.0f, 0.0f, 0.0f});

    std::vector<int> hitFrames;
    int attackFrame = -1;
    for (int frameNumber = 0; frameNumber < 1000 && player->alive; ++frameNumber) {
        const float before = player->health;
        step(skull, dt);
        if (attackFrame < 0 && skull.aiState == AIAgent::Attack)
            attackFrame = frameNumber;
        if (player->health < before) {
            EXPECT_EQ(before - player->health, std::min(before, 3.0f));
            hitFrames.push_back(frameNumber);
        }
        if (hitFrames.size() == 33) {
            EXPECT_EQ(player->health, 1.0f) << "33 hits leave one point";
            EXPECT_TRUE(player->alive);
        }
    }
    ASSERT_EQ(hitFrames.size(), 34u);
    EXPECT_EQ(player->health, 0.0f);
    EXPECT_FALSE(player->alive);
    EXPECT_EQ(attackFrame, 1) << "waits, sees the player, then attacks within reach";
    EXPECT_EQ(hitFrames.front(), attackFrame + 1) << "the first hit comes in the frame after the switch";
    // The cooldown was one frame overdue at the first hit, so the second comes a frame early.
    EXPECT_EQ(hitFrames[1] - hitFrames[0], 15);
    for (size_t i = 2; i < hitFrames.size(); ++i)
        EXPECT_EQ(hitFrames[i] - hitFrames[i - 1], 16) << "hit " << i + 1 << " is not 2.0 s after the last";

    // The dead player ends the game in the session's next update.
    bool ended = false;
    session->onGameEnded = [&] { ended = true; };
    const std::string printed = stdoutOf([&] { session->update(frameSeconds); });
    EXPECT_NE(printed.find("Der Spieler ist tot\n"), std::string::npos) << printed;
    EXPECT_TRUE(ended);
    EXPECT_FALSE(gameRunning);
    EXPECT_TRUE(session->enemies.empty());
}

TEST_F(SkullTest, AWaveChasesThePlayerThroughTheCrowdAndAttacks)
{
    spawnPoints() = {{-8.0f, 0.0f, 8.0f}};
    session->spawnWave();
    ASSERT_EQ(session->enemies.size(), 7u);
    for (int i = 0; i < 300 && player->health == player->maxHealth; ++i) // up to ten seconds
        frame();
    EXPECT_LT(session->playerHealthFraction(), 1.0f) << "no skull reached the player";
    int attacking = 0;
    for (const AIAgent* skull : session->enemies) {
        if (skull->aiState == AIAgent::Attack) {
            ++attacking;
            EXPECT_LE(skull->targetDistance, 1.8f);
        }
    }
    EXPECT_GE(attacking, 1);
}

TEST_F(SkullTest, SkullsThatCannotSeeThePlayerStayWhereTheySpawned)
{
    // The player has been given a move target, which new crowd agents inherit.
    player->forwardInput = 1.0f;
    frame();
    player->forwardInput = 0.0f;
    const Vec3 spawnPoint{-8.0f, 0.0f, -8.0f};
    spawnPoints() = {spawnPoint};
    session->spawnWave();
    for (AIAgent* skull : session->enemies)
        skull->sightRange = 1.0f; // metres: the player, 11 m away, is out of sight
    for (int i = 0; i < 90; ++i) // three seconds
        frame();
    // Crowded together they push each other apart, but their middle stays.
    Vec3 middle;
    for (const AIAgent* skull : session->enemies) {
        EXPECT_EQ(skull->aiState, AIAgent::Wait);
        middle = middle + skull->getTransform().translationPart() * (1.0f / session->enemies.size());
    }
    EXPECT_LT(std::hypot(middle.x - spawnPoint.x, middle.z - spawnPoint.z), 0.5f)
        << "the waiting skulls wandered to " << middle.x << ", " << middle.z;
}

TEST_F(SkullTest, WithoutAPlayerASkullFallsBackToWaiting)
{
    AIAgent& skull = addSkull({-6.0f, 0.0f, -6.0f});
    const std::vector<PlayerCharacter*> nobody;
    skull.update(frameSeconds, nobody);
    EXPECT_EQ(skull.target, nullptr);
    EXPECT_EQ(skull.aiState, AIAgent::Chase) << "distance 0 counts as in sight";
    skull.update(frameSeconds, nobody);
    EXPECT_EQ(skull.aiState, AIAgent::Wait);
}

} // namespace
