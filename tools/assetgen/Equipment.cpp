// The player's equipment and the ammunition: pistol, flashlight, muzzle
// flash and a 9 mm cartridge. All point along +Z; the pistol's origin is its
// trigger (it hangs at the player's hand), the flashlight's its back centre.
#include "ContentScenes.h"

namespace assetgen {
namespace {

constexpr double kSmallTile = 0.1;  // metres per texture repeat on small objects
constexpr int kRound = 16;          // segments of small round parts

const Vec3 kShotSource{0, 0.045, 0.17};
const Vec3 kFlashlightMount{0, -0.021, 0.06};  // the head (radius 0.02) clears the frame
constexpr double kFlashlightLength = 0.1;

// Maps +Y to +Z: round parts built along Y lie along the barrel.
fbx::Matrix4 alongZ(Vec3 start) { return fbx::Matrix4::translation(start) * fbx::Matrix4::rotation({90, 0, 0}); }

}  // namespace

std::unique_ptr<fbx::Scene> buildPistolScene() {
  auto scene = std::make_unique<fbx::Scene>();
  SceneAssembler a(*scene);
  TriangleMesh slide;
  addBox(slide, {-0.015, 0.025, -0.07}, {0.015, 0.065, 0.15}, Surface::Gunmetal, Surface::Gunmetal, kSmallTile);
  a.addMeshNode("PistolSlide", slide);

  TriangleMesh frame;
  addBox(frame, {-0.014, 0, -0.06}, {0.014, 0.025, 0.13}, Surface::Gunmetal, Surface::Gunmetal, kSmallTile);
  addBox(frame, {-0.006, -0.03, -0.01}, {0.006, -0.022, 0.043}, Surface::Gunmetal, Surface::Gunmetal, kSmallTile);
  addBox(frame, {-0.006, -0.03, 0.035}, {0.006, 0, 0.043}, Surface::Gunmetal, Surface::Gunmetal, kSmallTile);
  addBox(frame, {-0.003, -0.02, 0}, {0.003, 0, 0.008}, Surface::MetalPlates, Surface::MetalPlates, kSmallTile);
  a.addMeshNode("PistolFrame", frame);

  TriangleMesh grip, rakedGrip;  // wooden panels, raked backwards
  addBox(grip, {-0.016, -0.11, -0.025}, {0.016, 0.0, 0.02}, Surface::Wood, Surface::Gunmetal, kSmallTile);
  rakedGrip.append(grip, fbx::Matrix4::translation({0, 0, -0.04}) * fbx::Matrix4::rotation({12, 0, 0}));
  a.addMeshNode("PistolGrip", rakedGrip);

  TriangleMesh barrel, barrelAlongZ;
  addCylinder(barrel, {0, 0, 0}, 0.008, 0.02, kRound, Surface::Gunmetal, Surface::Gunmetal, kSmallTile);
  barrelAlongZ.append(barrel, alongZ(kShotSource - Vec3{0, 0, 0.02}));
  a.addMeshNode("PistolBarrel", barrelAlongZ);

  a.addMarker("ShotSource", kShotSource);
  a.addMarker("FlashlightMount", kFlashlightMount);
  return scene;
}

std::unique_ptr<fbx::Scene> buildFlashlightScene() {
  auto scene = std::make_unique<fbx::Scene>();
  SceneAssembler a(*scene);
  TriangleMesh body, head;
  addCylinder(body, {0, 0, 0}, 0.015, 0.075, kRound, Surface::Gunmetal, Surface::Gunmetal, kSmallTile);
  addFrustum(head, {0, 0.075, 0}, 0.015, 0.02, 0.02, kRound, Surface::Gunmetal, Surface::Gunmetal, kSmallTile);
  addCylinder(head, {0, 0.095, 0}, 0.019, kFlashlightLength - 0.095, kRound, Surface::Gunmetal, Surface::Flame,
              kSmallTile);  // glowing lens
  TriangleMesh bodyAlongZ, headAlongZ;
  bodyAlongZ.append(body, alongZ({0, 0, 0}));
  headAlongZ.append(head, alongZ({0, 0, 0}));
  a.addMeshNode("FlashlightBody", bodyAlongZ);
  a.addMeshNode("FlashlightHead", headAlongZ);
  a.addMarker("FlashlightBackCenter", {0, 0, 0});
  a.addMarker("FlashlightFrontCenter", {0, 0, kFlashlightLength});
  return scene;
}

std::unique_ptr<fbx::Scene> buildMuzzleFlashScene() {
  constexpr int kPetals = 3;
  constexpr double kLength = 0.35, kWidth = 0.08, kWidest = 0.12, kFront = 0.12;  // metres
  auto scene = std::make_unique<fbx::Scene>();
  TriangleMesh flash;
  // Diamond petals in planes through the Z axis, seen from both sides, and
  // one cross-shaped star facing forward; the flame sprite's hot centre
  // falls in the middle of each quad.
  auto quad = [&](Vec3 p0, Vec3 p1, Vec3 p2, Vec3 p3, Vec3 normal) {
    const Vec2 uv[4] = {{0.5, 0}, {1, 0.5}, {0.5, 1}, {0, 0.5}};
    const Vec3 p[4] = {p0, p1, p2, p3};
    for (double side : {1.0, -1.0}) {
      for (int t = 0; t < 2; ++t) {
        Triangle tri;
        const int order[2][3] = {{0, 1, 2}, {0, 2, 3}};
        for (int i = 0; i < 3; ++i) {
          const int k = side > 0 ? order[t][i] : order[t][2 - i];
          tri.corners[i] = {p[k], normal * side, uv[k]};
        }
        tri.surface = Surface::Flame;
        flash.triangles.push_back(tri);
      }
    }
  };
  for (int i = 0; i < kPetals; ++i) {
    const fbx::Matrix4 turn = fbx::Matrix4::rotation({0, 0, 180.0 * i / kPetals});
    const Vec3 side = turn.transformVector({kWidth, 0, 0}), normal = turn.transformVector({0, 1, 0});
    quad({0, 0, 0}, side + Vec3{0, 0, kWidest}, {0, 0, kLength}, side * -1.0 + Vec3{0, 0, kWidest}, normal * -1.0);
  }
  quad({-kFront, 0, 0.03}, {0, -kFront, 0.03}, {kFront, 0, 0.03}, {0, kFront, 0.03}, {0, 0, 1});
  SceneAssembler(*scene).addMeshNode("MuzzleFlash", flash);
  return scene;
}

std::unique_ptr<fbx::Scene> buildAmmoScene() {
  // A 9 × 19 mm cartridge: case 19 mm long, 9.6 mm wide, with its bullet.
  auto scene = std::make_unique<fbx::Scene>();
  SceneAssembler a(*scene);
  TriangleMesh cartridge, cartridgeAlongZ;
  addCylinder(cartridge, {0, 0, 0}, 0.0049, 0.0012, kRound, Surface::MetalPlates, Surface::MetalPlates, 0.01);  // rim
  addCylinder(cartridge, {0, 0.0012, 0}, 0.0048, 0.0178, kRound, Surface::Gunmetal, Surface::Gunmetal, 0.01);
  addFrustum(cartridge, {0, 0.019, 0}, 0.0045, 0.003, 0.007, kRound, Surface::MetalPlates, Surface::MetalPlates, 0.01);
  addEllipsoid(cartridge, {0, 0.026, 0}, {0.003, 0.003, 0.003}, kRound, 8, Surface::MetalPlates);
  cartridgeAlongZ.append(cartridge, alongZ({0, 0, 0}));
  a.addMeshNode("Ammo9mmCartridge", cartridgeAlongZ);
  return scene;
}

}  // namespace assetgen
