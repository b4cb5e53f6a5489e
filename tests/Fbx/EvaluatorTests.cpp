// Transform composition against hand-computed results, curve interpolation
// and curve key attributes as files store them.
#include <gtest/gtest.h>

#include <functional>

#include "Fbx/Evaluator.h"
#include "TestScene.h"

namespace fbx {
namespace {

void expectNear(Vec3 actual, Vec3 expected, const std::string& what) {
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-9) << what;
}

// Quarter turns applied one axis at a time, written out independently of Matrix4.
Vec3 quarterTurn(char axis, Vec3 v) {
  switch (axis) {
    case 'X': return {v.x, -v.z, v.y};
    case 'Y': return {v.z, v.y, -v.x};
    default: return {-v.y, v.x, v.z};
  }
}

TEST(LocalTransform, RotationOrdersPivotsOffsetsAndPrePostRotation) {
  const char* const orders[] = {"XYZ", "XZY", "YZX", "YXZ", "ZXY", "ZYX"};
  for (int o = 0; o < 6; ++o) {
    NodeTransform t;
    t.rotation = {90, 90, 90};
    t.rotationOrder = static_cast<RotationOrder>(o);
    t.rotationActive = true;
    Vec3 expected{1, 2, 3};
    for (const char* axis = orders[o]; *axis; ++axis) expected = quarterTurn(*axis, expected);
    expectNear(localMatrix(t).transformPoint({1, 2, 3}), expected, orders[o]);
  }
  const struct {
    const char* name;
    std::function<void(NodeTransform&)> edit;
    Vec3 point, expected;
  } cases[] = {
      {"rotation about its pivot", [](NodeTransform& t) { t.rotation = {0, 0, 90}, t.rotationPivot = {1, 0, 0}; },
       {2, 0, 0}, {1, 1, 0}},
      {"scaling about its pivot", [](NodeTransform& t) { t.scaling = {2, 2, 2}, t.scalingPivot = {1, 0, 0}; },
       {2, 0, 0}, {3, 0, 0}},
      {"offsets translate", [](NodeTransform& t) { t.rotationOffset = {0, 5, 0}, t.scalingOffset = {0, 0, 1}; },
       {0, 0, 0}, {0, 5, 1}},
      {"pre-rotation before the rotation",
       [](NodeTransform& t) { t.preRotation = {0, 0, 90}, t.rotation = {90, 0, 0}, t.rotationActive = true; },
       {0, 1, 0}, {0, 0, 1}},
      {"post-rotation enters inverted", [](NodeTransform& t) { t.postRotation = {0, 0, 90}, t.rotationActive = true; },
       {1, 0, 0}, {0, -1, 0}},
      {"pre-rotation ignored while rotation is inactive", [](NodeTransform& t) { t.preRotation = {0, 0, 90}; },
       {1, 0, 0}, {1, 0, 0}},
      {"translation applies last", [](NodeTransform& t) { t.translation = {1, 2, 3}, t.scaling = {2, 2, 2}; },
       {1, 1, 1}, {3, 4, 5}},
  };
  for (const auto& c : cases) {
    NodeTransform t;
    c.edit(t);
    expectNear(localMatrix(t).transformPoint(c.point), c.expected, c.name);
  }
}

TEST(GlobalTransform, InheritTypesUnderNonUniformParentScale) {
  // Grandparent scale 3, parent scale (2,1,1), child turned 90 degrees about Z.
  const std::pair<InheritType, Vec3> cases[] = {
      {InheritType::RrSs, {-3, 6, 0}}, {InheritType::RSrs, {-6, 3, 0}}, {InheritType::Rrs, {-3, 3, 0}}};
  for (const auto& [inherit, expected] : cases) {
    Scene scene;
    Node* grand = scene.addNode("Grand");
    grand->transform.scaling = {3, 3, 3};
    Node* parent = scene.addNode("Parent", grand);
    parent->transform.scaling = {2, 1, 1};
    Node* child = scene.addNode("Child", parent);
    child->transform.rotation = {0, 0, 90};
    child->transform.inheritType = inherit;
    const Evaluator eval(scene);
    expectNear(eval.globalTransform(*child).transformPoint({1, 1, 0}), expected,
               "inherit type " + std::to_string(static_cast<int>(inherit)));
  }
}

// Pivots, post-rotations and inherit types all go through the general inverse.
TEST(MatrixInverse, UndoesAFullMatrixAndASingularOneGivesIdentity) {
  Matrix4 m;
  for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0 ? 4 : 0) + (i * 7 % 11 + 1) / 10.0;  // no entry zero
  const Matrix4 product = m * m.inverse(), singular = Matrix4::scaling({1, 0, 1}).inverse();
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(product[i], i % 5 == 0 ? 1 : 0, 1e-9) << i;
    EXPECT_EQ(singular[i], i % 5 == 0 ? 1 : 0) << i;
  }
}

AnimCurve curve(std::vector<AnimKey> keys) {
  AnimCurve c;
  c.defaultValue = -1;
  c.keys = std::move(keys);
  c.computeAutoTangents();
  return c;
}

TEST(CurveEvaluation, InterpolationKindsAndAutoTangents) {
  const Time s = kTicksPerSecond;
  const AnimKey constant{0, 1.0f, Interpolation::Constant}, constantNext{0, 1.0f, Interpolation::Constant, true};
  const AnimKey linear{0, 0.0f}, flat{0, 0.0f, Interpolation::Cubic}, end{s, 1.0f};
  const AnimKey steep{0, 0.0f, Interpolation::Cubic, false, false, 3};
  const struct {
    const char* name;
    AnimCurve c;
    Time t;
    double expected;
  } cases[] = {
      {"no keys: default", curve({}), 5, -1},
      {"constant holds the left key", curve({constant, {s, 5.0f}}), s / 2, 1},
      {"constant-next holds the right key", curve({constantNext, {s, 5.0f}}), s / 2, 5},
      {"linear midpoint", curve({linear, {s, 10.0f}}), s / 4, 2.5},
      {"cubic, flat tangents, quarter", curve({flat, end}), s / 4, 0.15625},
      {"cubic, right slope 3", curve({steep, end}), s / 2, 0.875},
      {"before the first key", curve({linear, {s, 10.0f}}), -s, 0},
      {"after the last key", curve({linear, {s, 10.0f}}), 9 * s, 10},
      {"exactly on a key", curve({linear, {s, 10.0f}, {2 * s, 4.0f}}), s, 10},
  };
  for (const auto& c : cases) EXPECT_NEAR(c.c.evaluate(c.t), c.expected, 1e-6) << c.name;
  // Auto tangents take the slope between the neighbours, and are flat at a peak.
  const AnimKey a{0, 0.0f, Interpolation::Cubic, false, true};
  AnimKey b = a, c = a;
  b.time = s, b.value = 1;
  c.time = 2 * s, c.value = 4;
  EXPECT_FLOAT_EQ(curve({a, b, c}).keys[1].rightSlope, 2.0f);
  c.value = 0;
  EXPECT_FLOAT_EQ(curve({a, b, c}).keys[1].rightSlope, 0.0f);
}

// Three keys with two attribute runs: constant-next for the first key, then
// linear for the other two.
const char* const kRunLengthCurve = R"(; FBX 7.4.0 project file
Objects:  {
	AnimationCurve: 7, "AnimCurve::", "" {
		KeyTime: *3 { a: 0,46186158000,92372316000 }
		KeyValueFloat: *3 { a: 0,10,20 }
		KeyAttrFlags: *2 { a: 258,4 }
		KeyAttrDataFloat: *8 { a: 0,0,0,0,0,0,0,0 }
		KeyAttrRefCount: *2 { a: 1,2 }
	}
}
)";

TEST(CurveLoading, AttributeRunsCoverTheirKeysAndMustCoverAll) {
  const auto scene = test::loadBytes(test::toBytes(kRunLengthCurve));
  ASSERT_TRUE(scene);
  const AnimCurve& c = *scene->curves().at(0);
  EXPECT_NEAR(c.evaluate(kTicksPerSecond / 2), 10, 1e-6);      // constant-next
  EXPECT_NEAR(c.evaluate(3 * kTicksPerSecond / 2), 15, 1e-6);  // linear
  std::string text = kRunLengthCurve;
  text.replace(text.find("a: 1,2"), 6, "a: 1,1");
  const auto bytes = test::toBytes(text);
  SceneResult r = loadMemory(bytes.data(), bytes.size(), "curve.fbx");
  ASSERT_FALSE(r.ok());
  EXPECT_NE(r.error().find("cover 2 of 3 keys"), std::string::npos) << r.error();
}

}  // namespace
}  // namespace fbx
