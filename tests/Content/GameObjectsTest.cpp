// The skull's animation layers as the game uses them. Where the equipment
// and its markers sit, and the light sphere, show in the reference pictures.
#include <gtest/gtest.h>

#include "Fbx/Evaluator.h"
#include "GeneratedContent.h"

namespace {

using fbx::Vec3;

// Each layer has an interval of its own; hover bobs in place, the lunge
// thrusts towards the player and back, the chase leans forward.
TEST(SkullAnimation, HoverLungeAndChaseMoveTheSkullEachInItsOwnInterval) {
  auto scene = contenttest::loadGenerated("GameObjects/Skull.fbx");
  fbx::Node* skull = scene->findNode("Skull");
  ASSERT_TRUE(skull);
  ASSERT_EQ(scene->animStacks().size(), 1u);
  fbx::AnimStack* stack = scene->animStacks().front();
  ASSERT_EQ(stack->layerCount(), 3);
  const Vec3 centre{0, 1.5, 0};
  Vec3 moved, nose;
  // Selects one layer as the game does (solo on it, mute on the others) and
  // poses the skull's centre and nose at `seconds`.
  auto pose = [&](int layer, double seconds) {
    fbx::Time start = -1, stop = -1;
    EXPECT_TRUE(fbx::animationInterval(*skull, *stack, layer, start, stop) && stop > start) << layer;
    for (int i = 0; i < stack->layerCount(); ++i) {
      stack->layer(i)->solo = i == layer;
      stack->layer(i)->mute = i != layer;
    }
    fbx::Evaluator evaluator(*scene);
    evaluator.setContext(stack);
    const fbx::Matrix4 m = evaluator.globalTransform(*skull, fbx::fromSeconds(seconds));
    moved = m.transformPoint(centre);
    nose = m.transformPoint(centre + Vec3{0, 0, 0.3});
  };
  pose(0, 0.5);
  EXPECT_GT(moved.y - centre.y, 0.05) << "hover rises";
  EXPECT_NEAR(moved.z, 0, 0.01) << "hover stays in place";
  pose(1, 0.4);
  EXPECT_GT(moved.z, 0.5) << "the lunge moves towards the player (+Z)";
  EXPECT_LT(nose.y, moved.y) << "and bites downwards";
  pose(1, 0.8);
  EXPECT_NEAR(moved.z, 0, 0.01) << "and returns";
  pose(2, 0.3);
  EXPECT_LT(nose.y, moved.y - 0.05) << "the chase leans forward";
  EXPECT_NEAR(moved.z, 0, 0.05) << "turning about the skull's own centre";
}

}  // namespace
