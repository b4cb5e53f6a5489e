#include "Engine/Render/Octree.h"
#include "Engine/Render/RenderObject.h"
#include "Engine/Scene/CameraState.h"
#include "Engine/Scene/NodeManager.h"

#include "SceneTestSupport.h"

#include <algorithm>
#include <random>
#include <set>
#include <string>

namespace {

RenderObject* placeBox(const std::string& name, Vec3 boxMin, Vec3 boxMax)
{
    auto* object = new RenderObject(boxMesh(name, boxMin, boxMax));
    NodeManager::getInstance()->getRoot()->addChild(object);
    return object;
}

int countListingLeaves(const OctreeCell& cell, const RenderObject* object)
{
    const std::vector<RenderObject*>& objects = Octree::getInstance()->getObjects();
    if (cell.children.empty())
        return std::count_if(cell.cellObjects.begin(), cell.cellObjects.end(),
                             [&](uint32_t index) { return objects.at(index) == object; });
    int count = 0;
    for (const auto& child : cell.children)
        count += countListingLeaves(*child, object);
    return count;
}

} // namespace

class OctreeTest : public SceneTest {
protected:
    // Scene spanning [0, 100] on each axis; the octree cell boundaries follow.
    void placeSceneCorners()
    {
        placeBox("corner_low", {0, 0, 0}, {1, 1, 1});
        placeBox("corner_high", {99, 99, 99}, {100, 100, 100});
    }

    Octree& buildOctree()
    {
        NodeManager::getInstance()->getRoot()->update();
        Octree* octree = Octree::getInstance();
        octree->build();
        return *octree;
    }

    void lookAtScene(Vec3 eye, Vec3 target)
    {
        currentCamera.setMatrices(lookAt(eye, target, {0, 1, 0}), perspective(60, 1, 1, 1000));
    }
};

TEST_F(OctreeTest, ObjectsInSeveralCellsAreDrawnOnce)
{
    placeSceneCorners();
    RenderObject* across = placeBox("across", {45, 45, 45}, {55, 55, 55}); // in all eight octants
    Octree& octree = buildOctree();
    EXPECT_GE(countListingLeaves(*octree.getRootCell(), across), 8);
    lookAtScene({50, 50, 130}, {50, 50, 50}); // close: the cells straddle the view

    GLuint primitives = OffscreenTarget(8).countPrimitives([&] { octree.drawCulled(); });
    EXPECT_GT(octree.getStats().cellsChecked, 1);
    EXPECT_EQ(across->getCullMark(), RenderObject::cullVisible);
    int seen = 0;
    for (const RenderObject* object : NodeManager::getInstance()->getRenderObjects())
        seen += isBoxVisible(currentCamera.frustum, object->getBoundsMin(), object->getBoundsMax()) ? 1 : 0;
    EXPECT_EQ(seen, 2); // "across" and the low corner
    EXPECT_EQ(octree.getStats().objectsDrawn, seen);
    EXPECT_EQ(primitives, 2u * static_cast<GLuint>(seen)); // two triangles per object, each drawn once
}

TEST_F(OctreeTest, LookingAwayChecksOnlyTheRootAndStillDrawsSpawnedObjects)
{
    placeSceneCorners();
    placeBox("middle", {40, 40, 40}, {60, 60, 60});
    Octree& octree = buildOctree();
    RenderObject* spawned = placeBox("spawned", {50, 50, -400}, {52, 52, -398});
    NodeManager::getInstance()->getRoot()->update();
    lookAtScene({50, 50, -200}, {50, 50, -1000}); // the level is behind the camera

    OffscreenTarget(8).countPrimitives([&] { octree.drawCulled(); });
    EXPECT_EQ(octree.getStats().cellsChecked, 1);
    EXPECT_EQ(octree.getStats().objectsDrawn, 1);
    EXPECT_EQ(spawned->getCullMark(), RenderObject::notInOctree);
}

TEST_F(OctreeTest, BoundaryLeavesTestTheirObjectsOneByOne)
{
    RenderObject* ahead = placeBox("ahead", {20, -1, -1}, {25, 1, 1});
    RenderObject* behind = placeBox("behind", {0, -1, -1}, {5, 1, 1});
    Octree& octree = buildOctree();
    ASSERT_NE(octree.getRootCell(), nullptr);
    EXPECT_TRUE(octree.getRootCell()->children.empty()) << "a scene of extent 25 keeps one cell";
    EXPECT_EQ(octree.getRootCell()->cellObjects.size(), 2u);
    lookAtScene({10, 0, 0}, {20, 0, 0}); // inside the cell, across its near plane

    EXPECT_EQ(ahead->getCullMark(), RenderObject::cullUndecided); // in the octree since the build
    EXPECT_EQ(octree.markVisible(currentCamera.frustum), 1);
    EXPECT_EQ(ahead->getCullMark(), RenderObject::cullVisible);
    EXPECT_EQ(behind->getCullMark(), RenderObject::cullInvisible);
    std::vector<const RenderObject*> drawn;
    octree.forEachVisible(currentCamera.frustum, [&](const RenderObject& object) { drawn.push_back(&object); });
    EXPECT_EQ(drawn, (std::vector<const RenderObject*>{ahead}));

    // Next frame, turned around: last frame's marks do not linger.
    lookAtScene({10, 0, 0}, {0, 0, 0});
    octree.markVisible(currentCamera.frustum);
    EXPECT_EQ(ahead->getCullMark(), RenderObject::cullInvisible);
    EXPECT_EQ(behind->getCullMark(), RenderObject::cullVisible);
}

TEST_F(OctreeTest, HiddenObjectsAreMarkedButNotDrawn)
{
    placeSceneCorners();
    RenderObject* sphere = placeBox("Sphere_sphere", {40, 40, 40}, {60, 60, 60});
    sphere->setVisible(false);
    Octree& octree = buildOctree();
    lookAtScene({50, 50, 400}, {50, 50, 50});

    EXPECT_EQ(OffscreenTarget(8).countPrimitives([&] { octree.drawCulled(); }), 2u * 2u);
    EXPECT_EQ(sphere->getCullMark(), RenderObject::cullVisible);
}

// Across many camera positions, frame after frame, the octree never draws an
// object the per-object test rejects, and never misses one whose centre is
// in view.
TEST_F(OctreeTest, AgreesWithThePerObjectTestFromEveryViewpoint)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(0.0f, 300.0f), size(0.5f, 40.0f);
    for (int i = 0; i < 300; ++i) {
        Vec3 lo{coordinate(random), coordinate(random) * 0.2f, coordinate(random)};
        placeBox("box_" + std::to_string(i), lo, lo + Vec3{size(random), size(random), size(random)});
    }
    Octree& octree = buildOctree();
    ASSERT_FALSE(octree.getRootCell()->children.empty());

    for (int frame = 0; frame < 200; ++frame) {
        Vec3 eye{coordinate(random), coordinate(random), coordinate(random)};
        lookAtScene(eye, {coordinate(random), 0.0f, coordinate(random)});
        const Frustum& frustum = currentCamera.frustum;
        octree.markVisible(frustum);
        std::set<const RenderObject*> drawn;
        octree.forEachVisible(frustum, [&](const RenderObject& object) {
            EXPECT_TRUE(drawn.insert(&object).second) << "drawn twice";
        });
        for (const RenderObject* object : octree.getObjects()) {
            Vec3 lo = object->getBoundsMin(), hi = object->getBoundsMax();
            const bool listed = drawn.count(object) != 0;
            const Vec3 centre = (lo + hi) * 0.5f;
            EXPECT_EQ(listed, object->getCullMark() == RenderObject::cullVisible) << object->getName();
            EXPECT_TRUE(!listed || isBoxVisible(frustum, lo, hi)) << object->getName();
            EXPECT_TRUE(listed || !isBoxVisible(frustum, centre, centre)) << object->getName() << " frame " << frame;
        }
    }
}
