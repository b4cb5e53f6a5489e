#include "Engine/Render/Octree.h"
#include "Engine/Render/RenderObject.h"
#include "Engine/Scene/CameraState.h"
#include "Engine/Scene/NodeManager.h"

#include "SceneTestSupport.h"

#include <random>
#include <set>
#include <string>

class OctreeTest : public SceneTest {};

// Across many camera positions, frame after frame, the octree never draws an
// object the per-object test rejects, never misses one whose centre is in
// view, and keeps no mark of an earlier frame.
TEST_F(OctreeTest, AgreesWithThePerObjectTestFromEveryViewpoint)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(0.0f, 300.0f), size(0.5f, 40.0f);
    SceneGraphNode* root = NodeManager::getInstance()->getRoot();
    for (int i = 0; i < 300; ++i) {
        Vec3 lo{coordinate(random), coordinate(random) * 0.2f, coordinate(random)};
        const Vec3 hi = lo + Vec3{size(random), size(random), size(random)};
        root->addChild(new RenderObject(closedBoxMesh("box_" + std::to_string(i), lo, hi)));
    }
    root->update();
    Octree& octree = *Octree::getInstance();
    octree.build();
    ASSERT_FALSE(octree.getRootCell()->children.empty());
    for (int frame = 0; frame < 200; ++frame) {
        const Vec3 eye{coordinate(random), coordinate(random), coordinate(random)};
        currentCamera.setMatrices(lookAt(eye, {coordinate(random), 0.0f, coordinate(random)}, {0, 1, 0}),
                                  perspective(60, 1, 1, 1000));
        const Frustum& frustum = currentCamera.frustum;
        octree.markVisible(frustum);
        std::set<const RenderObject*> drawn;
        octree.forEachVisible(frustum, [&](const RenderObject& object) {
            EXPECT_TRUE(drawn.insert(&object).second) << "drawn twice";
        });
        for (const RenderObject* object : octree.getObjects()) {
            Vec3 lo = object->getBoundsMin(), hi = object->getBoundsMax(), centre = (lo + hi) * 0.5f;
            const bool listed = drawn.count(object) != 0;
            EXPECT_EQ(listed, object->getCullMark() == RenderObject::cullVisible) << object->getName();
            EXPECT_TRUE(!listed || isBoxVisible(frustum, lo, hi)) << object->getName();
            EXPECT_TRUE(listed || !isBoxVisible(frustum, centre, centre)) << object->getName() << " frame " << frame;
        }
    }
}
