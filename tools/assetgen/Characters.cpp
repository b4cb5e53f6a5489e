// The skull enemy and the player's body. Both face +Z (the game turns them
// by their heading from +Z) and stand on y = 0.
#include <cmath>

#include "ContentScenes.h"

namespace assetgen {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSlices = 24, kStacks = 16;

// The skull floats with its centre at head height.
const Vec3 kSkullCentre{0, 1.5, 0};
constexpr double kSampleStep = 0.05;  // seconds between animation keys

// Right hand of the player, holding the weapon's trigger (the person's right
// is -X when facing +Z).
const Vec3 kRightHand{-0.27, 1.34, 0.56};

TriangleMesh skullMesh() {
  const Vec3 c = kSkullCentre;
  TriangleMesh m;
  addEllipsoid(m, c + Vec3{0, 0.05, -0.02}, {0.22, 0.22, 0.26}, kSlices, kStacks, Surface::Bone, 4);  // cranium
  addEllipsoid(m, c + Vec3{0, -0.1, 0.08}, {0.15, 0.11, 0.15}, kSlices, kStacks, Surface::Bone, 3);  // upper jaw
  addEllipsoid(m, c + Vec3{0, -0.22, 0.07}, {0.12, 0.06, 0.12}, kSlices, kStacks / 2, Surface::Bone, 2);  // lower jaw
  for (double side : {-1.0, 1.0}) {
    // Dark eye sockets with a glowing ember in each.
    addEllipsoid(m, c + Vec3{0.085 * side, 0.0, 0.205}, {0.06, 0.05, 0.02}, 16, 8, Surface::Gunmetal);
    addEllipsoid(m, c + Vec3{0.085 * side, 0.0, 0.215}, {0.026, 0.022, 0.015}, 12, 8, Surface::Flame);
    addEllipsoid(m, c + Vec3{0.13 * side, -0.07, 0.12}, {0.045, 0.03, 0.06}, 12, 8, Surface::Bone);  // cheekbones
  }
  const double noseZ = 0.228;  // just in front of the upper jaw
  addFlatPolygon(m, {c + Vec3{-0.028, -0.045, noseZ}, c + Vec3{0.028, -0.045, noseZ}, c + Vec3{0, -0.105, noseZ}},
                 {0, 0, 1}, Surface::Gunmetal);
  constexpr int kTeeth = 7;
  for (int i = 0; i < kTeeth; ++i) {  // upper and lower teeth along the front of the jaws
    const double x = 0.026 * (i - (kTeeth - 1) / 2.0), z = c.z + 0.175 - 0.25 * x * x / 0.08;
    addBox(m, {x - 0.01, c.y - 0.18, z}, {x + 0.01, c.y - 0.145, z + 0.03}, Surface::Bone, 0.1);
    addBox(m, {x - 0.01, c.y - 0.215, z - 0.005}, {x + 0.01, c.y - 0.183, z + 0.025}, Surface::Bone, 0.1);
  }
  return m;
}

// Samples f over [0, seconds] into keys.
template <typename F>
std::vector<VectorKey> sample(double seconds, F f) {
  std::vector<VectorKey> keys;
  const int steps = static_cast<int>(std::lround(seconds / kSampleStep));
  for (int i = 0; i <= steps; ++i) {
    const double t = i * kSampleStep;
    keys.push_back({t, f(t)});
  }
  return keys;
}

// Layer 0 hovers while waiting, layer 1 lunges to bite, layer 2 leans
// forward and bobs while chasing. Each layer keys both Lcl properties so
// that each has its own animation interval.
void animateSkull(SceneAssembler& assembler, fbx::Node* skull) {
  fbx::Scene& scene = assembler.scene();
  skull->transform.rotationPivot = kSkullCentre;
  skull->transform.scalingPivot = kSkullCentre;
  fbx::AnimStack* stack = scene.addAnimStack("SkullMotion");
  constexpr double kHover = 2.0, kLunge = 0.8, kChase = 1.0;  // seconds per clip
  fbx::AnimLayer* hover = scene.addAnimLayer(stack, "Hover");
  assembler.animate(hover, skull, "Lcl Translation",
                    sample(kHover, [](double t) { return Vec3{0, 0.08 * std::sin(kPi * t), 0}; }));
  assembler.animate(hover, skull, "Lcl Rotation",
                    sample(kHover, [](double t) { return Vec3{3 * std::sin(2 * kPi * t), 8 * std::sin(kPi * t), 0}; }));
  fbx::AnimLayer* lunge = scene.addAnimLayer(stack, "Lunge");
  auto thrust = [](double t) { return std::sin(kPi * t / kLunge); };
  assembler.animate(lunge, skull, "Lcl Translation",
                    sample(kLunge, [&](double t) { return Vec3{0, -0.12 * thrust(t), 0.7 * thrust(t)}; }));
  assembler.animate(lunge, skull, "Lcl Rotation", sample(kLunge, [&](double t) { return Vec3{25 * thrust(t), 0, 0}; }));
  fbx::AnimLayer* chase = scene.addAnimLayer(stack, "ChaseBob");
  assembler.animate(chase, skull, "Lcl Translation",
                    sample(kChase, [](double t) { return Vec3{0, 0.06 * std::sin(4 * kPi * t), 0}; }));
  assembler.animate(chase, skull, "Lcl Rotation", sample(kChase, [](double t) {
                      return Vec3{15 + 4 * std::sin(4 * kPi * t), 0, 5 * std::sin(2 * kPi * t)};
                    }));
  stack->localStop = stack->referenceStop = fbx::fromSeconds(kHover);
  scene.globalSettings.timeSpanStop = stack->localStop;
}

}  // namespace

std::unique_ptr<fbx::Scene> buildSkullScene() {
  auto scene = std::make_unique<fbx::Scene>();
  SceneAssembler assembler(*scene);
  animateSkull(assembler, assembler.addMeshNode("Skull", skullMesh()));
  return scene;
}

std::unique_ptr<fbx::Scene> buildPlayerDummyScene() {
  auto scene = std::make_unique<fbx::Scene>();
  SceneAssembler a(*scene);
  TriangleMesh head;
  addEllipsoid(head, {0, 1.66, 0.01}, {0.11, 0.13, 0.12}, kSlices, kStacks, Surface::Bone);
  addCylinder(head, {0, 1.44, 0}, 0.06, 0.12, 12, Surface::Bone, Surface::Bone);
  a.addMeshNode("PlayerHead", head);

  TriangleMesh torso;
  addBox(torso, {-0.21, 0.88, -0.12}, {0.21, 1.44, 0.12}, Surface::Cloth, Surface::Cloth, 0.5);
  addBox(torso, {-0.225, 0.9, -0.125}, {0.225, 0.98, 0.125}, Surface::Gunmetal, Surface::Gunmetal, 0.5);  // belt
  a.addMeshNode("PlayerTorso", torso);

  constexpr int kLimbSegments = 12;
  constexpr double kArmRadius = 0.05;
  TriangleMesh leftArm;  // hanging down
  addEllipsoid(leftArm, {0.27, 1.39, 0}, {0.08, 0.07, 0.08}, 12, 8, Surface::Cloth);
  addCylinder(leftArm, {0.28, 0.86, 0}, kArmRadius, 0.52, kLimbSegments, Surface::Cloth, Surface::Cloth, 0.5);
  addEllipsoid(leftArm, {0.28, 0.81, 0}, {0.05, 0.06, 0.05}, 12, 8, Surface::Bone);
  a.addMeshNode("PlayerLeftArm", leftArm);

  TriangleMesh rightArm, forward;  // stretched forward, aiming
  addCylinder(forward, {0, 0, 0}, kArmRadius, 0.5, kLimbSegments, Surface::Cloth, Surface::Cloth, 0.5);
  addEllipsoid(rightArm, {-0.27, 1.39, 0}, {0.08, 0.07, 0.08}, 12, 8, Surface::Cloth);
  rightArm.append(forward, fbx::Matrix4::translation({-0.27, 1.36, 0}) * fbx::Matrix4::rotation({90, 0, 0}));
  addEllipsoid(rightArm, kRightHand - Vec3{0, 0, 0.01}, {0.05, 0.05, 0.06}, 12, 8, Surface::Bone);
  a.addMeshNode("PlayerRightArm", rightArm);

  for (double side : {1.0, -1.0}) {
    TriangleMesh leg;
    const double x = 0.11 * side;
    addFrustum(leg, {x, 0.1, 0}, 0.075, 0.095, 0.8, kLimbSegments, Surface::Cloth, Surface::Cloth, 0.5);
    addBox(leg, {x - 0.075, 0, -0.1}, {x + 0.075, 0.12, 0.15}, Surface::Gunmetal, Surface::Gunmetal, 0.5);  // boot
    a.addMeshNode(side > 0 ? "PlayerLeftLeg" : "PlayerRightLeg", leg);
  }
  a.addMarker("WeaponTriggerAttachpoint", kRightHand);
  return scene;
}

}  // namespace assetgen
