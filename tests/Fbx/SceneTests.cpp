// Scene model: written scenes read back identically in every encoding,
// property templates supply defaults, and the object links resolve.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "DeepChain.h"
#include "Fbx/Evaluator.h"
#include "TestScene.h"

namespace fbx {
namespace {

// Everything the engine reads from a scene, flattened for comparison.
std::string describe(const Scene& s) {
  std::ostringstream o;
  o.precision(12);
  auto v3 = [&](Vec3 v) { o << "(" << v.x << "," << v.y << "," << v.z << ")"; };
  std::vector<const Node*> stack = {s.rootNode()};
  while (!stack.empty()) {
    const Node* n = stack.back();
    stack.pop_back();
    o << "node " << n->name << " parent " << (n->parent ? n->parent->name : "-") << " attr "
      << static_cast<int>(n->attributeType()) << " target " << (n->target ? n->target->name : "-");
    v3(n->transform.translation);
    v3(n->transform.rotation);
    v3(n->transform.scaling);
    for (const Material* m : n->materials) o << " mat " << m->name;
    o << "\n";
    for (auto it = n->children.rbegin(); it != n->children.rend(); ++it) stack.push_back(*it);
  }
  for (const Mesh* m : s.meshes()) {
    o << "mesh " << m->name << " " << m->polygonCount() << " " << m->polygonVertexCount() << " "
      << m->controlPoints.size() << " layers " << m->layers.size() << "\n";
    for (const Vec3& p : m->controlPoints) v3(p);
    for (int p = 0; p < m->polygonCount(); ++p) {
      for (int k = 0; k < m->polygonSize(p); ++k) {
        Vec3 n;
        m->polygonVertexNormal(p, k, n);
        o << m->polygonVertex(p, k) << "/" << m->textureUVIndex(p, k) << "/";
        v3(n);
      }
    }
    o << "\n";
  }
  for (const Material* m : s.materials()) {
    o << "material " << m->name;
    for (const Texture* t : m->diffuseTextures()) o << " d:" << t->fileName;
    for (const Texture* t : m->normalMapTextures()) o << " n:" << t->fileName;
    o << "\n";
  }
  for (const Light* l : s.lights()) {
    o << "light " << static_cast<int>(l->lightType) << " " << l->intensity << " " << l->innerAngle << " "
      << l->outerAngle;
    v3(l->color);
    o << "\n";
  }
  for (const Camera* c : s.cameras()) {
    o << "camera of " << c->node()->name << " " << c->fieldOfView << " " << c->focalLength << " " << c->nearPlane
      << " " << c->farPlane << " " << static_cast<int>(c->apertureMode) << " " << c->filmWidth << " " << c->filmHeight << "\n";
  }
  for (const AnimStack* st : s.animStacks()) {
    o << "stack " << st->name << " " << st->localStart << " " << st->localStop;
    for (const AnimLayer* l : st->layers) o << " layer " << l->name << " " << l->weight << " " << l->curveNodes.size();
    o << "\n";
  }
  for (const AnimCurve* c : s.curves()) {
    for (const AnimKey& k : c->keys) o << k.time << ":" << k.value << ":" << static_cast<int>(k.interpolation) << " ";
    o << "\n";
  }
  o << "settings " << s.globalSettings.defaultCamera << " " << s.globalSettings.timeMode << "\n";
  return o.str();
}

TEST(SceneRoundTrip, EveryEncodingGivesTheSameModel) {
  const auto original = test::makeTestScene();
  const std::string expected = describe(*original);
  WriteOptions binary74, binary75, ascii;
  binary75.version = 7500;
  ascii.format = Format::Ascii;
  for (const WriteOptions& options : {binary74, binary75, ascii}) {
    const auto loaded = test::reload(*original, options);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(describe(*loaded), expected) << "format " << static_cast<int>(options.format) << " version "
                                           << options.version;
  }
}

TEST(SceneRoundTrip, OutputIsDeterministicAndNamesItsTakes) {
  EXPECT_EQ(writeMemory(*test::makeTestScene()), writeMemory(*test::makeTestScene()));
  const auto loaded = test::reload(*test::makeTestScene());
  const TakeInfo* take = loaded->takeInfo("Take 001");
  ASSERT_NE(take, nullptr);
  EXPECT_EQ(take->localStop, 2 * kTicksPerSecond);
}

// A hand-written ASCII file in the style of SDK exports: the Model template
// supplies the scaling and rotation order the object does not state, and
// legacy light names carry the cone angles.
const char* const kTemplatedScene = R"(; FBX 7.4.0 project file
GlobalSettings:  {
	Properties70:  {
		P: "DefaultCamera", "KString", "", "", "Producer Top"
		P: "TimeMode", "enum", "", "",11
	}
}
Definitions:  {
	ObjectType: "Model" {
		PropertyTemplate: "FbxNode" {
			Properties70:  {
				P: "Lcl Scaling", "Lcl Scaling", "", "A",3,3,3
				P: "RotationOrder", "enum", "", "",4
				P: "Lcl Translation", "Lcl Translation", "", "A",9,9,9
			}
		}
	}
	ObjectType: "NodeAttribute" {
		PropertyTemplate: "FbxCamera" {
			Properties70:  {
				P: "NearPlane", "double", "Number", "",0.25
			}
		}
	}
}
Objects:  {
	NodeAttribute: 10, "NodeAttribute::", "Light" {
		Properties70:  {
			P: "LightType", "enum", "", "",2
			P: "HotSpot", "Number", "", "A",30
			P: "Cone angle", "Number", "", "A",45
			P: "Color", "Color", "", "A",1,0,0
		}
		TypeFlags: "Light"
	}
	Model: 20, "Model::Lamp", "Light" {
		Properties70:  {
			P: "Lcl Translation", "Lcl Translation", "", "A",1,2,3
			P: "Lcl Translation", "Lcl Translation", "", "A",4,5,6
		}
	}
	Model: 30, "Model::Orphan", "Null" {
	}
	Model: 40, "Model::Loop1", "Null" {
	}
	Model: 41, "Model::Loop2", "Null" {
	}
	NodeAttribute: 50, "NodeAttribute::Cam", "Camera" {
		TypeFlags: "Camera"
	}
	Model: 60, "Model::Cam", "Camera" {
	}
}
Connections:  {
	;NodeAttribute::, Model::Lamp
	C: "OO",10,20
	C: "OO",20,0
	C: "OO",40,41
	C: "OO",41,40
	C: "OO",50,60
	C: "OO",60,0
	C: "OO",999,0
	C: "PP",20,60,"a","b"
}
)";

TEST(SceneTemplates, TemplateDefaultsLegacyNamesOrphansAndCycles) {
  const auto scene = test::loadBytes(test::toBytes(kTemplatedScene), "templated.fbx");
  ASSERT_TRUE(scene);
  const Node* lamp = scene->findNode("Lamp");
  ASSERT_NE(lamp, nullptr);
  EXPECT_EQ(lamp->transform.translation, (Vec3{4, 5, 6}));  // the later duplicate wins
  EXPECT_EQ(lamp->transform.scaling, (Vec3{3, 3, 3}));      // from the template
  EXPECT_EQ(lamp->transform.rotationOrder, RotationOrder::ZXY);
  const Light* light = lamp->light();
  ASSERT_NE(light, nullptr);
  EXPECT_EQ(light->lightType, LightType::Spot);
  EXPECT_EQ(light->innerAngle, 30);
  EXPECT_EQ(light->outerAngle, 45);
  EXPECT_EQ(light->color, (Vec3{1, 0, 0}));
  EXPECT_DOUBLE_EQ(scene->findNode("Cam")->camera()->nearPlane, 0.25);
  EXPECT_DOUBLE_EQ(scene->findNode("Cam")->camera()->farPlane, 4000);  // built-in default
  EXPECT_EQ(scene->globalSettings.defaultCamera, "Producer Top");
  EXPECT_DOUBLE_EQ(scene->globalSettings.frameRate(), 24);
  // Orphans and parent cycles end under the root.
  const Node* orphan = scene->findNode("Orphan");
  EXPECT_EQ(orphan->parent, scene->rootNode());
  const Node* loop1 = scene->findNode("Loop1");
  const Node* loop2 = scene->findNode("Loop2");
  // One of the two is cut loose and hangs under the root; the other below it.
  const Node* top = loop1->parent == scene->rootNode() ? loop1 : loop2;
  const Node* below = top == loop1 ? loop2 : loop1;
  EXPECT_EQ(top->parent, scene->rootNode());
  EXPECT_EQ(below->parent, top);
}

TEST(SceneDepth, TreesUpToTheLimitLoadAndDeeperOnesAreRefused) {
  const auto atLimit = test::loadBytes(test::toBytes(test::deepChainDocument(kMaxNodeDepth)), "chain.fbx");
  ASSERT_TRUE(atLimit);
  int depth = 0;
  for (const Node* n = atLimit->findNode("N" + std::to_string(kMaxNodeDepth)); n != atLimit->rootNode(); n = n->parent)
    ++depth;
  EXPECT_EQ(depth, kMaxNodeDepth);

  const auto hostile = test::toBytes(test::deepChainDocument(100000));
  const SceneResult refused = loadMemory(hostile.data(), hostile.size(), "deep.fbx");
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.error().find("deep.fbx: offset "), 0u) << refused.error();
  EXPECT_NE(refused.error().find("node trees deeper than 1000 levels are refused"), std::string::npos)
      << refused.error();
}

// Angles worked out by hand: fov = 2 atan(aperture mm / (2 f)); the aperture
// is the film height in vertical mode, else the width; horizontal angles are
// divided by the film aspect (width x squeeze / height) for projection.
TEST(SceneCameras, FieldOfViewFollowsTheApertureMode) {
  constexpr double kFullFrameWidth = 36 / 25.4, kFullFrameHeight = 24 / 25.4;  // inches
  struct Case {
    const char* what;
    ApertureMode mode;
    double filmWidth, filmHeight, squeeze, focalLength, fieldOfView, fieldOfViewY;
    double fromFocalLength, vertical;
  };
  const Case cases[] = {
      {"35 mm lens on full frame (Blender)", ApertureMode::FocalLength, kFullFrameWidth, kFullFrameHeight, 1, 35, 0, 0,
       54.432223, 36.288149},
      {"squeezed film", ApertureMode::FocalLength, kFullFrameWidth, kFullFrameHeight, 2, 35, 0, 0, 54.432223,
       18.144074},
      {"vertical", ApertureMode::Vertical, 0.816, 0.612, 1, 21.3545, 40, 0, 40.0, 40.0},
      {"horizontal", ApertureMode::Horizontal, 0.816, 0.612, 1, 30, 38.113920, 0, 38.113920, 28.585440},
      {"horizontal and vertical", ApertureMode::HorizontalAndVertical, 0.816, 0.612, 1, 30, 0, 29, 38.113920, 29},
  };
  for (const Case& c : cases) {
    Camera camera;
    camera.apertureMode = c.mode;
    camera.filmWidth = c.filmWidth;
    camera.filmHeight = c.filmHeight;
    camera.squeezeRatio = c.squeeze;
    camera.focalLength = c.focalLength;
    camera.fieldOfView = c.fieldOfView;
    camera.fieldOfViewY = c.fieldOfViewY;
    EXPECT_NEAR(camera.computeFieldOfView(c.focalLength), c.fromFocalLength, 1e-4) << c.what;
    EXPECT_NEAR(camera.computeFocalLength(c.fromFocalLength), c.focalLength, 1e-4) << c.what;
    EXPECT_NEAR(camera.verticalFieldOfView(), c.vertical, 1e-4) << c.what;
  }
}

// 7.2+ ASCII stores KeyAttrDataFloat as the floats' int32 bit patterns.
TEST(SceneLoading, KeyAttributeBitPatternsInAsciiCurves) {
  auto cubicCurve = [](const Scene& scene) {
    for (AnimCurve* c : scene.curves())
      if (c->keys.front().interpolation == Interpolation::Cubic) return c;
    return static_cast<AnimCurve*>(nullptr);
  };
  const auto scene = test::makeTestScene();
  AnimCurve* fov = cubicCurve(*scene);
  ASSERT_NE(fov, nullptr);
  fov->keys[0].rightSlope = 12.5f;
  fov->keys[0].rightWeight = 0.5f;
  WriteOptions ascii;
  ascii.format = Format::Ascii;
  const auto loaded = test::reload(*scene, ascii);
  ASSERT_TRUE(loaded);
  const AnimCurve* back = cubicCurve(*loaded);
  ASSERT_NE(back, nullptr);
  EXPECT_FLOAT_EQ(back->keys[0].rightSlope, 12.5f);
  EXPECT_NEAR(back->keys[0].rightWeight, 0.5f, 1e-4);
}

}  // namespace
}  // namespace fbx
