// The level as the game and the navigation-mesh tool read it back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "Fbx/Evaluator.h"
#include "GeneratedContent.h"

namespace {

using assetgen::Bounds;
using contenttest::meshBounds;
using fbx::Vec3;

constexpr double kAgentHeight = 1.7, kPadClearance = 0.6;  // metres

class Level : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { scene_ = contenttest::loadGenerated("testlevel.fbx").release(); }
  static void TearDownTestSuite() {
    delete scene_;
    scene_ = nullptr;
  }

  fbx::Node* spawnPoints() const { return scene_->findNode("SpawnPoints"); }
  // Mesh nodes of the level proper (spawn pads excluded).
  std::vector<fbx::Node*> levelMeshes() const {
    std::vector<fbx::Node*> out;
    for (fbx::Node* n : contenttest::meshNodesBelow(scene_->rootNode())) {
      if (n->parent != spawnPoints()) out.push_back(n);
    }
    return out;
  }
  // Whether some upward-facing triangle lies under (x, z) at height y.
  bool floorUnder(double x, double z, double y) const {
    for (fbx::Node* n : levelMeshes()) {
      const fbx::Mesh& m = *n->mesh();
      for (int p = 0; p < m.polygonCount(); ++p) {
        Vec3 c[3];
        for (int i = 0; i < 3; ++i) c[i] = m.controlPoints[m.polygonVertex(p, i)];
        Vec3 normal;
        m.polygonVertexNormal(p, 0, normal);
        if (normal.y < 0.7 || std::fabs(c[0].y - y) > 1e-6) continue;
        auto side = [&](Vec3 a, Vec3 b) { return (b.x - a.x) * (z - a.z) - (b.z - a.z) * (x - a.x); };
        const double s0 = side(c[0], c[1]), s1 = side(c[1], c[2]), s2 = side(c[2], c[0]);
        if ((s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0)) return true;
      }
    }
    return false;
  }

  static fbx::Scene* scene_;
};

fbx::Scene* Level::scene_ = nullptr;

// The import's three image formats and both material mappings are exercised by the level.
TEST_F(Level, UsesAllThreeImageFormatsAndPerPolygonMaterials) {
  std::set<std::string> extensions;
  int perPolygon = 0;
  for (fbx::Node* n : levelMeshes()) {
    for (const fbx::Material* m : n->materials) {
      for (const fbx::Texture* t : m->diffuseTextures()) extensions.insert(t->fileName.substr(t->fileName.rfind('.')));
    }
    if (n->mesh()->layerMaterials(0)->mapping == fbx::MappingMode::ByPolygon) ++perPolygon;
  }
  EXPECT_EQ(extensions, (std::set<std::string>{".jpg", ".png", ".tga"}));
  EXPECT_GT(perPolygon, 0);
}

// The import places lights by their nodes' local transforms only.
TEST_F(Level, LightsHangDirectlyBelowTheRoot) {
  for (fbx::Node* n : scene_->nodes()) {
    if (n->light()) EXPECT_EQ(n->parent, scene_->rootNode()) << n->name;
  }
}

TEST_F(Level, OneOverviewCameraFliesAnAnimatedPathAroundTheArena) {
  ASSERT_EQ(scene_->cameras().size(), 1u);
  fbx::Node* node = scene_->cameras().front()->node();
  ASSERT_NE(node, nullptr);
  ASSERT_NE(node->target, nullptr) << "the camera looks at a target node";
  ASSERT_EQ(scene_->animStacks().size(), 1u);
  fbx::AnimStack* stack = scene_->animStacks().front();
  ASSERT_GE(stack->layerCount(), 2) << "a stack takes effect only with two or more layers";
  fbx::Evaluator evaluator(*scene_);
  evaluator.setContext(stack);
  const double seconds = fbx::toSeconds(stack->localStop);
  ASSERT_GT(seconds, 5);
  const Vec3 start = evaluator.globalTransform(*node, 0).getTranslation();
  const Vec3 later = evaluator.globalTransform(*node, fbx::fromSeconds(seconds / 2)).getTranslation();
  EXPECT_GT(std::hypot(later.x - start.x, later.z - start.z), 10) << "the camera moves";
  EXPECT_GT(fbx::toSeconds(scene_->takes.empty() ? 0 : scene_->takes.front().localStop), 5);
}

TEST_F(Level, SpawnPadsStandFreeOnWalkableFloorAllOverTheArena) {
  fbx::Node* group = spawnPoints();
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->parent, scene_->rootNode());
  std::vector<Vec3> points;
  for (fbx::Node* pad : group->children) {
    ASSERT_NE(pad->mesh(), nullptr) << pad->name;
    const Vec3 p = contenttest::spawnPointOf(*pad->mesh());
    points.push_back(p);
    EXPECT_TRUE(floorUnder(p.x, p.z, p.y)) << pad->name << " at " << p.x << ", " << p.y << ", " << p.z;
    for (fbx::Node* n : levelMeshes()) {
      const Bounds b = meshBounds(*n);
      const bool overlaps = b.max.x > p.x - kPadClearance && b.min.x < p.x + kPadClearance &&
                            b.max.z > p.z - kPadClearance && b.min.z < p.z + kPadClearance &&
                            b.max.y > p.y + 0.01 && b.min.y < p.y + kAgentHeight;
      EXPECT_FALSE(overlaps) << pad->name << " blocked by " << n->name;
    }
  }
  ASSERT_GE(points.size(), 8u);
  std::set<int> quadrants;
  for (const Vec3& p : points) quadrants.insert((p.x > 0) * 2 + (p.z > 0));
  EXPECT_EQ(quadrants.size(), 4u);
  EXPECT_TRUE(std::any_of(points.begin(), points.end(), [](const Vec3& p) { return p.y > 2; }))
      << "one pad on the raised platform";
}

}  // namespace
