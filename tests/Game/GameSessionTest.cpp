// The game session with real collision queries, crowd and templates: shots
// aimed through the GUI cursor, the score, the waves, and the start and end
// of a game.
#include "GameFixture.h"

#include "Engine/Base/Globals.h"
#include "Engine/Collision/CollisionWorld.h"
#include "Engine/Scene/NodeManager.h"
#include "Game/AIAgent.h"
#include "Game/GameSession.h"
#include "Game/PlayerCharacter.h"
#include "Import/GameObjects.h"
#include "Navigation/NavigationHolder.h"

#include <DetourCrowd.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr float skullCentreHeight = 0.85f; // metres above its node
const Vec3 openSide{0.0f, 0.0f, 8.0f};     // a skull in the open
const Vec3 wallSide{0.0f, 0.0f, -8.0f};    // a skull behind the wall

class SessionTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        session->onScoreChanged = [this](int score) { scores.push_back(score); };
        session->onGameEnded = [this] { ++gameEnds; };
    }

    // Puts the cursor on the skull seen from above and behind the player, then
    // runs a frame so that the session aims there.
    void aimAt(const AIAgent& skull)
    {
        const Vec3 centre = skull.getTransform().translationPart() + Vec3{0.0f, skullCentreHeight, 0.0f};
        const Vec3 eye{0.0f, 4.0f, centre.z > 0.0f ? -3.0f : 3.0f};
        lookThroughCursor(eye, centre);
        session->update(frameSeconds);
    }

    std::vector<int> scores;
    int gameEnds = 0;
};

TEST_F(SessionTest, EachShotTakes25AndTheFourthKillsAndScores)
{
    PlayerCharacter& player = startGame();
    AIAgent& skull = addSkull(openSide);
    aimAt(skull);
    ASSERT_TRUE(session->aimValid);
    EXPECT_NEAR(session->aimPoint.z, skull.getTransform().translationPart().z - 0.4f, 0.01f)
        << "the aim point is on the skull's near face";

    for (const char* expected : {"Health: 75\n", "Health: 50\n", "Health: 25\n", "Health: 0\n"}) {
        EXPECT_EQ(stdoutOf([&] { session->fire(); }), expected);
        session->update(frameSeconds);
    }
    // The update after the kill already removed it; count the kill first.
    EXPECT_EQ(session->score, 1);
    EXPECT_EQ(scores, (std::vector<int>{0, 1})) << "the start shows 0, the kill 1";
    EXPECT_TRUE(session->enemies.empty());
    EXPECT_EQ(player.health, player.maxHealth);
}

TEST_F(SessionTest, ADeadSkullStaysListedAndTakesNothingUntilItsNextUpdate)
{
    startGame();
    AIAgent& other = addSkull({-8.0f, 0.0f, 8.0f});
    AIAgent& skull = addSkull(openSide);
    AIAgent& last = addSkull({8.0f, 0.0f, 8.0f});
    const std::string name = skull.getName();
    const int agentIndex = skull.agentIndex;
    aimAt(skull);
    for (int shot = 0; shot < 4; ++shot)
        stdoutOf([&] { session->fire(); });
    EXPECT_FALSE(skull.alive);
    EXPECT_EQ(skull.health, 0.0f);
    ASSERT_EQ(session->enemies.size(), 3u) << "removed before its next update";
    EXPECT_TRUE(skull.isVisible());
    EXPECT_TRUE(skull.isInScene());

    EXPECT_EQ(stdoutOf([&] { session->fire(); }), "") << "a dead skull took a shot";
    EXPECT_EQ(skull.health, 0.0f);
    EXPECT_EQ(session->score, 1);

    session->update(frameSeconds);
    EXPECT_EQ(session->enemies, (std::vector<AIAgent*>{&other, &last})) << "the others keep their order";
    EXPECT_FALSE(NavigationHolder::crowd()->getCrowd().getAgent(agentIndex)->active);
    const std::string lookup = stdoutOf([&] { EXPECT_EQ(NodeManager::getInstance()->findByName(name), nullptr); });
    EXPECT_NE(lookup, "") << "the registry still knows the dead skull";
}

TEST_F(SessionTest, ASkullBehindAWallTakesNoDamageButOneInFrontOfItDoes)
{
    startGame();
    AIAgent& skull = addSkull(wallSide);
    aimAt(skull);
    ASSERT_TRUE(session->aimValid);
    EXPECT_NEAR(session->aimPoint.z, wallZ, 0.01f) << "the cursor's ray ends on the wall";
    EXPECT_EQ(stdoutOf([&] { session->fire(); }), "");
    EXPECT_EQ(skull.health, 100.0f);

    // Even aimed straight at the skull, the wall takes the shot.
    session->aimPoint = skull.getTransform().translationPart() + Vec3{0.0f, skullCentreHeight, 0.0f};
    EXPECT_EQ(stdoutOf([&] { session->fire(); }), "");
    EXPECT_EQ(skull.health, 100.0f);
    EXPECT_EQ(session->score, 0);

    // A skull just in front of the wall is hit.
    AIAgent& nearer = addSkull({0.0f, 0.0f, wallZ + 0.7f});
    aimAt(nearer);
    EXPECT_EQ(stdoutOf([&] { session->fire(); }), "Health: 75\n");
    EXPECT_EQ(skull.health, 100.0f);
}

TEST_F(SessionTest, AShotHitsTheSkullAheadNotOneBitingFromBehind)
{
    startGame();
    AIAgent& ahead = addSkull(openSide);
    AIAgent& behind = addSkull({0.0f, 0.0f, -1.2f});
    aimAt(ahead);
    EXPECT_EQ(stdoutOf([&] { session->fire(); }), "Health: 75\n");
    EXPECT_EQ(ahead.health, 75.0f);
    EXPECT_EQ(behind.health, 100.0f);
}

TEST_F(SessionTest, ThePlayerCannotShootHimself)
{
    PlayerCharacter& player = startGame();
    lookThroughCursor({0.0f, 4.0f, 3.0f}, {0.5f, 1.0f, wallZ});
    session->update(frameSeconds);
    ASSERT_TRUE(session->aimValid);
    const std::string printed = stdoutOf([&] {
        for (int shot = 0; shot < 5; ++shot)
            session->fire();
    });
    EXPECT_EQ(printed, "");
    EXPECT_EQ(player.health, player.maxHealth);
    EXPECT_TRUE(player.alive);
}

// A wave adds seven enemies, standing on spawn points from the start (drawn
// and hit where they spawned, before any update), spread over every point,
// up to thirty and none beyond.
TEST_F(SessionTest, WavesAddSevenOnEverySpawnPointUpToThirtyEnemies)
{
    startGame();
    const std::vector<Vec3> points = {{-8.0f, 0.0f, -8.0f}, {8.0f, 0.0f, 8.0f}, {-8.0f, 0.0f, 8.0f}};
    spawnPoints() = points;
    for (int wave = 0; wave < 4; ++wave)
        session->spawnWave();
    ASSERT_EQ(session->enemies.size(), 28u);
    std::vector<int> used(points.size(), 0);
    for (const AIAgent* enemy : session->enemies) {
        const Vec3 node = enemy->getTransform().translationPart(), agent = agentPositionOf(enemy->agentIndex);
        bool onASpawnPoint = false;
        for (size_t i = 0; i < points.size(); ++i) {
            onASpawnPoint = onASpawnPoint || std::hypot(node.x - points[i].x, node.z - points[i].z) < 0.01f;
            used[i] += std::hypot(agent.x - points[i].x, agent.z - points[i].z) < 0.01f ? 1 : 0;
        }
        EXPECT_TRUE(onASpawnPoint) << "enemy at " << node.x << ", " << node.z;
    }
    for (size_t i = 0; i < points.size(); ++i)
        EXPECT_GT(used[i], 0) << "no enemy came from spawn point " << i << " of 28";

    addSkull({-10.0f, 0.0f, -10.0f});
    addSkull({-10.0f, 0.0f, -10.0f});
    session->spawnWave();
    EXPECT_EQ(session->enemies.size(), 37u) << "thirty enemies still get a wave";
    session->spawnWave();
    EXPECT_EQ(session->enemies.size(), 37u);
}

TEST_F(SessionTest, SetUpBringsTheFirstWaveAndTheNextComesAfterFiveSeconds)
{
    spawnPoints() = {{-8.0f, 0.0f, -8.0f}};
    session->setUp();
    EXPECT_EQ(session->enemies.size(), 7u);
    ASSERT_EQ(session->players.size(), 1u);
    session->startGame();
    for (int i = 0; i < 9; ++i)
        frame(0.5);
    EXPECT_EQ(session->enemies.size(), 7u);
    frame(0.5);
    EXPECT_EQ(session->enemies.size(), 14u);

    // Without spawn points the waves that fall due bring nobody.
    spawnPoints().clear();
    session->endGame();
    session->startGame();
    for (int i = 0; i < 60; ++i) // ten seconds: two waves are due
        frame(1.0 / 6.0);
    EXPECT_TRUE(session->enemies.empty());
}

TEST_F(SessionTest, EndGameDeletesTheEnemiesAndShowsTheMenu)
{
    PlayerCharacter& player = startGame();
    std::vector<int> agents;
    for (const Vec3& where : {openSide, wallSide})
        agents.push_back(addSkull(where).agentIndex);
    session->endGame();
    EXPECT_TRUE(session->enemies.empty());
    EXPECT_EQ(gameEnds, 1);
    EXPECT_FALSE(gameRunning);
    for (int index : agents)
        EXPECT_FALSE(NavigationHolder::crowd()->getCrowd().getAgent(index)->active);
    EXPECT_EQ(session->player(), &player) << "the player stays for the next game";
    EXPECT_TRUE(NavigationHolder::crowd()->getCrowd().getAgent(player.agentIndex)->active);
}

TEST_F(SessionTest, StartGameRestoresThePlayerAndResetsTheScore)
{
    PlayerCharacter& player = startGame();
    AIAgent& skull = addSkull(openSide);
    aimAt(skull);
    for (int shot = 0; shot < 4; ++shot)
        stdoutOf([&] { session->fire(); });
    ASSERT_EQ(session->score, 1);

    // The player walks away, into the floor's next tile (so his last move
    // target lies on another polygon than the start), and dies there; the
    // menu keeps the last score.
    player.sidewaysInput = 1.0f;
    for (int i = 0; i < 60; ++i)
        frame();
    player.sidewaysInput = 0.0f;
    player.takeDamage(player.maxHealth);
    stdoutOf([&] { session->update(frameSeconds); });
    ASSERT_EQ(gameEnds, 1);
    EXPECT_EQ(scores.back(), 1);
    ASSERT_GT(std::hypot(player.position().x, player.position().z), 6.0f);

    session->startGame();
    EXPECT_TRUE(gameRunning);
    EXPECT_EQ(player.health, player.maxHealth);
    EXPECT_TRUE(player.alive);
    EXPECT_EQ(session->score, 0);
    EXPECT_EQ(scores.back(), 0);
    const Vec3 at = agentPositionOf(player.agentIndex);
    EXPECT_LT(std::hypot(at.x, at.z), 0.01f) << "the new game starts at the origin";
    // Without input he stays there: nothing of the last game's walk is replanned.
    for (int i = 0; i < 60; ++i)
        frame();
    EXPECT_LT(std::hypot(player.position().x, player.position().z), 0.01f);
    EXPECT_EQ(session->playerHealthFraction(), 1.0f);
}

} // namespace
