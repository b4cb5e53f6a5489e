// Collision meshes and queries with real Bullet on real render objects (a GL
// context for their buffers): shared meshes, the level mesh, ray and shot
// ordering, the in-scene rule and the owner map.
#include "Engine/Collision/CollisionWorld.h"
#include "Engine/Collision/CustomTriangleCallback.h"
#include "Engine/Scene/NodeManager.h"

#include "SceneTestSupport.h"

#include <BulletCollision/CollisionDispatch/btCollisionObject.h>
#include <BulletCollision/CollisionShapes/btBoxShape.h>
#include <BulletCollision/CollisionShapes/btBvhTriangleMeshShape.h>
#include <BulletCollision/CollisionShapes/btTriangleMesh.h>

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
    SceneGraphNode* root() { return NodeManager::getInstance()->getRoot(); }

    // A cube placed at `position` below the scene root.
    CollidableRenderObject* cubeInScene(const std::string& name, Vec3 position)
    {
        auto* cube = new CollidableRenderObject(unitCube(name));
        cube->translate(position.x, position.y, position.z);
        cube->setParent(root());
        return cube;
    }
};

TEST_F(CollisionTest, ClonesShareOneMeshThatTheLastUserFrees)
{
    auto* original = new CollidableRenderObject(unitCube("skull"));
    const btTriangleMesh* mesh = original->getTriangleMesh();
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(original->getShape()->getMeshInterface(), static_cast<const btStridingMeshInterface*>(mesh));
    std::vector<SceneGraphNode*> clones = {original->clone(-1), original->clone(-1), original->clone(-1)};
    auto* firstClone = dynamic_cast<CollidableRenderObject*>(clones[0]);
    ASSERT_NE(firstClone, nullptr);
    EXPECT_EQ(firstClone->getTriangleMesh(), mesh);
    EXPECT_EQ(firstClone->getShape(), original->getShape());
    EXPECT_EQ(firstClone->getCollisionObject(), original->getCollisionObject());
    EXPECT_EQ(CollidableRenderObject::sharedMeshUsers(mesh), 4);
    EXPECT_EQ(world().getCollidables().size(), 4u);

    delete clones[0];
    delete clones[1];
    EXPECT_EQ(CollidableRenderObject::sharedMeshUsers(mesh), 2);
    EXPECT_EQ(world().getCollidables().size(), 2u);
    delete original;
    EXPECT_EQ(CollidableRenderObject::sharedMeshUsers(mesh), 1);
    delete clones[2];
    EXPECT_EQ(CollidableRenderObject::sharedMeshUsers(mesh), 0);
    EXPECT_TRUE(world().getCollidables().empty());
}

TEST_F(CollisionTest, LevelMeshTakesTheVisibleInSceneCollidablesAndEmptiesTheList)
{
    float fraction = 0.0f;
    EXPECT_FALSE(world().rayHitsLevel({0, 0, 0}, {10, 0, 0}, fraction)) << "no level built yet";
    EXPECT_EQ(fraction, CustomTriangleCallback::noHitFraction);

    // A wall across x = 5 (in mesh space: the level ignores node transforms).
    auto* wall = new CollidableRenderObject(closedBoxMesh("wall", {5, -10, -10}, {6, 10, 10}));
    wall->translate(100, 0, 0);
    wall->setParent(root());
    auto* hidden = new CollidableRenderObject(closedBoxMesh("sphere", {-6, -1, -1}, {-5, 1, 1}));
    hidden->setParent(root());
    hidden->setVisible(false);
    new CollidableRenderObject(closedBoxMesh("template", {-1, -1, 5}, {1, 1, 6})); // detached
    world().buildLevelMesh();
    EXPECT_TRUE(world().hasLevel());
    EXPECT_TRUE(world().getCollidables().empty());

    EXPECT_TRUE(world().rayHitsLevel({0, 0, 0}, {10, 0, 0}, fraction));
    EXPECT_NEAR(fraction, 0.5f, 1e-5f);
    EXPECT_TRUE(world().rayHitsLevel({10, 0, 0}, {0, 0, 0}, fraction));
    EXPECT_NEAR(fraction, 0.4f, 1e-5f) << "the nearest of the wall's two faces";
    EXPECT_FALSE(world().rayHitsLevel({0, 0, 0}, {-10, 0, 0}, fraction)) << "hidden meshes are not in the level";
    EXPECT_EQ(fraction, CustomTriangleCallback::noHitFraction);
    EXPECT_FALSE(world().rayHitsLevel({0, 0, 0}, {4, 0, 0}, fraction)) << "the segment ends before the wall";
    EXPECT_FALSE(world().rayHitsLevel({0, 0, 0}, {0, 0, 10}, fraction)) << "templates are not in the level";
}

// No triangles, nothing to hit, no direction, no whole triangle: no hit and no crash.
TEST_F(CollisionTest, DegenerateLevelsQueriesAndMeshesHitNothing)
{
    (new CollidableRenderObject(MeshData{}))->setParent(root());
    world().buildLevelMesh(); // takes the list's only mesh: the list is empty afterwards
    EXPECT_FALSE(world().hasLevel());
    float fraction = 0.0f;
    EXPECT_FALSE(world().rayHitsLevel({0, 0, 0}, {1, 0, 0}, fraction));

    std::vector<HitRecord> hits(3);
    EXPECT_FALSE(world().rayTestObjects({0, 0, 0}, {100, 0, 0}, hits));
    EXPECT_TRUE(hits.empty());
    hits.resize(2);
    EXPECT_FALSE(world().shotTest({0, 0, 0}, {100, 0, 0}, hits));
    EXPECT_TRUE(hits.empty());

    cubeInScene("enemy", {0, 0, 0});
    EXPECT_FALSE(world().shotTest({1, 2, 3}, {1, 2, 3}, hits)) << "a shot without direction";
    EXPECT_TRUE(hits.empty());

    MeshData broken = unitCube("broken");
    broken.positions.resize(8); // two vertices
    auto* object = new CollidableRenderObject(broken);
    object->translate(-20, 0, 0); // away from the enemy
    object->setParent(root());
    EXPECT_EQ(object->getTriangleMesh(), nullptr);
    object->clone(-1)->setParent(root());
    EXPECT_FALSE(world().rayTestObjects({-25, 0, 0}, {-15, 0, 0}, hits));
    EXPECT_FALSE(world().shotTest({-15, 0, 0}, {-25, 0, 0}, hits)); // the enemy lies behind the shooter
}

TEST_F(CollisionTest, RayHitsAreOrderedByFractionAndOnlyInSceneVisibleObjectsCount)
{
    CollidableRenderObject* far = cubeInScene("far", {60, 0, 0});
    CollidableRenderObject* near = cubeInScene("near", {20, 0, 0});
    auto* detached = new CollidableRenderObject(unitCube("detached"));
    detached->translate(40, 0, 0);
    CollidableRenderObject* hidden = cubeInScene("hidden", {30, 0, 0});
    hidden->setVisible(false);
    cubeInScene("aside", {40, 5, 0});

    std::vector<HitRecord> hits;
    ASSERT_TRUE(world().rayTestObjects({0, 0, 0}, {100, 0, 0}, hits));
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].object, near);
    EXPECT_NEAR(hits[0].distance, 0.19f, 1e-5f);
    EXPECT_NEAR(hits[0].point.x, 19.0f, 1e-3f);
    EXPECT_EQ(hits[1].object, far);
    EXPECT_NEAR(hits[1].distance, 0.59f, 1e-5f);

    float fraction = 0.0f;
    EXPECT_FALSE(far->rayTest({0, 0, 0}, {0, 100, 0}, fraction));
    EXPECT_EQ(fraction, CustomTriangleCallback::noHitFraction);
}

TEST_F(CollisionTest, RayFollowsTheNodeTransformIncludingRotation)
{
    auto* plank = new CollidableRenderObject(closedBoxMesh("plank", {-10, -0.5f, -0.5f}, {10, 0.5f, 0.5f}));
    plank->setParent(root());
    float fraction = 0.0f;
    EXPECT_TRUE(plank->rayTest({5, 0, -20}, {5, 0, 20}, fraction));
    EXPECT_FALSE(plank->rayTest({-20, 0, 5}, {20, 0, 5}, fraction));
    plank->rotateY(90.0f); // now along z
    EXPECT_FALSE(plank->rayTest({5, 0, -20}, {5, 0, 20}, fraction));
    EXPECT_TRUE(plank->rayTest({-20, 0, 5}, {20, 0, 5}, fraction));
    EXPECT_NEAR(fraction, 19.5f / 40.0f, 1e-5f);
}

TEST_F(CollisionTest, ShotReportsEveryObjectInTheSlabNearestFirst)
{
    CollidableRenderObject* far = cubeInScene("farEnemy", {150, 0, 0});
    CollidableRenderObject* near = cubeInScene("nearEnemy", {50, 3, 0});
    cubeInScene("beyondReach", {320, 0, 0});
    cubeInScene("aboveSlab", {80, 20, 0});
    cubeInScene("besideSlab", {80, 0, 5});
    auto* outside = new CollidableRenderObject(unitCube("notInScene"));
    outside->translate(100, 0, 0);

    std::vector<HitRecord> hits;
    ASSERT_TRUE(world().shotTest({0, 0, 0}, {10, 0, 0}, hits));
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].object, near);
    EXPECT_EQ(hits[1].object, far);
    EXPECT_NEAR(hits[0].distance, 50.5f, 2.5f);
    EXPECT_NEAR(hits[1].distance, 150.0f, 2.0f);
    EXPECT_NEAR(hits[0].distance, length(hits[0].point), 1e-3f);
}

TEST_F(CollisionTest, ShotSlabTurnsWithTheShotAndTouchesOnlyWhatIsAheadOfTheShooter)
{
    CollidableRenderObject* ahead = cubeInScene("ahead", {0, 0, 100});
    cubeInScene("behind", {0, 0, -60}); // inside the slab, which starts 100 behind the shooter
    cubeInScene("sideways", {100, 0, 0});
    CollidableRenderObject* around = cubeInScene("around", {0, 0, 0});
    std::vector<HitRecord> hits;
    ASSERT_TRUE(world().shotTest({0, 0, 0}, {0, 0, 1}, hits));
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].object, around) << "the shooter's own body reaches ahead of him";
    EXPECT_GE(hits[0].point.z, 0.0f);
    EXPECT_EQ(hits[1].object, ahead);
}

TEST_F(CollisionTest, CollideHonoursACollideWithRefusal)
{
    CollidableRenderObject* cube = cubeInScene("cube", {0, 0, 0});
    btBoxShape boxShape(btVector3(2, 2, 2));
    btCollisionObject box;
    box.setCollisionShape(&boxShape);
    HitRecord hit;
    ASSERT_TRUE(cube->collide(&box, {0, 0, 0}, hit));
    EXPECT_LT(hit.distance, CollidableRenderObject::noContactDistance);

    cube->getCollisionObject()->setIgnoreCollisionCheck(&box, true);
    EXPECT_FALSE(cube->collide(&box, {0, 0, 0}, hit));
    cube->getCollisionObject()->setIgnoreCollisionCheck(&box, false);

    box.setWorldTransform(btTransform(btQuaternion::getIdentity(), btVector3(50, 0, 0)));
    EXPECT_FALSE(cube->collide(&box, {0, 0, 0}, hit));
}

TEST_F(CollisionTest, OwnersAreTheMeshesBelowACharacterNode)
{
    int healths[2] = {}; // stand-in owner addresses, never dereferenced
    auto* player = reinterpret_cast<HealthObject*>(&healths[0]);
    auto* enemy = reinterpret_cast<HealthObject*>(&healths[1]);

    auto* character = new CollidableRenderObject(unitCube("character"));
    auto* body = new CollidableRenderObject(unitCube("body"));
    auto* group = new SceneGraphNode("equipment");
    auto* pistol = new CollidableRenderObject(unitCube("pistol"));
    character->addChild(body);
    character->addChild(group);
    group->addChild(pistol);
    auto* other = new CollidableRenderObject(unitCube("other"));

    world().setOwner(character, player);
    world().setOwner(other->getParent(), enemy); // a null node changes nothing
    EXPECT_EQ(world().getOwner(body), player);
    EXPECT_EQ(world().getOwner(pistol), player);
    EXPECT_EQ(world().getOwner(character), nullptr) << "the node itself is not looked at";
    EXPECT_EQ(world().getOwner(other), nullptr);

    delete pistol;
    EXPECT_EQ(world().getOwner(pistol), nullptr) << "a deleted mesh leaves the owner map";
    world().removeOwner(character);
    EXPECT_EQ(world().getOwner(body), nullptr);
}

TEST(CustomTriangleCallback, KeepsTheNearestOfMoreHitsThanItRecords)
{
    CustomTriangleCallback callback(btVector3(0, 0, 0), btVector3(1, 0, 0));
    EXPECT_FALSE(callback.hasHit());
    for (int i = 0; i < 2 * CustomTriangleCallback::maxRecordedHits; ++i)
        callback.reportHit(btVector3(1, 0, 0), i == 5 ? 0.2f : 0.9f, 0, i);
    EXPECT_EQ(callback.getHitCount(), 2 * CustomTriangleCallback::maxRecordedHits);
    EXPECT_EQ(callback.nearestFraction(), 0.2f);
}

} // namespace
