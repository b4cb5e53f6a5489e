// Scene model: written scenes read back identically in every encoding,
// property templates supply defaults, and the object links resolve.
#include <gtest/gtest.h>

#include "DeepChain.h"
#include "TestScene.h"

namespace fbx {
namespace {

TEST(SceneRoundTrip, EveryEncodingGivesTheSameModelAndNamesItsTakes) {
  const auto original = test::makeTestScene();
  WriteOptions binary74, binary75, ascii;
  binary75.version = 7500;
  ascii.format = Format::Ascii;
  for (const WriteOptions& options : {binary74, binary75, ascii}) {
    const auto loaded = test::reload(*original, options);
    ASSERT_TRUE(loaded);
    // Two scenes that write the same ASCII text hold the same model.
    EXPECT_TRUE(writeMemory(*loaded, ascii) == writeMemory(*original, ascii))
        << "format " << static_cast<int>(options.format) << " version " << options.version;
    const TakeInfo* take = loaded->takeInfo("Take 001");
    ASSERT_NE(take, nullptr);
    EXPECT_EQ(take->localStop, 2 * kTicksPerSecond);
  }
}

// A hand-written ASCII file in the style of SDK exports: templates supply
// what the objects do not state, legacy light names carry the cone angles,
// and broken links (orphans, a parent cycle, unknown ids) must not hang.
const char* const kTemplatedScene = R"(; FBX 7.4.0 project file
Definitions:  {
	ObjectType: "Model" { PropertyTemplate: "FbxNode" { Properties70:  {
		P: "Lcl Scaling", "Lcl Scaling", "", "A",3,3,3
		P: "RotationOrder", "enum", "", "",4
		P: "Lcl Translation", "Lcl Translation", "", "A",9,9,9
	} } }
}
Objects:  {
	NodeAttribute: 10, "NodeAttribute::", "Light" { Properties70:  {
		P: "LightType", "enum", "", "",2
		P: "HotSpot", "Number", "", "A",30
		P: "Cone angle", "Number", "", "A",45
	} }
	Model: 20, "Model::Lamp", "Light" { Properties70:  {
		P: "Lcl Translation", "Lcl Translation", "", "A",1,2,3
		P: "Lcl Translation", "Lcl Translation", "", "A",4,5,6
	} }
	Model: 30, "Model::Orphan", "Null" { }
	Model: 40, "Model::Loop1", "Null" { }
	Model: 41, "Model::Loop2", "Null" { }
}
Connections:  {
	C: "OO",10,20
	C: "OO",20,0
	C: "OO",40,41
	C: "OO",41,40
	C: "OO",999,0
	C: "PP",20,30,"a","b"
}
)";

TEST(SceneLinks, TemplateDefaultsLegacyNamesOrphansCyclesAndDepth) {
  const auto scene = test::loadBytes(test::toBytes(kTemplatedScene), "templated.fbx");
  ASSERT_TRUE(scene);
  const Node* lamp = scene->findNode("Lamp");
  EXPECT_EQ(lamp->transform.translation, (Vec3{4, 5, 6}));  // the later duplicate wins
  EXPECT_EQ(lamp->transform.scaling, (Vec3{3, 3, 3}));
  EXPECT_EQ(lamp->transform.rotationOrder, RotationOrder::ZXY);
  EXPECT_EQ(lamp->light()->innerAngle, 30);
  EXPECT_EQ(lamp->light()->outerAngle, 45);
  EXPECT_EQ(scene->findNode("Orphan")->parent, scene->rootNode());
  // One of the cycle's nodes is cut loose under the root, the other stays below it.
  const Node* loop1 = scene->findNode("Loop1");
  const Node* loop2 = scene->findNode("Loop2");
  EXPECT_TRUE(loop1->parent == scene->rootNode() ? loop2->parent == loop1 : loop2->parent == scene->rootNode());
  // Node trees up to the depth limit load; deeper ones are refused.
  EXPECT_TRUE(test::loadBytes(test::toBytes(test::deepChainDocument(kMaxNodeDepth)), "chain.fbx"));
  const auto hostile = test::toBytes(test::deepChainDocument(100000));
  const SceneResult refused = loadMemory(hostile.data(), hostile.size(), "deep.fbx");
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.error().find("deep.fbx: offset "), 0u) << refused.error();
  EXPECT_NE(refused.error().find("node trees deeper than 1000 levels are refused"), std::string::npos);
}

}  // namespace
}  // namespace fbx
