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
  addEllipsoid(m, c + Vec3{0, 0.05, -0.02}, {0.22, 0.22, 0.26}, kSlices, kStacks, Surface::Bone, 2);  // cranium
  addEllipsoid(m, c + Vec3{0, -0.08, 0.1}, {0.18, 0.14, 0.17}, kSlices, kStacks, Surface::Bone, 2);   // face
  addEllipsoid(m, c + Vec3{0, -0.2, 0.1}, {0.14, 0.07, 0.13}, kSlices, kStacks / 2, Surface::Bone);   // jaw
  for (double side : {-1.0, 1.0}) {  // glowing eye sockets
    addEllipsoid(m, c + Vec3{0.08 * side, 0.0, 0.21}, {0.055, 0.045, 0.04}, 12, 8, Surface::Flame);
    addEllipsoid(m, c + Vec3{0.16 * side, -0.07, 0.12}, {0.05, 0.04, 0.06}, 12, 8, Surface::Bone);  // cheekbones
  }
  const double noseZ = 0.272;  // just in front of the face
  addFlatPolygon(m, {c + Vec3{-0.03, -0.05, noseZ}, c + Vec3{0.03, -0.05, noseZ}, c + Vec3{0, -0.11, noseZ}},
                 {0, 0, 1}, Surface::Gunmetal);
  for (int i = 0; i < 6; ++i) {  // upper teeth along the front of the face
    const double x = -0.0625 + 0.025 * i, z = c.z + 0.235 - 0.02 * std::fabs(x) / 0.0625;
    addBox(m, {x - 0.011, c.y - 0.19, z}, {x + 0.011, c.y - 0.14, z + 0.03}, Surface::Bone, 0.1);
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
  addBox(torso, {-0.22, 0.88, -0.12}, {0.22, 1.46, 0.12}, Surface::Cloth, Surface::Cloth, 0.5);
  addBox(torso, {-0.225, 0.9, -0.125}, {0.225, 0.98, 0.125}, Surface::Gunmetal, Surface::Gunmetal, 0.5);  // belt
  a.addMeshNode("PlayerTorso", torso);

  TriangleMesh leftArm;
  addBox(leftArm, {0.23, 0.86, -0.05}, {0.33, 1.44, 0.05}, Surface::Cloth, Surface::Cloth, 0.5);
  addEllipsoid(leftArm, {0.28, 0.81, 0}, {0.05, 0.06, 0.05}, 12, 8, Surface::Bone);
  a.addMeshNode("PlayerLeftArm", leftArm);

  TriangleMesh rightArm;  // stretched forward, aiming
  addBox(rightArm, {-0.32, 1.29, -0.05}, {-0.22, 1.43, 0.5}, Surface::Cloth, Surface::Cloth, 0.5);
  addEllipsoid(rightArm, kRightHand - Vec3{0, 0, 0.01}, {0.05, 0.05, 0.06}, 12, 8, Surface::Bone);
  a.addMeshNode("PlayerRightArm", rightArm);

  for (double side : {1.0, -1.0}) {
    TriangleMesh leg;
    const double x = 0.11 * side;
    addBox(leg, {x - 0.08, 0.1, -0.09}, {x + 0.08, 0.9, 0.09}, Surface::Cloth, Surface::Cloth, 0.5);
    addBox(leg, {x - 0.085, 0, -0.1}, {x + 0.085, 0.12, 0.15}, Surface::Gunmetal, Surface::Gunmetal, 0.5);  // boot
    a.addMeshNode(side > 0 ? "PlayerLeftLeg" : "PlayerRightLeg", leg);
  }
  a.addMarker("WeaponTriggerAttachpoint", kRightHand);
  return scene;
}

}  // namespace assetgen
