// The skulls on a real crowd: sight range, the reaches that start and keep an
// attack, a skull without a player, and the rhythm of the hits up to the
// player's death.
#include "GameFixture.h"

namespace {

class SkullTest : public GameTest {
protected:
    void setUpGame() override
    {
        player = &startGame();
        session->update(frameSeconds);
    }

    // Moves the player's node (not his agent) to `offset` from the skull's node.
    void placePlayerFrom(const AIAgent& skull, Vec3 offset)
    {
        const Vec3 move = skull.getTransform().translationPart() + offset - player->position();
        player->translate(move.x, move.y, move.z);
    }

    void step(AIAgent& skull, double dt = frameSeconds) { skull.update(dt, session->players); }

    PlayerCharacter* player = nullptr;
};

// The player is seen up to 65 m away; a skull that does not see him is told
// to stay where it is. Both agents have radius 0.4 and the reach is 1: an
// attack starts within 0.5 + 0.8 = 1.3 and goes on within 1 + 0.8 = 1.8.
// Without a player a skull falls back to waiting (distance 0 counts as in sight).
TEST_F(SkullTest, SightAndReachesDecideBetweenWaitingChasingAndAttacking)
{
    AIAgent& skull = addSkull({-10.0f, 0.0f, 0.0f});
    const std::pair<float, AIAgent::State> steps[] = {
        {65.0f, AIAgent::Chase}, {1.5f, AIAgent::Chase}, {1.25f, AIAgent::Attack},
        {1.75f, AIAgent::Attack}, {1.85f, AIAgent::Chase}};
    for (const auto& [distance, state] : steps) {
        placePlayerFrom(skull, {distance, 0.0f, 0.0f});
        step(skull);
        EXPECT_EQ(skull.aiState, state) << distance;
    }

    AIAgent& blind = addSkull({-10.0f, 0.0f, 0.0f});
    placePlayerFrom(blind, {65.01f, 0.0f, 0.0f});
    blind.targetPosition = {5.0f, 0.0f, 5.0f}; // as if it had been sent somewhere
    step(blind);
    EXPECT_EQ(blind.aiState, AIAgent::Wait);
    EXPECT_LT(length(blind.targetPosition - agentPosition(blind.agentIndex, {})), 1e-4f);
    for (AIAgent::State state : {AIAgent::Chase, AIAgent::Wait}) {
        blind.update(frameSeconds, {});
        EXPECT_EQ(blind.aiState, state);
        EXPECT_EQ(blind.target, nullptr);
    }
}

// It waits, sees the player, attacks and hits in the next frame. The cooldown
// was one frame overdue at the first hit, so the second comes a frame early.
TEST_F(SkullTest, HitsEveryTwoSecondsAndThe34thHitKillsThePlayer)
{
    constexpr double dt = 0.125; // seconds, exact in binary
    AIAgent& skull = addSkull({-6.0f, 0.0f, -6.0f});
    placePlayerFrom(skull, {1.0f, 0.0f, 0.0f});
    std::vector<int> hitFrames;
    for (int frameNumber = 0; frameNumber < 1000 && player->alive; ++frameNumber) {
        const float before = player->health;
        step(skull, dt);
        if (player->health < before)
            hitFrames.push_back(frameNumber);
    }
    ASSERT_EQ(hitFrames.size(), 34u);
    EXPECT_FALSE(player->alive);
    EXPECT_EQ(hitFrames[0], 2);
    EXPECT_EQ(hitFrames[1] - hitFrames[0], 15);
    for (size_t i = 2; i < hitFrames.size(); ++i)
        EXPECT_EQ(hitFrames[i] - hitFrames[i - 1], 16) << "hit " << i + 1 << " is not 2.0 s after the last";
}

} // namespace
