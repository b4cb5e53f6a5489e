// Collision meshes and queries with real Bullet on real render objects (a GL
// context for their buffers): the level mesh, ray and shot ordering and the
// in-scene rule.
#include "Engine/Collision/CollisionWorld.h"
#include "Engine/Collision/CustomTriangleCallback.h"
#include "Engine/Scene/NodeManager.h"

#include "SceneTestSupport.h"

#include <gtest/gtest.h>

namespace {

// A cube of edge 2 around the origin.
MeshData unitCube(const std::string& name) { return closedBoxMesh(name, {-1, -1, -1}, {1, 1, 1}); }

class CollisionTest : public SceneTest {
protected:
    void TearDown() override
    {
        SceneTest::TearDown(); // deletes every node, which leaves the world
        CollisionWorld::destroyInstance();
    }

    CollisionWorld& world() { return *CollisionWorld::getInstance(); }

    // The mesh placed at `position` below the scene root.
    CollidableRenderObject* inScene(const MeshData& mesh, Vec3 position)
    {
        auto* object = new CollidableRenderObject(mesh);
        object->translate(position.x, position.y, position.z);
        object->setParent(NodeManager::getInstance()->getRoot());
        return object;
    }
};

TEST_F(CollisionTest, LevelMeshTakesTheVisibleInSceneCollidablesAndEmptiesTheList)
{
    float fraction = 0.0f;
    EXPECT_FALSE(world().rayHitsLevel({0, 0, 0}, {10, 0, 0}, fraction)) << "no level built yet";
    // A wall across x = 5 (in mesh space: the level ignores node transforms).
    inScene(closedBoxMesh("wall", {5, -10, -10}, {6, 10, 10}), {100, 0, 0});
    inScene(closedBoxMesh("sphere", {-6, -1, -1}, {-5, 1, 1}), {})->setVisible(false);
    new CollidableRenderObject(closedBoxMesh("template", {-1, -1, 5}, {1, 1, 6})); // detached
    world().buildLevelMesh();
    EXPECT_TRUE(world().getCollidables().empty());
    EXPECT_TRUE(world().rayHitsLevel({10, 0, 0}, {0, 0, 0}, fraction));
    EXPECT_NEAR(fraction, 0.4f, 1e-5f) << "the nearest of the wall's two faces";
    EXPECT_FALSE(world().rayHitsLevel({0, 0, 0}, {-10, 0, 0}, fraction)) << "hidden meshes are not in the level";
    EXPECT_FALSE(world().rayHitsLevel({0, 0, 0}, {0, 0, 10}, fraction)) << "nor templates";
}

// No triangles, nothing to hit, no direction, no whole triangle: no hit and no crash.
TEST_F(CollisionTest, DegenerateLevelsQueriesAndMeshesHitNothing)
{
    inScene(MeshData{}, {});
    world().buildLevelMesh();
    EXPECT_FALSE(world().hasLevel());
    std::vector<HitRecord> hits(3);
    EXPECT_FALSE(world().shotTest({0, 0, 0}, {100, 0, 0}, hits));
    EXPECT_TRUE(hits.empty());

    inScene(unitCube("enemy"), {0, 0, 0});
    EXPECT_FALSE(world().shotTest({1, 2, 3}, {1, 2, 3}, hits)) << "a shot without direction";
    MeshData broken = unitCube("broken");
    broken.positions.resize(8); // two vertices
    CollidableRenderObject* object = inScene(broken, {-20, 0, 0}); // away from the enemy
    EXPECT_EQ(object->getTriangleMesh(), nullptr);
    object->clone(-1)->setParent(NodeManager::getInstance()->getRoot());
    EXPECT_FALSE(world().rayTestObjects({-25, 0, 0}, {-15, 0, 0}, hits));
    EXPECT_FALSE(world().shotTest({-15, 0, 0}, {-25, 0, 0}, hits)); // the enemy lies behind the shooter
}

// Rays and shots see only visible objects in the scene, nearest first; the
// shot's slab reaches 300 ahead, a few units aside and nothing behind the shooter.
TEST_F(CollisionTest, RaysAndShotsReportInSceneVisibleObjectsNearestFirst)
{
    inScene(unitCube("far"), {60, 0, 0});
    CollidableRenderObject* near = inScene(unitCube("near"), {20, 0, 0});
    inScene(unitCube("hidden"), {30, 0, 0})->setVisible(false);
    (new CollidableRenderObject(unitCube("detached")))->translate(40, 0, 0);
    for (Vec3 position : {Vec3{320, 0, 0}, Vec3{80, 20, 0}, Vec3{80, 0, 5}, Vec3{-60, 0, 0}}) // the slab misses them
        inScene(unitCube("missed"), position);
    std::vector<HitRecord> hits;
    ASSERT_TRUE(world().rayTestObjects({0, 0, 0}, {100, 0, 0}, hits));
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].object, near);
    EXPECT_NEAR(hits[0].point.x, 19.0f, 1e-3f);
    EXPECT_FALSE(world().shotTest({0, 0, 0}, {0, 0, 10}, hits)) << "the slab turns with the shot";
    ASSERT_TRUE(world().shotTest({0, 0, 0}, {10, 0, 0}, hits));
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].object, near);
    EXPECT_NEAR(hits[0].distance, length(hits[0].point), 1e-3f);
}

TEST(CustomTriangleCallback, KeepsTheNearestOfMoreHitsThanItRecords)
{
    CustomTriangleCallback callback(btVector3(0, 0, 0), btVector3(1, 0, 0));
    for (int i = 0; i < 2 * CustomTriangleCallback::maxRecordedHits; ++i)
        callback.reportHit(btVector3(1, 0, 0), i == 5 ? 0.2f : 0.9f, 0, i);
    EXPECT_EQ(callback.getHitCount(), 2 * CustomTriangleCallback::maxRecordedHits);
    EXPECT_EQ(callback.nearestFraction(), 0.2f);
}

} // namespace
