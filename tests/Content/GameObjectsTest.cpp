// The six game objects and the light sphere: sizes, markers where the
// player code places its equipment, and the skull's animation layers.
#include <gtest/gtest.h>

#include <cmath>

#include "Fbx/Evaluator.h"
#include "GeneratedContent.h"

namespace {

using assetgen::Bounds;
using contenttest::loadGenerated;
using fbx::Vec3;

Bounds boundsOfAllMeshes(const fbx::Scene& scene) {
  Bounds all;
  for (fbx::Node* n : contenttest::meshNodesBelow(scene.rootNode())) {
    const Bounds b = contenttest::meshBounds(*n);
    all.add(b.min);
    all.add(b.max);
  }
  return all;
}

// The marker's position (where markers hang is checked for every file by the conventions test).
Vec3 marker(const fbx::Scene& scene, const std::string& name) {
  const fbx::Node* node = scene.findNode(name);
  EXPECT_TRUE(node && node->attributeType() == fbx::AttributeType::Skeleton) << "no marker " << name;
  return node ? node->transform.translation : Vec3{};
}

TEST(Sphere, IsAUnitSphereNamedSphereWithOutwardNormals) {
  auto scene = loadGenerated("sphere.fbx");
  fbx::Node* node = scene->findNode("sphere");
  ASSERT_TRUE(node && node->mesh());
  const fbx::Mesh& m = *node->mesh();
  EXPECT_GE(m.polygonCount(), 2 * 16 * 16 - 2 * 16);
  for (const Vec3& p : m.controlPoints) ASSERT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), 1, 1e-9);
  for (int p = 0; p < m.polygonCount(); ++p) {
    Vec3 n;
    ASSERT_TRUE(m.polygonVertexNormal(p, 0, n));
    const Vec3 c = m.controlPoints[m.polygonVertex(p, 0)];
    ASSERT_GT(n.x * c.x + n.y * c.y + n.z * c.z, 0.99);
  }
}

class SkullAnimation : public ::testing::Test {
 protected:
  void SetUp() override {
    scene = loadGenerated("GameObjects/Skull.fbx");
    skull = scene->findNode("Skull");
    ASSERT_TRUE(skull);
    ASSERT_EQ(scene->animStacks().size(), 1u);
    stack = scene->animStacks().front();
    ASSERT_EQ(stack->layerCount(), 3);
  }
  // Selects one layer as the game does (solo on it, mute on the others) and
  // returns where the skull's centre and nose are at `seconds`.
  void pose(int layer, double seconds, Vec3& centre, Vec3& nose) {
    for (int i = 0; i < stack->layerCount(); ++i) {
      stack->layer(i)->solo = i == layer;
      stack->layer(i)->mute = i != layer;
    }
    fbx::Evaluator evaluator(*scene);
    evaluator.setContext(stack);
    const fbx::Matrix4 m = evaluator.globalTransform(*skull, fbx::fromSeconds(seconds));
    centre = m.transformPoint(kCentre);
    nose = m.transformPoint(kCentre + Vec3{0, 0, 0.3});
  }
  const Vec3 kCentre{0, 1.5, 0};
  std::unique_ptr<fbx::Scene> scene;
  fbx::Node* skull = nullptr;
  fbx::AnimStack* stack = nullptr;
};

// Each layer has an interval of its own; hover bobs in place, the lunge
// thrusts towards the player and back, the chase leans forward.
TEST_F(SkullAnimation, HoverLungeAndChaseMoveTheSkullEachInItsOwnInterval) {
  for (int i = 0; i < 3; ++i) {
    fbx::Time start = -1, stop = -1;
    ASSERT_TRUE(fbx::animationInterval(*skull, *stack, i, start, stop)) << i;
    EXPECT_GT(stop, start) << i;
  }
  Vec3 centre, nose;
  pose(0, 0.5, centre, nose);
  EXPECT_GT(centre.y - kCentre.y, 0.05) << "hover rises";
  EXPECT_NEAR(centre.z, 0, 0.01) << "hover stays in place";
  pose(1, 0.4, centre, nose);
  EXPECT_GT(centre.z, 0.5) << "the lunge moves towards the player (+Z)";
  EXPECT_LT(nose.y, centre.y) << "and bites downwards";
  pose(1, 0.8, centre, nose);
  EXPECT_NEAR(centre.z, 0, 0.01) << "and returns";
  pose(2, 0.3, centre, nose);
  EXPECT_LT(nose.y, centre.y - 0.05) << "the chase leans forward";
  EXPECT_NEAR(centre.z, 0, 0.05) << "turning about the skull's own centre";
}

TEST(PlayerDummy, IsAPersonWithTheWeaponMarkerAtTheRightHand) {
  auto scene = loadGenerated("GameObjects/PlayerDummy.fbx");
  const Bounds body = boundsOfAllMeshes(*scene);
  EXPECT_NEAR(body.size().y, 1.8, 0.1);
  EXPECT_NEAR(body.min.y, 0, 1e-9) << "stands on the floor";
  const Vec3 hand = marker(*scene, "WeaponTriggerAttachpoint");
  EXPECT_LT(hand.x, -0.1) << "right side of a person facing +Z";
  fbx::Node* arm = scene->findNode("PlayerRightArm");
  ASSERT_TRUE(arm && arm->mesh());
  const Bounds a = contenttest::meshBounds(*arm);
  EXPECT_TRUE(hand.x >= a.min.x && hand.x <= a.max.x && hand.y >= a.min.y && hand.y <= a.max.y &&
              hand.z >= a.min.z && hand.z <= a.max.z + 0.02)
      << "the marker sits in the hand";
}

TEST(Equipment, FlashlightHangsUnderTheBarrelAndEndsBeforeTheMuzzle) {
  auto pistol = loadGenerated("GameObjects/Pistol.fbx");
  auto flashlight = loadGenerated("GameObjects/Flashlight.fbx");
  const Bounds gun = boundsOfAllMeshes(*pistol);
  const Vec3 shot = marker(*pistol, "ShotSource");
  const Vec3 mount = marker(*pistol, "FlashlightMount");
  EXPECT_NEAR(shot.z, gun.max.z, 0.01) << "the shot leaves at the muzzle";
  fbx::Node* barrel = pistol->findNode("PistolBarrel");
  ASSERT_TRUE(barrel);
  EXPECT_NEAR(shot.y, contenttest::meshBounds(*barrel).centre().y, 1e-6);
  EXPECT_NEAR(shot.x, 0, 1e-9);

  const Vec3 back = marker(*flashlight, "FlashlightBackCenter");
  const Vec3 front = marker(*flashlight, "FlashlightFrontCenter");
  const Bounds light = boundsOfAllMeshes(*flashlight);
  EXPECT_NEAR(back.z, light.min.z, 1e-9);
  EXPECT_NEAR(front.z, light.max.z, 1e-9);
  // The player code moves the flashlight by (mount - back): its body then
  // starts at the mount, below the frame (y = 0) and behind the muzzle.
  const Vec3 offset = mount - back;
  EXPECT_LE(light.max.y + offset.y, 0.0);
  EXPECT_LT(light.max.z + offset.z, shot.z);
  EXPECT_GT(light.min.z + offset.z, gun.min.z);
}

}  // namespace
