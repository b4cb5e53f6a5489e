// The game session with real collision queries, crowd and templates: shots
// aimed through the GUI cursor, the score, the waves, and the start and end
// of a game.
#include "GameFixture.h"

#include "Import/GameObjects.h"

#include <cmath>
#include <set>

namespace {

const Vec3 openSide{0.0f, 0.0f, 8.0f};  // a skull in the open
const Vec3 wallSide{0.0f, 0.0f, -8.0f}; // a skull behind the wall

class SessionTest : public GameTest {
protected:
    // Puts the cursor on the skull's middle, 0.85 m above its node, seen from
    // above and behind the player, then runs a frame so that the session aims there.
    void aimAt(const AIAgent& skull)
    {
        const Vec3 centre = skull.getTransform().translationPart() + Vec3{0.0f, 0.85f, 0.0f};
        lookThroughCursor({0.0f, 4.0f, centre.z > 0.0f ? -3.0f : 3.0f}, centre);
        session->update(frameSeconds);
    }

    std::string fire() { return stdoutOf([&] { session->fire(); }); }
};

// Each shot takes 25 and the fourth kills and scores. A dead skull stays
// listed and drawn, and takes no more shots, until the session's next update
// removes it, releases its agent and keeps the others' order.
TEST_F(SessionTest, FourShotsKillASkullThatGoesInTheNextUpdate)
{
    startGame();
    AIAgent& other = addSkull({-8.0f, 0.0f, 8.0f});
    AIAgent& skull = addSkull(openSide);
    AIAgent& last = addSkull({8.0f, 0.0f, 8.0f});
    const int agentIndex = skull.agentIndex;
    aimAt(skull);
    ASSERT_TRUE(session->aimValid);
    EXPECT_NEAR(session->aimPoint.z, openSide.z - 0.4f, 0.01f) << "the aim point is on the skull's near face";
    for (const char* expected : {"Health: 75\n", "Health: 50\n", "Health: 25\n", "Health: 0\n", ""})
        EXPECT_EQ(fire(), expected);
    EXPECT_EQ(session->score, 1);
    ASSERT_EQ(session->enemies.size(), 3u) << "removed before its next update";
    EXPECT_TRUE(skull.isVisible() && skull.isInScene());

    session->update(frameSeconds);
    EXPECT_EQ(session->enemies, (std::vector<AIAgent*>{&other, &last})) << "the others keep their order";
    EXPECT_EQ(crowdAgent(agentIndex), nullptr);
}

// The player never hits himself; the wall takes every shot at a skull behind
// it, even one aimed straight at the skull; a skull in front of the wall is
// hit, and so is the skull ahead, not one biting the player from behind.
TEST_F(SessionTest, ShotsHitTheFirstSkullAheadButNeitherThroughAWallNorThePlayer)
{
    startGame();
    lookThroughCursor({0.0f, 4.0f, 3.0f}, {0.5f, 1.0f, wallZ});
    session->update(frameSeconds);
    ASSERT_TRUE(session->aimValid);
    EXPECT_EQ(fire(), "");

    AIAgent& hidden = addSkull(wallSide);
    aimAt(hidden);
    EXPECT_NEAR(session->aimPoint.z, wallZ, 0.01f) << "the cursor's ray ends on the wall";
    EXPECT_EQ(fire(), "");
    session->aimPoint = hidden.getTransform().translationPart() + Vec3{0.0f, 0.85f, 0.0f};
    EXPECT_EQ(fire(), "");
    aimAt(addSkull({0.0f, 0.0f, wallZ + 0.7f}));
    EXPECT_EQ(fire(), "Health: 75\n");
    EXPECT_EQ(hidden.health, 100.0f);

    AIAgent& ahead = addSkull(openSide);
    AIAgent& behind = addSkull({0.0f, 0.0f, -1.2f});
    aimAt(ahead);
    EXPECT_EQ(fire(), "Health: 75\n");
    EXPECT_EQ(ahead.health, 75.0f);
    EXPECT_EQ(behind.health, 100.0f);
}

// Without spawn points a wave brings nobody. A wave adds seven enemies,
// standing on spawn points from the start (drawn and hit where they spawned,
// before any update), spread over every point, up to thirty and none beyond.
// Set-up brings the first wave.
TEST_F(SessionTest, WavesOfSevenOnEverySpawnPointUpToThirtyEnemies)
{
    session->spawnWave();
    EXPECT_TRUE(session->enemies.empty());
    spawnPoints() = {{-8.0f, 0.0f, -8.0f}, {8.0f, 0.0f, 8.0f}, {-8.0f, 0.0f, 8.0f}};
    session->setUp();
    EXPECT_EQ(session->enemies.size(), 7u);
    for (int wave = 0; wave < 3; ++wave)
        session->spawnWave();
    ASSERT_EQ(session->enemies.size(), 28u);
    std::set<std::pair<float, float>> places; // where the 28 stand, to a centimetre
    for (const AIAgent* enemy : session->enemies) {
        const Vec3 at = enemy->getTransform().translationPart();
        places.insert({std::round(at.x * 100.0f) / 100.0f, std::round(at.z * 100.0f) / 100.0f});
    }
    EXPECT_EQ(places, (std::set<std::pair<float, float>>{{-8.0f, -8.0f}, {-8.0f, 8.0f}, {8.0f, 8.0f}}));
    addSkull({-10.0f, 0.0f, -10.0f});
    addSkull({-10.0f, 0.0f, -10.0f});
    session->spawnWave();
    EXPECT_EQ(session->enemies.size(), 37u) << "thirty enemies still get a wave";
    session->spawnWave();
    EXPECT_EQ(session->enemies.size(), 37u);
}

// The player's death ends the game and deletes the enemies. The player stays
// for the next game, which brings him back alive and at full health, with a
// score of 0.
TEST_F(SessionTest, TheEndDeletesTheEnemiesAndTheNextStartRestoresThePlayer)
{
    PlayerCharacter& player = startGame();
    session->score = 3;
    const int agent = addSkull(wallSide).agentIndex;
    player.takeDamage(player.maxHealth);
    EXPECT_EQ(stdoutOf([&] { session->update(frameSeconds); }), "Der Spieler ist tot\n");
    EXPECT_FALSE(gameRunning);
    EXPECT_TRUE(session->enemies.empty());
    EXPECT_EQ(crowdAgent(agent), nullptr);

    session->startGame();
    EXPECT_TRUE(gameRunning);
    EXPECT_EQ(session->player(), &player);
    EXPECT_TRUE(player.alive);
    EXPECT_EQ(session->playerHealthFraction(), 1.0f);
    EXPECT_EQ(session->score, 0);
}

} // namespace
